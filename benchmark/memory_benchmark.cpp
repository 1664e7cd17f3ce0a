// What a reading costs in memory: the heap a renderer holds after reading a
// long data text and drawing it (records, their texts, the reading list and
// the index by name), per reading, beside the data text's own bytes per
// reading.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <string>

#include "benchmark/example_files.h"
#include "benchmark/goal_ratios.h"
#include "render/chart_renderer.h"
#include "render/chart_template.h"
#include "vitalchart/surface/state_dc.h"

namespace {

using namespace vitalchart;

const bool kRegistered =
    bench::RegisterGoal(bench::CounterGoal{"heap per reading over data text bytes per reading", "BM_ReadingsMemory",
                                           "heap_per_reading", "data_per_reading", 2.0});

// A surface that keeps its state and draws nothing, so that only the
// renderer's own memory is measured.
class CNullDC : public CStateDC {
public:
    CNullDC() : CStateDC(0, CP_UTF8) {}
    void Ellipse(int, int, int, int) override {}
    void Polygon(const POINT*, int) override {}
    void FillSolidRect(const RECT&, COLORREF) override {}
    void TextOut(int, int, const char*, int) override {}
    void DrawText(const char*, int, RECT* pRect, UINT nFormat) override {
        if ((nFormat & DT_CALCRECT) != 0) *pRect = {pRect->left, pRect->top, pRect->left + 8, pRect->top + 16};
    }
};

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BM_ReadingsMemory(benchmark::State& state) {
    const int nReadings = static_cast<int>(state.range(0));
    // Readings as a week's data text writes them, over the example's curves and rows.
    const char* const kNames[] = {"体温", "脉搏", "呼吸", "血压"};
    std::string strData;
    for (int i = 0; i < nReadings; ++i) {
        strData += std::string("<d vitalsigns=\"") + kNames[i % 4] + "\" vitalsignsvalues=\"" +
                   std::to_string(36 + i % 5) + "." + std::to_string(i % 10) + "\" cellindex=\"" +
                   std::to_string(i % 42) + "\"/>\n";
    }
    CChartTemplate chartTemplate;
    chartTemplate.SetText(bench::ExampleTemplate(), "vitalsign.xml");
    double fHeapPerReading = 0.0;
    for (auto _ : state) {
        CNullDC dc;
        const std::size_t nBefore = HeapInUse();
        auto pRenderer = std::make_unique<CChartRenderer>(
            &dc, CChartGeometry({0, 0, bench::kExampleRight, bench::kExampleBottom}, {96, 96}, {96, 96}));
        pRenderer->ReadVitalRecords(strData.data(), static_cast<std::int32_t>(strData.size()));
        pRenderer->DrawChart(chartTemplate, 0);
        fHeapPerReading = static_cast<double>(HeapInUse() - nBefore) / nReadings;
    }
    state.counters["heap_per_reading"] = fHeapPerReading;
    state.counters["data_per_reading"] = static_cast<double>(strData.size()) / nReadings;
}
BENCHMARK(BM_ReadingsMemory)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
