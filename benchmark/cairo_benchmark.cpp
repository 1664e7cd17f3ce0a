// The Cairo surface against plain Cairo and Pango: the bundled example drawn
// through the surface and replayed from its trace with the two libraries
// alone (one font map reused, as the surface's thread does), and the drawn
// image encoded by the surface's PNG writer and by Cairo's own.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "benchmark/example_files.h"
#include "benchmark/goal_ratios.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"
#include "vitalchart/surface/recording_dc.h"
// The drawing libraries after the chart's platform names: their headers
// define TRUE and FALSE as macros.
// clang-format off
#include "benchmark/trace_replay.h"
// clang-format on

namespace {

using namespace vitalchart;

using bench::kExampleBottom;
using bench::kExampleRight;

using bench::DrawExample;

const bench::CTraceReplay& ExampleReplay() {
    static const bench::CTraceReplay s_replay = [] {
        CRecordingDC dc;
        DrawExample(&dc);
        return bench::CTraceReplay(dc.GetTrace());
    }();
    return s_replay;
}

// A white image of the example's size with the trace replayed onto it, laid
// out with pFontMap. The caller destroys it.
cairo_surface_t* ReplayExample(PangoFontMap* pFontMap) {
    cairo_surface_t* pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kExampleRight, kExampleBottom);
    cairo_t* pCr = cairo_create(pSurface);
    cairo_set_source_rgb(pCr, 1.0, 1.0, 1.0);
    cairo_paint(pCr);
    PangoContext* pPango = bench::NewChartContext(pFontMap, pCr);
    ExampleReplay().Draw(pCr, pPango);
    g_object_unref(pPango);
    cairo_destroy(pCr);
    cairo_surface_flush(pSurface);
    return pSurface;
}

// The example drawn through the Cairo surface, as one image.
CCairoDC& DrawnExample() {
    static const std::unique_ptr<CCairoDC> s_pDC = [] {
        auto pDC = CCairoDC::CreatePng(kExampleRight, kExampleBottom);
        DrawExample(pDC.get());
        return pDC;
    }();
    return *s_pDC;
}

// The pixels of DrawnExample in a plain Cairo image. The caller destroys it.
cairo_surface_t* CopyOfDrawnExample() {
    CCairoDC& dc = DrawnExample();
    cairo_surface_t* pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, dc.GetWidth(), dc.GetHeight());
    cairo_surface_flush(pSurface);
    unsigned char* pData = cairo_image_surface_get_data(pSurface);
    const int nStride = cairo_image_surface_get_stride(pSurface);
    for (int y = 0; y < dc.GetHeight(); ++y) {
        for (int x = 0; x < dc.GetWidth(); ++x) {
            const COLORREF cr = dc.GetPixel(x, y);
            const std::uint32_t nPixel = (std::uint32_t{GetRValue(cr)} << 16) | (std::uint32_t{GetGValue(cr)} << 8) |
                                         std::uint32_t{GetBValue(cr)};
            std::memcpy(pData + y * nStride + x * 4, &nPixel, sizeof nPixel);
        }
    }
    cairo_surface_mark_dirty(pSurface);
    return pSurface;
}

void BM_CairoDrawExample(benchmark::State& state) {
    for (auto _ : state) {
        auto pDC = CCairoDC::CreatePng(kExampleRight, kExampleBottom);
        DrawExample(pDC.get());
        benchmark::DoNotOptimize(pDC->GetPixel(0, 0));
    }
}
BENCHMARK(BM_CairoDrawExample)->Unit(benchmark::kMillisecond)->UseRealTime();

// The trace holds the rectangles the renderer placed by the recording
// surface's text metric, so labels sit a few pixels from where the Cairo
// surface puts them; the lines, figures and text drawn are the same.
void BM_RawCairoReplay(benchmark::State& state) {
    static PangoFontMap* const s_pFontMap = bench::NewChartFontMap();
    for (auto _ : state) {
        cairo_surface_t* pSurface = ReplayExample(s_pFontMap);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(pSurface));
        cairo_surface_destroy(pSurface);
    }
    state.counters["ops"] = static_cast<double>(ExampleReplay().Size());
}
BENCHMARK(BM_RawCairoReplay)->Unit(benchmark::kMillisecond)->UseRealTime();

cairo_status_t AppendBytes(void* pClosure, const unsigned char* pData, unsigned int nLength) {
    auto* pBytes = static_cast<std::vector<unsigned char>*>(pClosure);
    pBytes->insert(pBytes->end(), pData, pData + nLength);
    return CAIRO_STATUS_SUCCESS;
}

std::size_t CairoPngSize() {
    static const std::size_t s_nSize = [] {
        cairo_surface_t* pSurface = CopyOfDrawnExample();
        std::vector<unsigned char> arrBytes;
        cairo_surface_write_to_png_stream(pSurface, AppendBytes, &arrBytes);
        cairo_surface_destroy(pSurface);
        return arrBytes.size();
    }();
    return s_nSize;
}

void BM_PngCairoWriter(benchmark::State& state) {
    cairo_surface_t* pSurface = CopyOfDrawnExample();
    std::vector<unsigned char> arrBytes;
    for (auto _ : state) {
        arrBytes.clear();
        cairo_surface_write_to_png_stream(pSurface, AppendBytes, &arrBytes);
        benchmark::DoNotOptimize(arrBytes.data());
    }
    cairo_surface_destroy(pSurface);
    state.counters["bytes"] = static_cast<double>(arrBytes.size());
}
BENCHMARK(BM_PngCairoWriter)->Unit(benchmark::kMillisecond)->UseRealTime();

// The surface's encoder at its default compression, or at the level given.
void BM_PngEncoder(benchmark::State& state) {
    CCairoDC& dc = DrawnExample();
    const int nLevel = state.range(0) < 0 ? CCairoDC::kDefaultPngCompression : static_cast<int>(state.range(0));
    std::vector<unsigned char> arrBytes;
    for (auto _ : state) {
        dc.EncodePng(arrBytes, nLevel);
        benchmark::DoNotOptimize(arrBytes.data());
    }
    state.counters["bytes"] = static_cast<double>(arrBytes.size());
    state.counters["size_vs_cairo"] = static_cast<double>(arrBytes.size()) / static_cast<double>(CairoPngSize());
}
BENCHMARK(BM_PngEncoder)->Arg(-1)->Arg(9)->Unit(benchmark::kMillisecond)->UseRealTime();

const bool kGoals[] = {
    bench::RegisterGoal(
        {"example on a Cairo image / raw Cairo-Pango replay", "BM_CairoDrawExample", "BM_RawCairoReplay", 1.1, false}),
    bench::RegisterGoal(
        {"PNG: Cairo's writer / the surface's encoder (speed-up)", "BM_PngEncoder/-1", "BM_PngCairoWriter", 2.5, true}),
};

}  // namespace
