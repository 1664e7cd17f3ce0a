#include "tools/kept_threads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vitalchart {
namespace cli {
namespace {

// Blocks until Signal, or for at most a few seconds, so that a task that is
// never run fails the test instead of hanging it.
class CEvent {
public:
    void Signal() {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_bSet = true;
        m_cv.notify_all();
    }
    bool Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::seconds(10), [this] { return m_bSet; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bSet = false;
};

// The thread that drew one render draws the next: its fonts are loaded.
TEST(KeptThreadsTest, AnIdleThreadTakesTheNextTask) {
    CKeptThreads kept;
    std::thread::id first;
    std::thread::id second;
    CEvent firstDone;
    CEvent secondDone;
    ASSERT_TRUE(kept.Start([&] {
        first = std::this_thread::get_id();
        firstDone.Signal();
    }));
    ASSERT_TRUE(firstDone.Wait());
    // Back from its task, the thread waits for the next.
    for (int i = 0; i < 10000 && kept.Idle() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(kept.Start([&] {
        second = std::this_thread::get_id();
        secondDone.Signal();
    }));
    ASSERT_TRUE(secondDone.Wait());
    EXPECT_EQ(kept.Count(), 1u);
    EXPECT_NE(first, std::this_thread::get_id());
    EXPECT_EQ(second, first);
}

// A task started while every kept thread is busy gets a thread of its own
// and does not wait for a busy one: two tasks waiting on each other end.
TEST(KeptThreadsTest, ABusyThreadDoesNotHoldBackTheNextTask) {
    CKeptThreads kept;
    CEvent a;
    CEvent b;
    bool bAGotB = false;
    bool bBGotA = false;
    CEvent bothDone[2];
    ASSERT_TRUE(kept.Start([&] {
        a.Signal();
        bAGotB = b.Wait();
        bothDone[0].Signal();
    }));
    ASSERT_TRUE(kept.Start([&] {
        b.Signal();
        bBGotA = a.Wait();
        bothDone[1].Signal();
    }));
    ASSERT_TRUE(bothDone[0].Wait());
    ASSERT_TRUE(bothDone[1].Wait());
    EXPECT_TRUE(bAGotB);
    EXPECT_TRUE(bBGotA);
    EXPECT_EQ(kept.Count(), 2u);
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
