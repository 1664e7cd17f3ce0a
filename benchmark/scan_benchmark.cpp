// The template scan beside its floor and a peer: the renderer's line walk,
// element look-up and attribute scan over the bundled template repeated to
// 1 MiB; pugixml's load_buffer of the same bytes; a memchr pass over them.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <pugixml.hpp>
#include <string>

#include "benchmark/example_files.h"
#include "benchmark/goal_ratios.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "render/keyword_table.h"

namespace {

using namespace vitalchart;

const bool kRegistered = bench::RegisterGoal(
    {"template scan over pugixml load_buffer, 1 MiB", "BM_TemplateScan", "BM_PugixmlLoadBuffer", 1.0, false});

// The example repeated whole to 1 MiB or just over.
const std::string& LargeTemplate() {
    static const std::string s_strText = [] {
        std::string strText;
        while (strText.size() < (1u << 20)) strText += bench::ExampleTemplate();
        return strText;
    }();
    return s_strText;
}

void BM_TemplateScan(benchmark::State& state) {
    const std::string& strText = LargeTemplate();
    const CKeywordTable keywords;
    CTagAttributes tag;
    for (auto _ : state) {
        std::size_t nAttributes = 0;
        WalkTextLines(strText.data(), static_cast<std::int32_t>(strText.size()),
                      [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
                          if (keywords.FindKeyword(ReadTagNameView(pszLine, nLength, nPos)) < 0) {
                              nPos = nLength;
                              return true;
                          }
                          ScanAttributes(pszLine, nLength, tag, nPos);
                          nAttributes += tag.GetAttributes().size();
                          return true;
                      });
        benchmark::DoNotOptimize(nAttributes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(strText.size()));
}
BENCHMARK(BM_TemplateScan)->Unit(benchmark::kMillisecond);

void BM_PugixmlLoadBuffer(benchmark::State& state) {
    const std::string& strText = LargeTemplate();
    for (auto _ : state) {
        pugi::xml_document document;
        const pugi::xml_parse_result result =
            document.load_buffer(strText.data(), strText.size(), pugi::parse_default | pugi::parse_fragment);
        if (!result) state.SkipWithError(result.description());
        benchmark::DoNotOptimize(document.first_child());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(strText.size()));
}
BENCHMARK(BM_PugixmlLoadBuffer)->Unit(benchmark::kMillisecond);

void BM_MemchrPass(benchmark::State& state) {
    const std::string& strText = LargeTemplate();
    for (auto _ : state) {
        std::size_t nLines = 0;
        const char* p = strText.data();
        const char* const pEnd = p + strText.size();
        while (const void* pFeed = std::memchr(p, '\n', static_cast<std::size_t>(pEnd - p))) {
            ++nLines;
            p = static_cast<const char*>(pFeed) + 1;
        }
        benchmark::DoNotOptimize(nLines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(strText.size()));
}
BENCHMARK(BM_MemchrPass)->Unit(benchmark::kMillisecond);

}  // namespace
