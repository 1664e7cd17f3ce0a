#pragma once

#include <chrono>

namespace vitalchart {
namespace cli {

// A progress line on standard error ("vitalchart: page 3 of 40"), only on a
// terminal, only for several pages, and only once the work has taken more
// than a moment. It is ended by End or when this goes away.
class CProgressLine {
public:
    explicit CProgressLine(int nPages);
    ~CProgressLine();
    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

    // Page nDone (from 1) is done.
    void Page(int nDone);
    // Ends the line, so that a message that follows starts a line of its own.
    void End();

private:
    int m_nPages;
    std::chrono::steady_clock::time_point m_start;
    bool m_bEnabled = false;
    bool m_bShown = false;
};

}  // namespace cli
}  // namespace vitalchart
