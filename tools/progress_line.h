#pragma once

#include <chrono>
#include <mutex>

namespace vitalchart {
namespace cli {

// A progress line on standard error ("vitalchart: page 3 of 40"), only on a
// terminal, only for several pages, and only once the work has taken more
// than a moment. It counts the pages done, whichever thread drew them and in
// whatever order they end. It is ended by End or when this goes away.
class CProgressLine {
public:
    explicit CProgressLine(int nPages);
    ~CProgressLine();
    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

    // One more page is done; any thread may call this.
    void PageDone();
    // Ends the line, so that a message that follows starts a line of its own.
    void End();

private:
    std::mutex m_mutex;
    const int m_nPages;
    const std::chrono::steady_clock::time_point m_start;
    int m_nDone = 0;
    bool m_bEnabled = false;
    bool m_bShown = false;
};

}  // namespace cli
}  // namespace vitalchart
