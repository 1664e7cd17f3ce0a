#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vitalchart {
namespace cli {

// Threads that run tasks, with room for a task while a worker is free or
// fewer than nQueue tasks wait. The service renders on one pool, whose
// workers keep their Cairo fonts and laid-out labels from one chart to the
// next (the Cairo surface keeps them per thread), and answers connections on
// another.
class CWorkerPool {
public:
    CWorkerPool(int nWorkers, int nQueue);
    // Stop.
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    // Queues the task when there is room; false, and the task is not run,
    // when every worker is busy and nQueue tasks wait already, or after Stop.
    // fnDone, if any, runs on the worker after the task, once the worker
    // counts as free again: whoever it tells that the task is over finds
    // room for the next one.
    bool TrySubmit(std::function<void()> task, std::function<void()> fnDone = {});
    // Queues the task, waiting for room; false after Stop.
    bool Submit(std::function<void()> task);

    // Takes no more tasks, runs those still waiting and ends the workers;
    // returns once they have ended. What a task uses must outlive this.
    void Stop();

    int GetWorkers() const { return m_nWorkers; }

private:
    // A worker that is not running a task takes the next one; beyond those,
    // nQueue tasks may wait.
    bool HasRoom() const { return m_tasks.size() + m_nBusy < static_cast<std::size_t>(m_nWorkers) + m_nQueue; }
    void Work();

    const std::size_t m_nQueue;
    const int m_nWorkers;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_room;
    struct Task {
        std::function<void()> fnRun;
        std::function<void()> fnDone;
    };
    std::deque<Task> m_tasks;
    std::size_t m_nBusy = 0;  // workers running a task
    bool m_bStopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace cli
}  // namespace vitalchart
