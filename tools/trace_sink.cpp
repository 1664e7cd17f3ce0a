#include "tools/trace_sink.h"

#include <iostream>

namespace vitalchart {
namespace cli {

CTraceSink::CTraceSink(const PageSettings& settings, COutputFiles& rOutputs)
    : m_settings(settings), m_rOutputs(rOutputs) {}

bool CTraceSink::BeginPage(int nPage, std::string&) {
    m_nPage = nPage;
    m_pDC = std::make_unique<CRecordingDC>(m_settings.nCodePage, m_settings.bPrinting);
    return true;
}

bool CTraceSink::EndPage(std::string& rError) {
    std::unique_ptr<CRecordingDC> pDC = std::move(m_pDC);
    if (m_settings.ToStandardOutput()) {
        m_strAll += pDC->GetTrace();
        return true;
    }
    const std::string strTarget = PageFileName(m_settings.strOutput, m_nPage, m_settings.nPages);
    const std::string strTemp = m_rOutputs.Reserve(strTarget, rError);
    return !strTemp.empty() && WriteBytes(strTemp, pDC->GetTrace(), rError);
}

bool CTraceSink::Finish(std::string& rError) {
    if (!m_settings.ToStandardOutput()) return true;
    std::cout << m_strAll << std::flush;
    if (std::cout) return true;
    rError = "cannot write to standard output";
    return false;
}

}  // namespace cli
}  // namespace vitalchart
