// Timings of the bundled example: the whole DrawPlugin path to the recording
// surface and to a PNG image in memory.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchmark/example_files.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"
#include "vitalchart/surface/recording_dc.h"

namespace {

using namespace vitalchart;

using bench::kExampleBottom;
using bench::kExampleRight;

using bench::DrawExample;

void BM_DrawPluginToTrace(benchmark::State& state) {
    for (auto _ : state) {
        CRecordingDC dc;
        DrawExample(&dc);
        benchmark::DoNotOptimize(dc.GetTrace().size());
    }
}
BENCHMARK(BM_DrawPluginToTrace)->Unit(benchmark::kMillisecond);

void BM_DrawPluginToPng(benchmark::State& state) {
    for (auto _ : state) {
        auto pDC = CCairoDC::CreatePng(kExampleRight, kExampleBottom);
        DrawExample(pDC.get());
        std::vector<unsigned char> png;
        pDC->EncodePng(png);
        benchmark::DoNotOptimize(png.size());
    }
}
BENCHMARK(BM_DrawPluginToPng)->Unit(benchmark::kMillisecond);

}  // namespace
