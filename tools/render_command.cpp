#include "tools/render_command.h"

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
#include "tools/progress_line.h"
#include "tools/readings_pages.h"
#include "tools/render_check.h"
#include "vitalchart/surface/cairo_dc.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;
// What Fail returns: the command could not do its work.
constexpr int kExitFailed = 2;
// --watch draws again once the inputs' folders have been quiet this long
// after a change: an editor's save can be several writes.
constexpr int kWatchQuietMs = 100;

// One drawing of the inputs as they are now: render without --watch.
int RenderOnce(const CommandLine& line) {
    std::string strError;
    const std::optional<Format> format = ResolveFormat(line, strError);
    if (!format) return Fail(strError);
    if (*format != Format::kTrace && line.OutputIsStdout()) {
        return Fail(std::string(FormatName(*format)) + " output needs -o FILE");
    }

    CInputTexts inputs;
    if (!inputs.Read(line, strError)) return Fail(strError);
    if (line.HasReadings()) {
        clinical::CPagination pagination;
        if (!PaginateReadings(line, pagination)) return kExitFailed;
        const std::string& strSource = line.strFhir.empty() ? line.strReadings : line.strFhir;
        if (!inputs.AddUtf8Texts(std::move(pagination.m_arrPages), strSource, strError)) return Fail(strError);
    }
    for (const std::string& strConversion : inputs.GetConversions()) Note(strConversion);
    if (const int nExit = CheckBeforeRender(line, inputs)) return nExit;
    const UINT nCodePage = inputs.GetCodePage();
    CChartTemplate chartTemplate;
    if (!chartTemplate.SetText(inputs.GetTemplate(), SettleTemplatePath(line.strTemplate.c_str()))) {
        return Fail(line.strTemplate + " is too large");
    }
    // No data text is one page of the empty form.
    std::vector<std::string> pages = inputs.TakeDataTexts();
    if (pages.empty()) pages.emplace_back();

    const PageLayout layout = LayOutPages(line, *format, chartTemplate, nCodePage, static_cast<int>(pages.size()));
    const CChartGeometry& geometry = layout.geometry;
    PageSettings settings = layout.settings;
    settings.strOutput = line.output.value_or(std::string());

    // The command draws nothing but charts: the text library may take the
    // chart's fonts as the process's own instead of reading the system's
    // configuration a second time. Set once, before any thread draws.
    if (*format != Format::kTrace) CCairoDC::ShareFontsWithProcess();

    COutputFiles outputs;
    const int nJobs = line.jobs.value_or(AvailableCores());
    const std::unique_ptr<CPageOutput> pOutput = MakePageOutput(*format, settings, nJobs, outputs);
    CProgressLine progress(settings.nPages);
    const BOOL bFill = line.bFill ? 1 : 0;
    auto draw = [&](int nPage, CDC* pDC) {
        return DrawChartPage(pDC, geometry, chartTemplate, pages[static_cast<std::size_t>(nPage - 1)], bFill);
    };
    const bool bDrawn = DrawPages(*pOutput, nJobs, draw, progress, strError);
    progress.End();
    if (!bDrawn || !pOutput->Finish(strError) || !outputs.Commit(strError)) return Fail(strError);
    return kExitOk;
}

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
        if (RenderOnce(line) == kExitOk) Note("wrote " + *line.output + "; watching the input files");
        std::string strChanged;
        if (!watch.WaitForChange(kWatchQuietMs, strChanged, strError)) return Fail(strError);
        Note(strChanged + " changed");
    }
}

}  // namespace

int RunRender(const CommandLine& line) {
    return line.bWatch ? WatchAndRender(line) : RenderOnce(line);
}

}  // namespace cli
}  // namespace vitalchart
