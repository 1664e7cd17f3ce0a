#include "tools/png_sink.h"

namespace vitalchart {
namespace cli {

CPngSink::CPngSink(const PageSettings& settings, COutputFiles& rOutputs) : m_settings(settings), m_rOutputs(rOutputs) {}

bool CPngSink::BeginPage(int nPage, std::string& rError) {
    m_strTarget = PageFileName(m_settings.strOutput, nPage, m_settings.nPages);
    m_strTemp = m_rOutputs.Reserve(m_strTarget, rError);
    if (m_strTemp.empty()) return false;
    m_pDC = CCairoDC::CreatePng(m_settings.nWidth, m_settings.nHeight, m_settings.nCodePage, m_settings.bPrinting);
    return true;
}

bool CPngSink::EndPage(std::string& rError) {
    std::unique_ptr<CCairoDC> pDC = std::move(m_pDC);
    if (pDC->WritePng(m_strTemp) && pDC->Finish()) return true;
    rError = m_strTarget + ": " + pDC->GetError();
    return false;
}

}  // namespace cli
}  // namespace vitalchart
