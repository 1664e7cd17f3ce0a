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

void CProgressLine::Page(int nDone) {
    if (!m_bEnabled) return;
    auto elapsed = std::chrono::steady_clock::now() - m_start;
    if (!m_bShown && elapsed < std::chrono::milliseconds(500)) return;
    m_bShown = true;
    std::cerr << "\rvitalchart: page " << nDone << " of " << m_nPages << std::flush;
}

void CProgressLine::End() {
    if (m_bShown) std::cerr << "\n";
    m_bShown = false;
    m_bEnabled = false;
}

}  // namespace cli
}  // namespace vitalchart
