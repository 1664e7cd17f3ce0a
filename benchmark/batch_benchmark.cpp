// Many pages into one PDF through the command's render verb, in-process: the
// bundled example's week a hundred times, drawn on one core and on every core
// the machine has.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "benchmark/example_files.h"
#include "benchmark/goal_ratios.h"
#include "tools/command_line.h"
#include "tools/page_runner.h"
#include "tools/render_command.h"

namespace {

using namespace vitalchart;

constexpr int kPages = 100;

// A scratch folder for the output, removed when the program ends.
const std::string& ScratchFolder() {
    static const std::string s_strDir = [] {
        char szDir[] = "/tmp/vitalchart-bench-XXXXXX";
        const std::string strDir = ::mkdtemp(szDir) != nullptr ? szDir : "/tmp";
        return strDir;
    }();
    return s_strDir;
}

void RenderPdf(benchmark::State& state, int nJobs) {
    cli::CommandLine line;
    line.strTemplate = bench::ExampleTemplatePath();
    line.dataFiles.assign(kPages, std::string(VITALCHART_EXAMPLES) + "/week.data");
    line.output = ScratchFolder() + "/batch.pdf";
    line.jobs = nJobs;
    for (auto _ : state) {
        if (cli::RunRender(line) != 0) {
            state.SkipWithError("the render failed");
            break;
        }
    }
    std::remove(line.output->c_str());
    state.counters["jobs"] = nJobs;
    state.counters["pages/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kPages, benchmark::Counter::kIsRate);
}

void BM_PdfBatchOneCore(benchmark::State& state) {
    RenderPdf(state, 1);
}
BENCHMARK(BM_PdfBatchOneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_PdfBatchAllCores(benchmark::State& state) {
    RenderPdf(state, cli::AvailableCores());
}
BENCHMARK(BM_PdfBatchAllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

const bool kRegistered = bench::RegisterGoal(
    {"100 pages into one PDF: two cores over one", "BM_PdfBatchAllCores", "BM_PdfBatchOneCore", 1.8, true});

}  // namespace
