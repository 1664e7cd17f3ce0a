#include "tools/render_command.h"

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "render/chart_page.h"
#include "render/chart_template.h"
#include "tools/input_texts.h"
#include "tools/input_watch.h"
#include "tools/output_files.h"
#include "tools/page_layout.h"
#include "tools/page_runner.h"
#include "tools/page_sink.h"
#include "tools/pdf_finish.h"
#include "tools/pdf_module.h"
#include "tools/progress_line.h"
#include "tools/readings_pages.h"
#include "tools/render_check.h"
#include "tools/surface_module.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;
// What Fail returns: the command could not do its work.
constexpr int kExitFailed = 2;
// --watch draws again once the inputs' folders have been quiet this long
// after a change: an editor's save can be several writes.
constexpr int kWatchQuietMs = 100;

// The PDF's metadata as the options ask it; false, with a message written,
// when SOURCE_DATE_EPOCH is malformed.
bool MetadataOf(const CommandLine& line, PdfMetadata& rMetadata) {
    std::string strError;
    if (!NewPdfMetadata(rMetadata, strError)) {
        Fail(strError);
        return false;
    }
    rMetadata.strTitle = line.archive.title.value_or(std::string());
    rMetadata.strSubject = line.archive.subject.value_or(std::string());
    rMetadata.strAuthor = line.archive.author.value_or(std::string());
    rMetadata.bPdfA2b = line.archive.bPdfA2b;
    return true;
}

}  // namespace

int RenderChart(const CommandLine& line, bool bProgress, int& rPages) {
    rPages = 0;
    std::string strError;
    const std::optional<Format> format = ResolveFormat(line, strError);
    if (!format) return Fail(strError);
    if (*format != Format::kTrace && line.OutputIsStdout()) {
        return Fail(std::string(FormatName(*format)) + " output needs -o FILE");
    }
    if (line.archive.FinishesPdf() && *format != Format::kPdf) {
        return Fail("--pdfa, --title, --subject and --author are for PDF output, not " +
                    std::string(FormatName(*format)));
    }
    if (line.archive.bFit && line.archive.strPaper.empty()) {
        return Fail("--fit shrinks the chart onto a sheet of --paper; give --paper");
    }
    PdfMetadata metadata;
    if (line.archive.FinishesPdf() && !MetadataOf(line, metadata)) return kExitFailed;
    // Finishing needs the PDF module: told before any page is drawn.
    if (line.archive.FinishesPdf() && LoadPdfModule(strError) == nullptr) return Fail(strError);
    // A trace is drawn without the drawing module. Other formats load it
    // while the inputs are read; loading it starts fontconfig reading the
    // chart's fonts as the process's own, on a thread of its own, while the
    // drawing libraries still load. The first page to lay out text waits
    // for that configuration.
    const std::future<void> surfaceModuleLoad =
        *format != Format::kTrace ? LoadSurfaceModuleBeside() : std::future<void>();

    CInputTexts inputs;
    if (!inputs.Read(line, strError)) return Fail(strError);
    if (line.HasReadings()) {
        clinical::CPagination pagination;
        if (!PaginateReadings(line, pagination)) return kExitFailed;
        const std::string& strSource = line.strFhir.empty() ? line.strReadings : line.strFhir;
        if (!inputs.AddUtf8Texts(std::move(pagination.m_arrPages), strSource, strError)) return Fail(strError);
    }
    for (const std::string& strConversion : inputs.GetConversions()) Note(strConversion);
    // With --strict the checker's warnings decide whether anything is drawn;
    // else it runs beside the drawing and its note follows the pages.
    if (line.bStrict) {
        if (const int nExit = CheckBeforeRender(line, inputs)) return nExit;
    }
    const UINT nCodePage = inputs.GetCodePage();
    CChartTemplate chartTemplate;
    if (!chartTemplate.SetText(inputs.GetTemplate(), SettleTemplatePath(line.strTemplate.c_str()))) {
        return Fail(line.strTemplate + " is too large");
    }
    // No data text is one page of the empty form. The texts stay with the
    // inputs, which the checker reads beside the drawing.
    const std::vector<std::string>& dataTexts = inputs.GetDataTexts();
    static const std::string s_strEmptyForm;
    const std::size_t nPages = dataTexts.empty() ? 1 : dataTexts.size();

    PageLayout layout = LayOutPages(line, *format, chartTemplate, nCodePage, static_cast<int>(nPages));
    // On --paper the page is the sheet, the chart in its middle.
    if (!line.archive.strPaper.empty() && !LayOutOnPaper(line, chartTemplate, layout, strError)) {
        return Fail(strError);
    }
    const CChartGeometry& geometry = layout.geometry;
    PageSettings settings = layout.settings;
    settings.strOutput = line.output.value_or(std::string());

    COutputFiles outputs;
    const int nJobs = line.jobs.value_or(AvailableCores());
    const std::unique_ptr<CPageOutput> pOutput = MakePageOutput(*format, settings, nJobs, outputs);
    // The runs' PDFs are merged with the PDF module once every page is drawn.
    const std::future<void> pdfModuleLoad =
        pOutput->FinishIsWork() && *format == Format::kPdf ? LoadPdfModuleBeside() : std::future<void>();
    CProgressLine progress(bProgress ? settings.nPages : 1);
    const BOOL bFill = line.bFill ? 1 : 0;
    auto draw = [&](int nPage, CDC* pDC) {
        const std::string& strData =
            dataTexts.empty() ? s_strEmptyForm : dataTexts[static_cast<std::size_t>(nPage - 1)];
        return DrawChartPage(pDC, geometry, chartTemplate, strData, bFill);
    };
    // The checker walks the texts beside the drawing. It checks the readings
    // beside the merging of the runs' files when there is one, where a core
    // would else wait; else beside the drawing too.
    CRenderCheck check(line, inputs);
    std::size_t nWarnings = 0;
    const bool bCountLate = !line.bStrict && nJobs > 1 && pOutput->FinishIsWork();
    const auto walk = [&] {
        check.Walk();
        if (!bCountLate) nWarnings = check.CountWarnings();
    };
    const bool bDrawn = DrawPages(*pOutput, nJobs, draw, progress, strError,
                                  line.bStrict ? std::function<void()>() : std::function<void()>(walk));
    progress.End();
    bool bFinished = false;
    const auto finish = [&] { bFinished = bDrawn && pOutput->Finish(strError); };
    const auto count = [&] { nWarnings = check.CountWarnings(); };
    if (bCountLate) {
        // The merge goes beside and the count stays here: the count frees
        // what the walk allocated on this thread, and freeing it from another
        // thread while the merge allocated here made both wait on the heap.
        RunBeside(nJobs, finish, count);
    } else {
        finish();
    }
    if (!line.bStrict) ReportRenderWarnings(line, nWarnings);
    if (!bFinished) return Fail(strError);
    if (line.archive.FinishesPdf() && !FinishPdfFile(outputs.TemporaryFor(settings.strOutput), metadata, strError)) {
        return Fail(settings.strOutput + ": " + strError);
    }
    if (!outputs.Commit(strError)) return Fail(strError);
    rPages = settings.nPages;
    return kExitOk;
}

namespace {

// Draws, then draws again whenever an input file is written, until a signal
// ends the command. A drawing that fails says why and leaves the last output
// in place; the watch goes on.
int WatchAndRender(const CommandLine& line) {
    if (line.OutputIsStdout()) return Fail("--watch needs -o FILE");
    std::vector<std::string> files = {line.strTemplate};
    files.insert(files.end(), line.dataFiles.begin(), line.dataFiles.end());
    for (const std::string* pFile : {&line.strReadings, &line.strFhir, &line.strMap, &line.strProfile}) {
        if (!pFile->empty()) files.push_back(*pFile);
    }
    std::string strError;
    CInputWatch watch;
    // Watching before the first drawing, so that a change made while it draws is not missed.
    if (!watch.Start(files, strError)) return Fail(strError);
    for (;;) {
        int nPages = 0;
        if (RenderChart(line, true, nPages) == kExitOk) Note("wrote " + *line.output + "; watching the input files");
        std::string strChanged;
        if (!watch.WaitForChange(kWatchQuietMs, strChanged, strError)) return Fail(strError);
        Note(strChanged + " changed");
    }
}

}  // namespace

int RunRender(const CommandLine& line) {
    int nPages = 0;
    return line.bWatch ? WatchAndRender(line) : RenderChart(line, true, nPages);
}

}  // namespace cli
}  // namespace vitalchart
