#include "tools/progress_line.h"

#include <unistd.h>

#include <iostream>

namespace vitalchart {
namespace cli {

CProgressLine::CProgressLine(int nPages) : m_nPages(nPages), m_start(std::chrono::steady_clock::now()) {
    m_bEnabled = nPages > 1 && ::isatty(STDERR_FILENO);
}

CProgressLine::~CProgressLine() {
    End();
}

void CProgressLine::PageDone() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nDone;
    if (!m_bEnabled) return;
    auto elapsed = std::chrono::steady_clock::now() - m_start;
    if (!m_bShown && elapsed < std::chrono::milliseconds(500)) return;
    m_bShown = true;
    std::cerr << "\rvitalchart: page " << m_nDone << " of " << m_nPages << std::flush;
}

void CProgressLine::End() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bShown) std::cerr << "\n";
    m_bShown = false;
    m_bEnabled = false;
}

}  // namespace cli
}  // namespace vitalchart
