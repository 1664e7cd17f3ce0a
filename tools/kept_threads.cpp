#include "tools/kept_threads.h"

#include <system_error>
#include <utility>

#include "tools/process_memory.h"

namespace vitalchart {
namespace cli {

CKeptThreads& CKeptThreads::Shared() {
    static CKeptThreads s_threads;
    return s_threads;
}

CKeptThreads::~CKeptThreads() {
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_bClosing = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) thread.join();
}

bool CKeptThreads::Start(std::function<void()> fnTask) {
    std::unique_lock<std::mutex> lock(m_mutex);
    // Every task queued has an idle thread of its own coming for it.
    if (m_nIdle <= m_tasks.size()) {
        try {
            m_threads.emplace_back([this] { Serve(); });
        } catch (const std::system_error&) {
            return false;
        }
    }
    m_tasks.push_back(std::move(fnTask));
    lock.unlock();
    m_wake.notify_one();
    return true;
}

std::size_t CKeptThreads::Count() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_threads.size();
}

std::size_t CKeptThreads::Idle() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_nIdle;
}

void CKeptThreads::Serve() {
    GrowThreadHeap();
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        ++m_nIdle;
        m_wake.wait(lock, [this] { return m_bClosing || !m_tasks.empty(); });
        --m_nIdle;
        // Closing, the tasks already queued are still run.
        if (m_tasks.empty()) return;
        std::function<void()> fnTask = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        fnTask();
        fnTask = nullptr;
        lock.lock();
    }
}

}  // namespace cli
}  // namespace vitalchart
