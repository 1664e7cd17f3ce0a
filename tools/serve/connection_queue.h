#pragma once

#include <httplib.h>

#include <functional>

#include "tools/serve/worker_pool.h"

namespace vitalchart {
namespace cli {

// The threads that read requests and write answers, for the HTTP library.
// Connections accepted while every thread is busy wait, at most nQueue of
// them; then accepting waits too, so that a flood of connections stays in
// the system's listen queue instead of growing the server.
class CConnectionQueue : public httplib::TaskQueue {
public:
    CConnectionQueue(int nThreads, int nQueue) : m_pool(nThreads, nQueue) {}

    void enqueue(std::function<void()> fn) override { m_pool.Submit(std::move(fn)); }
    // Answers the connections still waiting, then ends the threads.
    void shutdown() override { m_pool.Stop(); }

private:
    CWorkerPool m_pool;
};

}  // namespace cli
}  // namespace vitalchart
