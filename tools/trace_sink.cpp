#include "tools/trace_sink.h"

#include <iostream>

namespace vitalchart {
namespace cli {

CTraceSink::CTraceSink(const PageSettings& settings, COutputFiles& rOutputs, std::string& rStandardOutput)
    : m_settings(settings), m_rOutputs(rOutputs), m_rStandardOutput(rStandardOutput) {}

bool CTraceSink::BeginPage(int nPage, std::string& rError) {
    if (!m_settings.ToStandardOutput()) {
        // Reserved here, where the render reserves files one at a time.
        m_strTemp = m_rOutputs.Reserve(PageFileName(m_settings.strOutput, nPage, m_settings.nPages), rError);
        if (m_strTemp.empty()) return false;
    }
    m_pDC = std::make_unique<CRecordingDC>(m_settings.nCodePage, m_settings.bPrinting);
    return true;
}

bool CTraceSink::EndPage(std::string& rError) {
    std::unique_ptr<CRecordingDC> pDC = std::move(m_pDC);
    if (m_settings.ToStandardOutput()) {
        m_rStandardOutput += pDC->GetTrace();
        return true;
    }
    return WriteBytes(m_strTemp, pDC->GetTrace(), rError);
}

CTraceOutput::CTraceOutput(const PageSettings& settings, COutputFiles& rOutputs)
    : m_settings(settings), m_rOutputs(rOutputs) {
    m_runs = CutIntoRuns(settings.nPages, settings.nPages);
    m_pageTexts.resize(m_runs.size());
}

std::unique_ptr<CPageSink> CTraceOutput::MakeSink(std::size_t nRun, std::string&) {
    return std::make_unique<CTraceSink>(m_settings, m_rOutputs, m_pageTexts[nRun]);
}

bool CTraceOutput::Finish(std::string& rError) {
    if (!m_settings.ToStandardOutput()) return true;
    for (const std::string& strText : m_pageTexts) std::cout << strText;
    std::cout << std::flush;
    if (std::cout) return true;
    rError = "cannot write to standard output";
    return false;
}

}  // namespace cli
}  // namespace vitalchart
