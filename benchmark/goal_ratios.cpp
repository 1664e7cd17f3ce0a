// The benchmark program's main: runs every benchmark (Google Benchmark's
// flags apply), then prints each registered goal's ratio from the real
// times of the same run.

#include "benchmark/goal_ratios.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace vitalchart {
namespace bench {

namespace {

std::vector<Goal>& Goals() {
    static std::vector<Goal> s_goals;
    return s_goals;
}

std::vector<CounterGoal>& CounterGoals() {
    static std::vector<CounterGoal> s_goals;
    return s_goals;
}

// Prints as the console reporter does and keeps each run's real time per
// iteration, in nanoseconds, and its counters, by benchmark name.
class CCollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0 && !run.error_occurred) {
                // In the run's own unit, which its multiplier turns into seconds.
                m_times[run.benchmark_name()] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
                for (const auto& counter : run.counters) {
                    m_counters[run.benchmark_name() + ":" + counter.first] = counter.second.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& Times() const { return m_times; }
    const std::map<std::string, double>& Counters() const { return m_counters; }

private:
    std::map<std::string, double> m_times;
    std::map<std::string, double> m_counters;  // "benchmark:counter"
};

// Whether the run is the benchmark strName: its name, or its name followed
// by arguments and suffixes such as /real_time.
bool IsRunOf(const std::string& strRun, const std::string& strName) {
    return strRun == strName || strRun.rfind(strName + "/", 0) == 0;
}

// Whether the run's name ends with the suffix.
bool EndsWith(const std::string& strRun, const std::string& strSuffix) {
    return strRun.size() >= strSuffix.size() &&
           strRun.compare(strRun.size() - strSuffix.size(), strSuffix.size(), strSuffix) == 0;
}

// The time of the benchmark strName: the median over repetitions when there
// are some, never another aggregate (mean, deviation, coefficient of
// variation); negative when it did not run.
double TimeOf(const std::map<std::string, double>& times, const std::string& strName) {
    for (const auto& entry : times) {
        const bool bMedian =
            entry.first == strName + "_median" || (IsRunOf(entry.first, strName) && EndsWith(entry.first, "_median"));
        if (bMedian) return entry.second;
    }
    for (const auto& entry : times) {
        const bool bAggregate = EndsWith(entry.first, "_mean") || EndsWith(entry.first, "_stddev") ||
                                EndsWith(entry.first, "_cv") || EndsWith(entry.first, "_median");
        if (IsRunOf(entry.first, strName) && !bAggregate) return entry.second;
    }
    return -1.0;
}

// The counter of the benchmark whose name begins with strName; negative when
// it did not run.
double CounterOf(const std::map<std::string, double>& counters, const std::string& strName,
                 const std::string& strCounter) {
    for (const auto& entry : counters) {
        const std::string& strKey = entry.first;
        const std::size_t nColon = strKey.rfind(':');
        if (nColon == std::string::npos || strKey.compare(nColon + 1, std::string::npos, strCounter) != 0) continue;
        const std::string strRun = strKey.substr(0, nColon);
        if (IsRunOf(strRun, strName) && !EndsWith(strRun, "_cv") && !EndsWith(strRun, "_stddev")) return entry.second;
    }
    return -1.0;
}

}  // namespace

bool RegisterGoal(const Goal& goal) {
    Goals().push_back(goal);
    return true;
}

bool RegisterGoal(const CounterGoal& goal) {
    CounterGoals().push_back(goal);
    return true;
}

}  // namespace bench
}  // namespace vitalchart

int main(int argc, char** argv) {
    using namespace vitalchart::bench;
    // Freed memory stays with the process, so that no benchmark's time depends
    // on which ones ran before it and warmed the heap: otherwise glibc hands
    // large blocks back to the system and a parse that allocates pays for
    // fresh pages every time (pugixml's load_buffer runs four times slower
    // on a cold heap).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nGoals (ratio of real times in this run):\n");
    for (const Goal& goal : Goals()) {
        const double fMeasured = TimeOf(reporter.Times(), goal.pszMeasured);
        const double fBaseline = TimeOf(reporter.Times(), goal.pszBaseline);
        if (fMeasured <= 0.0 || fBaseline <= 0.0) {
            std::printf("  %-58s not measured in this run\n", goal.pszName);
            continue;
        }
        // A speed-up is the baseline's time over the measured one.
        const double fRatio = goal.bAtLeast ? fBaseline / fMeasured : fMeasured / fBaseline;
        const bool bMet = goal.bAtLeast ? fRatio >= goal.fLimit : fRatio <= goal.fLimit;
        std::printf("  %-58s %6.2f (%s %.2f) %s\n", goal.pszName, fRatio, goal.bAtLeast ? "at least" : "at most",
                    goal.fLimit, bMet ? "met" : "NOT MET");
    }
    for (const CounterGoal& goal : CounterGoals()) {
        const double fMeasured = CounterOf(reporter.Counters(), goal.pszBenchmark, goal.pszMeasured);
        const double fBaseline = CounterOf(reporter.Counters(), goal.pszBenchmark, goal.pszBaseline);
        if (fMeasured < 0.0 || fBaseline <= 0.0) {
            std::printf("  %-58s not measured in this run\n", goal.pszName);
            continue;
        }
        const double fRatio = fMeasured / fBaseline;
        std::printf("  %-58s %6.2f (at most %.2f) %s\n", goal.pszName, fRatio, goal.fLimit,
                    fRatio <= goal.fLimit ? "met" : "NOT MET");
    }
    return 0;
}
