// The benchmark program's main: runs every benchmark (Google Benchmark's
// flags apply), then prints each registered goal's ratio from the real
// times of the same run.

#include "benchmark/goal_ratios.h"

#include <benchmark/benchmark.h>

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

// Prints as the console reporter does and keeps each run's real time per
// iteration, in nanoseconds, by benchmark name.
class CCollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0 && !run.error_occurred) {
                m_times[run.benchmark_name()] = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& Times() const { return m_times; }

private:
    std::map<std::string, double> m_times;
};

// The time of the benchmark whose name begins with strName (arguments and
// suffixes such as /real_time follow it), its median over repetitions when
// there are some; negative when it did not run.
double TimeOf(const std::map<std::string, double>& times, const std::string& strName) {
    const auto median = times.find(strName + "_median");
    if (median != times.end()) return median->second;
    for (const auto& entry : times) {
        if (entry.first == strName || entry.first.rfind(strName + "/", 0) == 0) return entry.second;
    }
    return -1.0;
}

}  // namespace

bool RegisterGoal(const Goal& goal) {
    Goals().push_back(goal);
    return true;
}

}  // namespace bench
}  // namespace vitalchart

int main(int argc, char** argv) {
    using namespace vitalchart::bench;
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
    return 0;
}
