#include "tools/pdf_sink.h"

#include <algorithm>
#include <utility>

#include "tools/pdf_merge.h"
#include "tools/surface_module.h"

namespace vitalchart {
namespace cli {

namespace {

// Fewest pages a run of its own: each run's document embeds its own font
// subsets and is merged at the end, which costs about what drawing a page does.
constexpr int kMinPagesPerRun = 4;

}  // namespace

CPdfSink::CPdfSink(const PageSettings& settings, const PageRun& run, std::string strPath, std::string* pDocument)
    : m_settings(settings), m_run(run), m_strPath(std::move(strPath)), m_pDocument(pDocument) {}

bool CPdfSink::BeginPage(int nPage, std::string& rError) {
    m_nPage = nPage;
    if (!m_pDC) {
        m_pDC = m_pDocument != nullptr
                    ? CreatePdfSurfaceInMemory(m_settings.nWidth, m_settings.nHeight, m_settings.nDpi,
                                               m_settings.nCodePage, m_settings.bPrinting, rError)
                    : CreatePdfSurface(m_strPath, m_settings.nWidth, m_settings.nHeight, m_settings.nDpi,
                                       m_settings.nCodePage, m_settings.bPrinting, rError);
    }
    return m_pDC != nullptr;
}

bool CPdfSink::EndPage(std::string&) {
    // Writing the page out is the larger part of its work, so it is done
    // here rather than when the next page begins, which the render makes
    // wait its turn. A failure is kept by the surface and reported by Finish.
    // A shared run does not know its last page: it ends every page, and the
    // surface adds no empty page after the last when it is finished.
    if (m_run.bShared || m_nPage < m_run.nLast) ShowSurfacePage(*m_pDC);
    return true;
}

bool CPdfSink::Finish(std::string& rError) {
    // No page begun: the document was never made.
    if (!m_pDC) return true;
    if (!FinishSurface(*m_pDC)) {
        rError = m_settings.strOutput + ": " + SurfaceError(*m_pDC);
        return false;
    }
    if (m_pDocument != nullptr) *m_pDocument = TakeSurfaceDocument(*m_pDC);
    return true;
}

CPdfOutput::CPdfOutput(const PageSettings& settings, int nJobs, COutputFiles& rOutputs)
    : m_settings(settings), m_rOutputs(rOutputs) {
    const int nRuns = std::min(nJobs, std::max(1, settings.nPages / kMinPagesPerRun));
    m_runs = CutIntoSharedRuns(settings.nPages, nRuns);
    if (m_runs.size() > 1) m_arrDocuments.resize(m_runs.size());
}

std::unique_ptr<CPageSink> CPdfOutput::MakeSink(std::size_t nRun, std::string& rError) {
    // The target's file is reserved with the first sink, before any page is
    // drawn, so that an output that cannot be written fails the render at
    // once. One run writes it; several keep their PDFs in memory, merged
    // into it at the end.
    if (nRun == 0) {
        m_strTarget = m_rOutputs.Reserve(m_settings.strOutput, rError);
        if (m_strTarget.empty()) return nullptr;
    }
    if (m_runs.size() > 1) return std::make_unique<CPdfSink>(m_settings, m_runs[nRun], "", &m_arrDocuments[nRun]);
    return std::make_unique<CPdfSink>(m_settings, m_runs[nRun], m_strTarget);
}

bool CPdfOutput::Finish(std::string& rError) {
    if (m_runs.size() == 1) return true;
    // A run that got no page made no document; the second of a pair drew its
    // pages last first.
    std::vector<PdfPart> parts;
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        if (!m_arrDocuments[i].empty()) parts.push_back({std::move(m_arrDocuments[i]), m_runs[i].bBackward});
    }
    std::string strWhy;
    if (MergePdfs(std::move(parts), m_strTarget, strWhy)) return true;
    rError = m_settings.strOutput + ": " + strWhy;
    return false;
}

}  // namespace cli
}  // namespace vitalchart
