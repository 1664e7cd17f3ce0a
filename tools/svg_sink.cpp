#include "tools/svg_sink.h"

namespace vitalchart {
namespace cli {

CSvgSink::CSvgSink(const PageSettings& settings, COutputFiles& rOutputs) : m_settings(settings), m_rOutputs(rOutputs) {}

bool CSvgSink::BeginPage(int nPage, std::string& rError) {
    m_strTarget = PageFileName(m_settings.strOutput, nPage, m_settings.nPages);
    const std::string strTemp = m_rOutputs.Reserve(m_strTarget, rError);
    if (strTemp.empty()) return false;
    m_pDC = CCairoDC::CreateSvg(strTemp, m_settings.nWidth, m_settings.nHeight, m_settings.nDpi, m_settings.nCodePage,
                                m_settings.bPrinting);
    return true;
}

bool CSvgSink::EndPage(std::string& rError) {
    std::unique_ptr<CCairoDC> pDC = std::move(m_pDC);
    if (pDC->Finish()) return true;
    rError = m_strTarget + ": " + pDC->GetError();
    return false;
}

}  // namespace cli
}  // namespace vitalchart
