#include "tools/render_command.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "render/chart_page.h"
#include "render/chart_renderer.h"
#include "render/chart_template.h"
#include "tools/output_files.h"
#include "tools/page_sink.h"
#include "tools/progress_line.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;

// The template and the data texts, each read once.
struct RenderInputs {
    std::string strTemplate;
    std::vector<std::string> pages;  // one data text a page; no --data: one empty page
};

bool ReadInputs(const CommandLine& line, RenderInputs& rInputs, std::string& rError) {
    if (!ReadWholeFile(line.strTemplate, rInputs.strTemplate, rError)) return false;
    for (const std::string& strPath : line.dataFiles) {
        rInputs.pages.emplace_back();
        if (!ReadWholeFile(strPath, rInputs.pages.back(), rError)) return false;
        if (rInputs.pages.back().size() > 0x7FFFFFFFu) {
            rError = strPath + " is too large";
            return false;
        }
    }
    if (rInputs.pages.empty()) rInputs.pages.emplace_back();
    return true;
}

UINT CodePageOf(const CommandLine& line, const RenderInputs& inputs) {
    if (line.codePage) return *line.codePage;
    bool bUtf8 = IsValidUtf8(inputs.strTemplate);
    for (const std::string& strPage : inputs.pages) bUtf8 = bUtf8 && IsValidUtf8(strPage);
    return bUtf8 ? CP_UTF8 : CP_GBK;
}

// The chart's place on the page: --rect, else from the device origin to the
// size the template declares (167 by 213 mm when it declares none).
CChartGeometry Geometry(const CommandLine& line, int nDpi, const CChartTemplate& chartTemplate) {
    const ScalePair scaleX = line.scaleX.value_or(ScalePair{nDpi, 96});
    const ScalePair scaleY = line.scaleY.value_or(ScalePair{nDpi, 96});
    if (line.rect) return CChartGeometry(*line.rect, scaleX, scaleY);
    float fWidth = 167.0f;
    float fHeight = 213.0f;
    float fDeclaredWidth = 0.0f;
    float fDeclaredHeight = 0.0f;
    if (CChartRenderer().GetSizeByTemplet(&fDeclaredWidth, &fDeclaredHeight, chartTemplate)) {
        fWidth = fDeclaredWidth;
        fHeight = fDeclaredHeight;
    }
    const CChartGeometry scale(RECT{0, 0, 0, 0}, scaleX, scaleY);
    return CChartGeometry(RECT{0, 0, scale.MmToDeviceX(fWidth), scale.MmToDeviceY(fHeight)}, scaleX, scaleY);
}

}  // namespace

int RunRender(const CommandLine& line) {
    std::string strError;
    const std::optional<Format> format = ResolveFormat(line, strError);
    if (!format) return Fail(strError);
    if (*format != Format::kTrace && line.OutputIsStdout()) {
        return Fail(std::string(FormatName(*format)) + " output needs -o FILE");
    }

    RenderInputs inputs;
    if (!ReadInputs(line, inputs, strError)) return Fail(strError);
    const UINT nCodePage = CodePageOf(line, inputs);
    CChartTemplate chartTemplate;
    if (!chartTemplate.SetText(inputs.strTemplate, SettleTemplatePath(line.strTemplate.c_str()))) {
        return Fail(line.strTemplate + " is too large");
    }
    // The bytes live on in chartTemplate, which every page draws from.
    std::string().swap(inputs.strTemplate);

    PageSettings settings;
    settings.nDpi = line.dpi.value_or(*format == Format::kPdf ? 600 : 96);
    const CChartGeometry geometry = Geometry(line, settings.nDpi, chartTemplate);
    // The page holds the chart rectangle from the device origin.
    const RECT rect = geometry.GetRect();
    settings.nWidth = std::max(1, std::max(rect.left, rect.right));
    settings.nHeight = std::max(1, std::max(rect.top, rect.bottom));
    settings.strOutput = line.output.value_or(std::string());
    settings.nPages = static_cast<int>(inputs.pages.size());
    settings.nCodePage = nCodePage;
    settings.bPrinting = line.print.value_or(*format == Format::kPdf) ? 1 : 0;

    COutputFiles outputs;
    const std::unique_ptr<CPageSink> pSink = MakePageSink(*format, settings, outputs);
    CProgressLine progress(settings.nPages);
    auto fail = [&progress](const std::string& strMessage) {
        progress.End();
        return Fail(strMessage);
    };
    for (int nPage = 1; nPage <= settings.nPages; ++nPage) {
        if (!pSink->BeginPage(nPage, strError)) return fail(strError);
        const std::string& strData = inputs.pages[static_cast<std::size_t>(nPage - 1)];
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
