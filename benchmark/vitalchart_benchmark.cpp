// Timings of the bundled example: the whole DrawPlugin path to the recording
// surface and to a PNG image in memory, and the template scan alone on a
// template of about 1 MB.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchmark/example_files.h"
#include "markup/byte_buffer.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "render/keyword_table.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"
#include "vitalchart/surface/recording_dc.h"

namespace {

using namespace vitalchart;

using bench::kExampleBottom;
using bench::kExampleRight;

void DrawExample(CDC* pDC) {
    const std::string& strData = bench::ExampleData();
    DrawPlugin(pDC, 0, 0, kExampleBottom, kExampleRight, 96, 96, 96, 96, bench::ExampleTemplatePath().c_str(),
               strData.data(), static_cast<int>(strData.size()), "", 0);
}

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

void BM_TemplateScan(benchmark::State& state) {
    // The example's elements repeated to about 1 MB.
    const std::string& strOne = bench::ExampleTemplate();
    std::string strLarge;
    while (strLarge.size() < (1u << 20)) strLarge += strOne;
    CByteBuffer buffer(0);
    buffer.Append(strLarge.data(), static_cast<std::int32_t>(strLarge.size()));
    CKeywordTable keywords;
    for (auto _ : state) {
        long nElements = 0;
        WalkLines(buffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
            if (keywords.FindKeyword(ReadTagName(pszLine, nLength, nPos)) < 0) {
                nPos = nLength;
                return true;
            }
            CMapStringToString mapAttributes;
            CMapStringToString mapStyles;
            ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
            nElements += mapAttributes.GetCount();
            return true;
        });
        benchmark::DoNotOptimize(nElements);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(strLarge.size()));
}
BENCHMARK(BM_TemplateScan)->Unit(benchmark::kMillisecond);

}  // namespace
