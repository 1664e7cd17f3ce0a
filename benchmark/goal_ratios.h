#pragma once

// The performance goals as ratios of two benchmarks measured in the same
// run: each benchmark file registers the goals it measures, and the
// benchmark program prints every goal's ratio after the timings.

namespace vitalchart {
namespace bench {

// A goal: the real time of benchmark pszMeasured over that of pszBaseline,
// at most fLimit (or, with bAtLeast, at least fLimit: a speed-up).
struct Goal {
    const char* pszName;
    const char* pszMeasured;
    const char* pszBaseline;
    double fLimit;
    bool bAtLeast;
};

// Adds a goal to the run's summary; returns true so that a file can register
// at namespace scope: static const bool kRegistered = RegisterGoal({...});
bool RegisterGoal(const Goal& goal);

// A goal on one benchmark's counters: pszMeasured over pszBaseline, at most fLimit.
struct CounterGoal {
    const char* pszName;
    const char* pszBenchmark;
    const char* pszMeasured;
    const char* pszBaseline;
    double fLimit;
};
bool RegisterGoal(const CounterGoal& goal);

}  // namespace bench
}  // namespace vitalchart
