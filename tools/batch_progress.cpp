#include "tools/batch_progress.h"

#include <unistd.h>

#include <iostream>

namespace vitalchart {
namespace cli {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

CBatchProgress::CBatchProgress(int nCharts) : m_nCharts(nCharts) {
    m_bTerminal = nCharts > 0 && ::isatty(STDERR_FILENO);
}

CBatchProgress::~CBatchProgress() {
    End();
}

void CBatchProgress::ChartDone(bool bFailed, const std::vector<std::string>& arrMessages) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nDone;
    if (bFailed) ++m_nFailed;
    // The bar's line is cleared before a message takes it.
    if (m_bShown && !arrMessages.empty()) std::cerr << "\r\033[K";
    for (const std::string& strMessage : arrMessages) std::cerr << "vitalchart: " << strMessage << "\n";
    if (m_bTerminal) DrawBar();
    std::cerr << std::flush;
}

void CBatchProgress::End() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bShown) std::cerr << "\r\033[K" << std::flush;
    m_bShown = false;
    m_bTerminal = false;
}

void CBatchProgress::DrawBar() {
    const int nFilled = m_nCharts > 0 ? m_nDone * kBarWidth / m_nCharts : 0;
    std::cerr << "\rvitalchart: [" << std::string(static_cast<std::size_t>(nFilled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - nFilled), ' ') << "] " << m_nDone << " of "
              << m_nCharts << " charts";
    if (m_nFailed > 0) std::cerr << ", " << m_nFailed << " failed";
    std::cerr << "\033[K";
    m_bShown = true;
}

}  // namespace cli
}  // namespace vitalchart
