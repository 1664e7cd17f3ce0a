#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace vitalchart {
namespace cli {

// What /metrics reports, counted by any thread: the answers by status, the
// time each chart took to make (a histogram), the pages drawn, and the
// renders given up or refused.
class CServiceMetrics {
public:
    // Upper bounds of the render-time buckets, in seconds.
    static constexpr std::array<const char*, 12> kBucketBounds = {"0.005", "0.01", "0.025", "0.05", "0.1", "0.25",
                                                                  "0.5",   "1",    "2.5",   "5",    "10",  "30"};

    void CountAnswer(int nStatus);
    void CountRender(std::chrono::steady_clock::duration elapsed, int nPages);
    void CountTimeLimit() { ++m_nTimeLimits; }
    void CountBusy() { ++m_nBusy; }

    // The counters in the Prometheus text exposition format (0.0.4).
    std::string Format() const;

private:
    static constexpr std::array<std::int64_t, 12> kBucketMicroseconds = {
        5000, 10000, 25000, 50000, 100000, 250000, 500000, 1000000, 2500000, 5000000, 10000000, 30000000};

    std::array<std::atomic<std::uint64_t>, 600> m_answers{};  // by status, 100 to 599
    std::array<std::atomic<std::uint64_t>, 12> m_buckets{};   // not cumulative
    std::atomic<std::uint64_t> m_nRenders{0};
    std::atomic<std::uint64_t> m_nRenderMicroseconds{0};
    std::atomic<std::uint64_t> m_nPages{0};
    std::atomic<std::uint64_t> m_nTimeLimits{0};
    std::atomic<std::uint64_t> m_nBusy{0};
};

}  // namespace cli
}  // namespace vitalchart
