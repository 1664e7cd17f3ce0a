#include "tools/render_command.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "render/chart_page.h"
#include "render/chart_template.h"
#include "tools/input_texts.h"
#include "tools/output_files.h"
#include "tools/page_layout.h"
#include "tools/page_sink.h"
#include "tools/progress_line.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;

}  // namespace

int RunRender(const CommandLine& line) {
    std::string strError;
    const std::optional<Format> format = ResolveFormat(line, strError);
    if (!format) return Fail(strError);
    if (*format != Format::kTrace && line.OutputIsStdout()) {
        return Fail(std::string(FormatName(*format)) + " output needs -o FILE");
    }

    CInputTexts inputs;
    if (!inputs.Read(line, strError)) return Fail(strError);
    for (const std::string& strConversion : inputs.GetConversions()) Note(strConversion);
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

    COutputFiles outputs;
    const std::unique_ptr<CPageSink> pSink = MakePageSink(*format, settings, outputs);
    CProgressLine progress(settings.nPages);
    auto fail = [&progress](const std::string& strMessage) {
        progress.End();
        return Fail(strMessage);
    };
    for (int nPage = 1; nPage <= settings.nPages; ++nPage) {
        if (!pSink->BeginPage(nPage, strError)) return fail(strError);
        const std::string& strData = pages[static_cast<std::size_t>(nPage - 1)];
        if (!DrawChartPage(pSink->GetSurface(), geometry, chartTemplate, strData, line.bFill ? 1 : 0)) {
            return fail("out of memory drawing page " + std::to_string(nPage));
        }
        progress.Page(nPage);
        if (!pSink->EndPage(strError)) return fail(strError);
    }
    progress.End();
    if (!pSink->Finish(strError) || !outputs.Commit(strError)) return Fail(strError);
    return kExitOk;
}

}  // namespace cli
}  // namespace vitalchart
