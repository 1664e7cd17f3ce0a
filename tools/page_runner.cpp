#include "tools/page_runner.h"

#include <sched.h>

#include <climits>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "tools/kept_threads.h"

namespace vitalchart {
namespace cli {

namespace {

// What the drawing threads share; m_mutex guards everything but the sinks,
// each of which one thread at a time uses once its run is taken.
class CPageDrawing {
public:
    CPageDrawing(const std::vector<PageRun>& runs, std::vector<std::unique_ptr<CPageSink>>& sinks,
                 const PageDrawer& fnDraw, CProgressLine& progress)
        : m_runs(runs), m_sinks(sinks), m_fnDraw(fnDraw), m_progress(progress), m_untaken(runs.size()) {
        for (std::size_t i = 0; i < runs.size(); ++i) m_untaken[i] = {runs[i].nFirst, runs[i].nLast};
    }

    // One thread's work: the next run until none is left.
    void Work() {
        try {
            std::unique_lock<std::mutex> lock(m_mutex);
            while (m_nNext < m_runs.size()) DrawRun(m_nNext++, lock);
        } catch (...) {
            Stop(std::current_exception());
        }
    }

    // What a thread threw, thrown again by Result; every thread stops at its
    // next page.
    void Stop(std::exception_ptr pException) {
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (!m_pException) m_pException = pException;
        m_nFailedRank = 0;
    }

    // After every thread has stopped.
    bool Result(std::string& rError) const {
        if (m_pException) std::rethrow_exception(m_pException);
        if (m_nFailedRank == kNoFailure) return true;
        rError = m_strFailure;
        return false;
    }

private:
    static constexpr long long kNoFailure = LLONG_MAX;

    // Draws run nRun; lock is held on entry and on return.
    void DrawRun(std::size_t nRun, std::unique_lock<std::mutex>& lock) {
        const PageRun& run = m_runs[nRun];
        std::unique_ptr<CPageSink> pSink = std::move(m_sinks[nRun]);
        std::string strError;
        for (int nPage = NextPage(run, nRun, 0); nPage != 0; nPage = NextPage(run, nRun, nPage)) {
            // The render fails with an earlier page's message: the rest is not needed.
            if (nPage > m_nFailedRank) return;
            if (!pSink->BeginPage(nPage, strError)) return Fail(nPage, strError);
            lock.unlock();
            if (!m_fnDraw(nPage, pSink->GetSurface())) {
                lock.lock();
                return Fail(nPage, "out of memory drawing page " + std::to_string(nPage));
            }
            if (!pSink->EndPage(strError)) {
                lock.lock();
                return Fail(nPage, strError);
            }
            m_progress.PageDone();
            lock.lock();
        }
        lock.unlock();
        // Finishing a file (a PDF's fonts, say) is work worth doing apart, and
        // the surfaces go where they were made.
        const bool bFinished = pSink->Finish(strError);
        pSink.reset();
        lock.lock();
        // Drawing in turn, every page comes before any run's finish.
        if (!bFinished) Fail(static_cast<long long>(m_runs.back().nLast) + 1 + static_cast<long long>(nRun), strError);
    }

    // The run's page after nDrawn (0: before its first), or 0 when it has none
    // left; m_mutex held. A shared pair takes its pages from the range
    // untaken, kept under the pair's first run.
    int NextPage(const PageRun& run, std::size_t nRun, int nDrawn) {
        if (!run.bShared) {
            const int nNext = nDrawn == 0 ? run.nFirst : nDrawn + 1;
            return nNext <= run.nLast ? nNext : 0;
        }
        PageRange& rUntaken = m_untaken[run.bBackward ? nRun - 1 : nRun];
        if (rUntaken.nFirst > rUntaken.nLast) return 0;
        return run.bBackward ? rUntaken.nLast-- : rUntaken.nFirst++;
    }

    // A failure ranked by when drawing in turn would have met it; m_mutex held.
    void Fail(long long nRank, const std::string& strError) {
        if (nRank >= m_nFailedRank) return;
        m_nFailedRank = nRank;
        m_strFailure = strError;
    }

    const std::vector<PageRun>& m_runs;
    std::vector<std::unique_ptr<CPageSink>>& m_sinks;
    const PageDrawer& m_fnDraw;
    CProgressLine& m_progress;

    struct PageRange {
        int nFirst;
        int nLast;
    };

    std::mutex m_mutex;
    std::vector<PageRange> m_untaken;  // of each shared pair, under its first run
    std::size_t m_nNext = 0;
    long long m_nFailedRank = kNoFailure;
    std::string m_strFailure;
    std::exception_ptr m_pException;
};

// Tasks started on kept threads, waited for together.
class CTaskLatch {
public:
    CTaskLatch() = default;
    CTaskLatch(const CTaskLatch&) = delete;
    CTaskLatch& operator=(const CTaskLatch&) = delete;
    // Whatever leaves early waits for what was started, which uses its frame.
    ~CTaskLatch() { Wait(); }

    bool Start(CKeptThreads& kept, std::function<void()> fnTask) {
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            ++m_nRunning;
        }
        bool bStarted = false;
        try {
            bStarted = kept.Start([this, fnTask = std::move(fnTask)] {
                fnTask();
                Done();
            });
        } catch (...) {
            Done();
            throw;
        }
        if (!bStarted) Done();
        return bStarted;
    }

    void Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return m_nRunning == 0; });
    }

private:
    void Done() {
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (--m_nRunning == 0) m_done.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_done;
    std::size_t m_nRunning = 0;
};

}  // namespace

int AvailableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
    const unsigned nCores = std::thread::hardware_concurrency();
    return nCores > 0 ? static_cast<int>(nCores) : 1;
}

bool DrawPages(CPageOutput& output, int nJobs, const PageDrawer& fnDraw, CProgressLine& progress, std::string& rError,
               const std::function<void()>& fnBeside) {
    const std::vector<PageRun>& runs = output.GetRuns();
    std::vector<std::unique_ptr<CPageSink>> sinks;
    sinks.reserve(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        sinks.push_back(output.MakeSink(i, rError));
        if (!sinks.back()) return false;
    }

    CPageDrawing drawing(runs, sinks, fnDraw, progress);
    const std::size_t nThreads = std::min(runs.size(), static_cast<std::size_t>(std::max(1, nJobs)));
    // The helpers are kept threads: their fonts are ready from the last render.
    CTaskLatch latch;
    CKeptThreads& kept = CKeptThreads::Shared();
    for (std::size_t i = 1; i < nThreads; ++i) {
        // No thread to be had: the threads there are draw every page.
        if (!latch.Start(kept, [&drawing] { drawing.Work(); })) break;
    }
    const auto runBeside = [&fnBeside, &drawing] {
        try {
            fnBeside();
        } catch (...) {
            // The threads drawing are waited for before it goes on up.
            drawing.Stop(std::current_exception());
        }
    };
    // With one thread drawing and a core to spare, the work beside goes on a
    // thread of its own instead of before the drawing; with no thread to be
    // had, it runs here, first.
    const auto drawHere = [&drawing] { drawing.Work(); };
    if (fnBeside && nThreads == 1) {
        RunBeside(nJobs, runBeside, drawHere);
    } else {
        if (fnBeside) runBeside();
        drawHere();
    }
    latch.Wait();
    return drawing.Result(rError);
}

void RunBeside(int nJobs, const std::function<void()>& fnBeside, const std::function<void()>& fnHere) {
    std::exception_ptr pException;
    const auto runBeside = [&fnBeside, &pException] {
        try {
            fnBeside();
        } catch (...) {
            pException = std::current_exception();
        }
    };
    {
        CTaskLatch latch;
        if (nJobs < 2 || !latch.Start(CKeptThreads::Shared(), runBeside)) runBeside();
        fnHere();
    }
    if (pException) std::rethrow_exception(pException);
}

}  // namespace cli
}  // namespace vitalchart
