#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vitalchart {
namespace cli {

// Threads the command keeps for drawing pages from one render to the next.
// A thread's font map and heap are made by its first chart and serve every
// chart it draws after, so a render's helper thread does not spend its first
// page matching and loading fonts again, as a new thread would. A thread
// waits, idle, between tasks; the threads end when the process exits (their
// font maps are released as each one ends), each after its current task.
// Unlike the service's CWorkerPool, which has a fixed number of workers and
// makes tasks wait their turn, a task here never waits behind a busy thread:
// a render's helpers and its check run beside the calling thread, which may
// itself be waiting for them.
class CKeptThreads {
public:
    // The process's kept threads.
    static CKeptThreads& Shared();

    CKeptThreads() = default;
    ~CKeptThreads();
    CKeptThreads(const CKeptThreads&) = delete;
    CKeptThreads& operator=(const CKeptThreads&) = delete;

    // Runs fnTask, which must not throw, on an idle kept thread, or on a new
    // one when none is idle. False when no thread could be had (fnTask is
    // then not run).
    bool Start(std::function<void()> fnTask);

    // Threads made so far, and those of them waiting for a task.
    std::size_t Count();
    std::size_t Idle();

private:
    void Serve();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    std::vector<std::thread> m_threads;
    std::size_t m_nIdle = 0;
    bool m_bClosing = false;
};

}  // namespace cli
}  // namespace vitalchart
