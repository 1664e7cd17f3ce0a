#include "tools/serve/worker_pool.h"

#include <algorithm>

namespace vitalchart {
namespace cli {

CWorkerPool::CWorkerPool(int nWorkers, int nQueue)
    : m_nQueue(static_cast<std::size_t>(std::max(0, nQueue))), m_nWorkers(std::max(1, nWorkers)) {
    for (int i = 0; i < m_nWorkers; ++i) m_threads.emplace_back([this] { Work(); });
}

CWorkerPool::~CWorkerPool() {
    Stop();
}

bool CWorkerPool::TrySubmit(std::function<void()> task, std::function<void()> fnDone) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bStopping || !HasRoom()) return false;
        m_tasks.push_back({std::move(task), std::move(fnDone)});
    }
    m_wake.notify_one();
    return true;
}

bool CWorkerPool::Submit(std::function<void()> task) {
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_room.wait(lock, [this] { return m_bStopping || HasRoom(); });
        if (m_bStopping) return false;
        m_tasks.push_back({std::move(task), {}});
    }
    m_wake.notify_one();
    return true;
}

void CWorkerPool::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_wake.notify_all();
    m_room.notify_all();
    for (std::thread& thread : m_threads) {
        if (thread.joinable()) thread.join();
    }
}

void CWorkerPool::Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bStopping || !m_tasks.empty(); });
        if (m_tasks.empty()) return;  // stopping, and nothing left to run
        Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        ++m_nBusy;
        lock.unlock();
        task.fnRun();
        // The task's captures go before the worker counts as free again.
        task.fnRun = nullptr;
        lock.lock();
        --m_nBusy;
        m_room.notify_one();
        if (task.fnDone) {
            lock.unlock();
            task.fnDone();
            lock.lock();
        }
    }
}

}  // namespace cli
}  // namespace vitalchart
