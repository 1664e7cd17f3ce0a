#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/page_sink.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// The pages of a run in one PDF, a PDF page each: written to the file at
// strPath (already reserved), or, given pDocument, kept in memory and handed
// over into *pDocument when finished (left empty when no page was begun).
// Failures name the render's output, settings.strOutput.
class CPdfSink : public CPageSink {
public:
    CPdfSink(const PageSettings& settings, const PageRun& run, std::string strPath, std::string* pDocument = nullptr);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override { return m_pDC.get(); }
    bool EndPage(std::string& rError) override;
    bool Finish(std::string& rError) override;

private:
    PageSettings m_settings;
    PageRun m_run;
    std::string m_strPath;
    std::unique_ptr<CDC> m_pDC;  // the document, from the first page on
    int m_nPage = 0;             // the page begun
    std::string* m_pDocument;
};

// Every page in one PDF file. Drawn by one thread, the pages go straight into
// it; drawn by several, the pages are cut into one run a thread, each run
// kept in memory as a PDF of its own, and the runs' pages merged in order
// into the target at the end: nothing but the target is written, which
// matters on a network share. Runs go in shared pairs (PageRun), so that the
// two threads of a pair finish together.
class CPdfOutput : public CPageOutput {
public:
    CPdfOutput(const PageSettings& settings, int nJobs, COutputFiles& rOutputs);

    std::unique_ptr<CPageSink> MakeSink(std::size_t nRun, std::string& rError) override;
    bool Finish(std::string& rError) override;
    bool FinishIsWork() const override { return m_runs.size() > 1; }

private:
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    std::string m_strTarget;                  // the target's reserved file
    std::vector<std::string> m_arrDocuments;  // each run's PDF, when there are several
};

}  // namespace cli
}  // namespace vitalchart
