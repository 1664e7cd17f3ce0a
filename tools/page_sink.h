#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/output_files.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// What every page of one render shares.
struct PageSettings {
    std::string strOutput;  // the -o target; "-" or empty: standard output (trace only)
    int nPages = 1;
    int nWidth = 1;  // page size in device units
    int nHeight = 1;
    int nDpi = 96;
    UINT nCodePage = CP_UTF8;
    BOOL bPrinting = 0;
    int nPngCompression = 3;  // zlib level of PNG pages, 0 to 9 (the Cairo surface's default)

    bool ToStandardOutput() const { return strOutput.empty() || strOutput == "-"; }
};

// Pages nFirst to nLast (from 1), drawn one after the other by one thread
// into a sink of their own.
//
// A shared run takes its pages from a range it shares with the run next to
// it, the two drawing from opposite ends (the first of the pair from the
// range's first page up, the second, bBackward, from its last page down)
// until they meet: neither thread waits for the other, however the pages'
// work falls. Which pages each gets is known only as they are drawn, and
// either may get none.
struct PageRun {
    int nFirst = 1;
    int nLast = 1;
    bool bShared = false;
    bool bBackward = false;  // a shared run's second: its pages last to first
};

// Where the pages of one run go. Its thread calls BeginPage, draws on
// GetSurface, calls EndPage, for each page of the run in turn, then Finish
// once. Files are reserved with COutputFiles, so nothing appears under its
// name before the render commits them all; since the files of every run are
// reserved through one COutputFiles, the render makes its BeginPage calls
// one at a time. A false return ends the render with rError as its message.
class CPageSink {
public:
    virtual ~CPageSink() = default;

    // Starts page nPage (from 1 to PageSettings::nPages).
    virtual bool BeginPage(int nPage, std::string& rError) = 0;
    // The surface of the page begun, lent until EndPage.
    virtual CDC* GetSurface() = 0;
    // Ends the page begun; a format of one page a file writes it out now.
    virtual bool EndPage(std::string& rError) = 0;
    // After the run's last page: completes what its pages were written to.
    virtual bool Finish(std::string& rError) = 0;
};

// One render's pages in one format: cut into runs, a sink for each run, and
// the runs' output put together in page order once every run has finished.
// A format of one file a page makes every page a run, so that any thread can
// take the next page; one PDF is cut into as few runs as there are threads,
// each written as a PDF of its own and merged in order at the end.
class CPageOutput {
public:
    virtual ~CPageOutput() = default;

    // The runs, in page order, covering pages 1 to PageSettings::nPages.
    const std::vector<PageRun>& GetRuns() const { return m_runs; }
    // The sink of run nRun (an index into GetRuns), made in run order before
    // any drawing; null with rError when its file cannot be reserved.
    virtual std::unique_ptr<CPageSink> MakeSink(std::size_t nRun, std::string& rError) = 0;
    // Once every run's sink has finished: writes what the runs made as the
    // render's output, in page order.
    virtual bool Finish(std::string& rError) = 0;
    // Whether Finish does work of its own worth running something beside
    // (merging what several runs made).
    virtual bool FinishIsWork() const { return false; }

protected:
    std::vector<PageRun> m_runs;
};

// The output of a format (trace, png, pdf or svg; null for check's formats)
// for pages drawn by up to nJobs threads. rOutputs must outlive it.
std::unique_ptr<CPageOutput> MakePageOutput(Format format, const PageSettings& settings, int nJobs,
                                            COutputFiles& rOutputs);

// Pages 1 to nPages cut into nRuns runs (at least one, at most nPages) of
// consecutive pages whose lengths differ by one at most, the longer first.
std::vector<PageRun> CutIntoRuns(int nPages, int nRuns);

// CutIntoRuns with every two runs made one shared pair over both's pages (an
// odd last run stays alone).
std::vector<PageRun> CutIntoSharedRuns(int nPages, int nRuns);

}  // namespace cli
}  // namespace vitalchart
