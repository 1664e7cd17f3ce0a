#pragma once

#include <memory>
#include <string>

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

// Where the pages of one render go, in one output format. The render loop
// calls BeginPage, draws on GetSurface, calls EndPage, for each page in
// turn, then Finish once. Files are reserved with COutputFiles, so nothing
// appears under its name before the render commits them all. A false
// return ends the render with rError as its message.
class CPageSink {
public:
    virtual ~CPageSink() = default;

    // Starts page nPage (from 1 to PageSettings::nPages).
    virtual bool BeginPage(int nPage, std::string& rError) = 0;
    // The surface of the page begun, lent until EndPage.
    virtual CDC* GetSurface() = 0;
    // Ends the page begun; a format of one page a file writes it out now.
    virtual bool EndPage(std::string& rError) = 0;
    // After the last page: completes what the pages were written to.
    virtual bool Finish(std::string& rError) = 0;
};

// The sink of a format: trace, png, pdf or svg (null for check's formats).
// rOutputs must outlive it.
std::unique_ptr<CPageSink> MakePageSink(Format format, const PageSettings& settings, COutputFiles& rOutputs);

}  // namespace cli
}  // namespace vitalchart
