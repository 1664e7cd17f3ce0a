#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// What a batch says while it runs, from any of its threads: each chart's
// messages, together, and on a terminal a progress bar under them
// ("vitalchart: [#######       ] 57 of 200 charts, 1 failed").
class CBatchProgress {
public:
    explicit CBatchProgress(int nCharts);
    ~CBatchProgress();
    CBatchProgress(const CBatchProgress&) = delete;
    CBatchProgress& operator=(const CBatchProgress&) = delete;

    // A chart is done: its messages go to standard error, each a line,
    // above the bar, and the bar moves on.
    void ChartDone(bool bFailed, const std::vector<std::string>& arrMessages);
    // Takes the bar away, so that what follows starts a line of its own.
    void End();

private:
    void DrawBar();

    std::mutex m_mutex;
    const int m_nCharts;
    int m_nDone = 0;
    int m_nFailed = 0;
    bool m_bTerminal = false;
    bool m_bShown = false;
};

}  // namespace cli
}  // namespace vitalchart
