#include "tools/page_sink.h"

#include <algorithm>

#include "tools/pdf_sink.h"
#include "tools/picture_sink.h"
#include "tools/trace_sink.h"

namespace vitalchart {
namespace cli {

namespace {

// PNG images or SVG drawings, a file a page: every page is a run.
class CPictureOutput : public CPageOutput {
public:
    CPictureOutput(Format format, const PageSettings& settings, COutputFiles& rOutputs)
        : m_format(format), m_settings(settings), m_rOutputs(rOutputs) {
        m_runs = CutIntoRuns(settings.nPages, settings.nPages);
    }

    std::unique_ptr<CPageSink> MakeSink(std::size_t, std::string&) override {
        return std::make_unique<CPictureSink>(m_format, m_settings, m_rOutputs);
    }
    bool Finish(std::string&) override { return true; }

private:
    Format m_format;
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
};

}  // namespace

std::unique_ptr<CPageOutput> MakePageOutput(Format format, const PageSettings& settings, int nJobs,
                                            COutputFiles& rOutputs) {
    switch (format) {
        case Format::kTrace:
            return std::make_unique<CTraceOutput>(settings, rOutputs);
        case Format::kPng:
        case Format::kSvg:
            return std::make_unique<CPictureOutput>(format, settings, rOutputs);
        case Format::kPdf:
            return std::make_unique<CPdfOutput>(settings, nJobs, rOutputs);
        case Format::kText:
        case Format::kJson:
            break;
    }
    return nullptr;
}

std::vector<PageRun> CutIntoRuns(int nPages, int nRuns) {
    nPages = std::max(1, nPages);
    nRuns = std::clamp(nRuns, 1, nPages);
    std::vector<PageRun> runs;
    runs.reserve(static_cast<std::size_t>(nRuns));
    int nFirst = 1;
    for (int i = 0; i < nRuns; ++i) {
        const int nLength = nPages / nRuns + (i < nPages % nRuns ? 1 : 0);
        runs.push_back({nFirst, nFirst + nLength - 1});
        nFirst += nLength;
    }
    return runs;
}

std::vector<PageRun> CutIntoSharedRuns(int nPages, int nRuns) {
    std::vector<PageRun> runs = CutIntoRuns(nPages, nRuns);
    for (std::size_t i = 0; i + 1 < runs.size(); i += 2) {
        runs[i] = {runs[i].nFirst, runs[i + 1].nLast, true, false};
        runs[i + 1] = {runs[i].nFirst, runs[i].nLast, true, true};
    }
    return runs;
}

}  // namespace cli
}  // namespace vitalchart
