#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/page_sink.h"
#include "vitalchart/surface/cairo_dc.h"

namespace vitalchart {
namespace cli {

// The pages of a run in one PDF file at strPath (already reserved), a PDF
// page each; failures name the render's output, settings.strOutput.
class CPdfSink : public CPageSink {
public:
    // *pbDrawn, when given, is set once a page is begun.
    CPdfSink(const PageSettings& settings, const PageRun& run, std::string strPath, char* pbDrawn = nullptr);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override { return m_pDC.get(); }
    bool EndPage(std::string& rError) override;
    bool Finish(std::string& rError) override;

private:
    PageSettings m_settings;
    PageRun m_run;
    std::string m_strPath;
    std::unique_ptr<CCairoDC> m_pDC;  // the file, from the first page on
    int m_nPage = 0;                  // the page begun
    char* m_pbDrawn;
};

// Every page in one PDF file. Drawn by one thread, the pages go straight into
// it; drawn by several, the pages are cut into one run a thread, each run
// written as a PDF of its own beside the target, and the runs' pages merged
// in order into the target at the end. Runs go in shared pairs (PageRun), so
// that the two threads of a pair finish together.
class CPdfOutput : public CPageOutput {
public:
    CPdfOutput(const PageSettings& settings, int nJobs, COutputFiles& rOutputs);

    std::unique_ptr<CPageSink> MakeSink(std::size_t nRun, std::string& rError) override;
    bool Finish(std::string& rError) override;

private:
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    COutputFiles m_parts;                 // the runs' files, removed once merged
    std::vector<std::string> m_arrPaths;  // each run's file
    std::vector<char> m_arrDrawn;         // whether each run's sink drew a page
};

}  // namespace cli
}  // namespace vitalchart
