#include "tools/layout_command.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tools/chart_placement.h"
#include "tools/input_texts.h"
#include "tools/layout/layout_json.h"
#include "tools/layout/layout_svg.h"
#include "tools/layout/layout_text.h"
#include "tools/layout/page_layout.h"
#include "tools/output_files.h"
#include "tools/surface_module.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;

// Draws the page on an SVG drawing in a reserved file and lays the
// elements' boxes over it there.
bool WriteOverlaidSvg(const std::string& strTemp, const PageSize& size, int nDpi, BOOL bPrinting,
                      const CChartTemplate& chartTemplate, const std::string& strData, const CommandLine& line,
                      LayoutReport& rReport, std::string& rError) {
    PageLayout& rPage = rReport.pages.back();
    std::unique_ptr<CDC> pDC =
        CreateSvgSurface(strTemp, size.nWidth, size.nHeight, nDpi, rReport.nCodePage, bPrinting, rError);
    if (pDC == nullptr) return false;
    if (!LayOutPage(*pDC, rReport.geometry, chartTemplate, strData, line.bFill ? 1 : 0, rPage)) {
        rError = "out of memory drawing " + strTemp;
        return false;
    }
    if (!FinishSurface(*pDC)) {
        rError = SurfaceError(*pDC);
        return false;
    }
    std::string strSvg;
    return ReadWholeFile(strTemp, strSvg, rError) &&
           WriteBytes(strTemp, OverlayLayout(strSvg, rPage, rReport, nDpi), rError);
}

}  // namespace

int RunLayout(const CommandLine& line) {
    const Format format = line.format.value_or(Format::kText);
    if (format == Format::kSvg && line.OutputIsStdout()) return Fail("svg output needs -o FILE");

    std::string strError;
    CInputTexts inputs;
    if (!inputs.Read(line, strError)) return Fail(strError);
    for (const std::string& strConversion : inputs.GetConversions()) Note(strConversion);
    CChartTemplate chartTemplate;
    if (!chartTemplate.SetText(inputs.GetTemplate(), SettleTemplatePath(line.strTemplate.c_str()))) {
        return Fail(line.strTemplate + " is too large");
    }
    std::vector<std::string> pages = inputs.TakeDataTexts();
    if (pages.empty()) pages.emplace_back();

    const int nDpi = line.dpi.value_or(96);
    const BOOL bPrinting = line.print.value_or(false) ? 1 : 0;
    LayoutReport report;
    report.strTemplate = line.strTemplate;
    report.nCodePage = inputs.GetCodePage();
    report.geometry = PlaceChart(line, nDpi, chartTemplate);
    const PageSize size = PageSizeOf(report.geometry);
    // Texts are measured by the Cairo surface, with the fonts a picture has.
    if (LoadSurfaceModule(strError) == nullptr) return Fail(strError);
    ShareSurfaceFontsWithProcess();

    COutputFiles outputs;
    const int nPages = static_cast<int>(pages.size());
    for (int nPage = 1; nPage <= nPages; ++nPage) {
        const std::string& strData = pages[static_cast<std::size_t>(nPage - 1)];
        report.pages.emplace_back();
        if (static_cast<std::size_t>(nPage) <= line.dataFiles.size()) {
            report.pages.back().strData = line.dataFiles[static_cast<std::size_t>(nPage - 1)];
        }
        if (format == Format::kSvg) {
            const std::string strTarget = PageFileName(*line.output, nPage, nPages);
            const std::string strTemp = outputs.Reserve(strTarget, strError);
            if (strTemp.empty() ||
                !WriteOverlaidSvg(strTemp, size, nDpi, bPrinting, chartTemplate, strData, line, report, strError)) {
                return Fail(strError);
            }
            continue;
        }
        // A picture of one pixel: what is drawn does not matter, only what
        // the surface measures.
        std::unique_ptr<CDC> pDC = CreatePngSurface(1, 1, report.nCodePage, bPrinting, strError);
        if (pDC == nullptr) return Fail(strError);
        if (!LayOutPage(*pDC, report.geometry, chartTemplate, strData, line.bFill ? 1 : 0, report.pages.back())) {
            return Fail("out of memory drawing page " + std::to_string(nPage));
        }
    }
    if (format != Format::kSvg) {
        const std::string strText = format == Format::kJson ? LayoutJson(report) : LayoutText(report);
        if (line.OutputIsStdout()) {
            std::cout << strText << std::flush;
            return std::cout ? kExitOk : Fail("cannot write to standard output");
        }
        const std::string strTemp = outputs.Reserve(*line.output, strError);
        if (strTemp.empty() || !WriteBytes(strTemp, strText, strError)) return Fail(strError);
    }
    if (!outputs.Commit(strError)) return Fail(strError);
    return kExitOk;
}

}  // namespace cli
}  // namespace vitalchart
