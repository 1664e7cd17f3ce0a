#include "tools/page_layout.h"

#include "tools/chart_placement.h"
#include "tools/paper.h"

namespace vitalchart {
namespace cli {

PageLayout LayOutPages(const CommandLine& line, Format format, const CChartTemplate& chartTemplate, UINT nCodePage,
                       int nPages) {
    PageLayout layout;
    PageSettings& settings = layout.settings;
    settings.nDpi = line.dpi.value_or(format == Format::kPdf ? 600 : 96);
    layout.geometry = PlaceChart(line, settings.nDpi, chartTemplate);
    const PageSize page = PageSizeOf(layout.geometry);
    settings.nWidth = page.nWidth;
    settings.nHeight = page.nHeight;
    settings.nPages = nPages;
    settings.nCodePage = nCodePage;
    settings.bPrinting = line.print.value_or(format == Format::kPdf) ? 1 : 0;
    if (line.pngCompression) settings.nPngCompression = *line.pngCompression;
    return layout;
}

bool LayOutOnPaper(const CommandLine& line, const CChartTemplate& chartTemplate, PageLayout& rLayout,
                   std::string& rError) {
    if (line.rect || line.scaleX || line.scaleY) {
        rError =
            "--paper places the chart at full size in the middle of the sheet; it does not go with --rect, "
            "--scale-x or --scale-y";
        return false;
    }
    const PaperSize* pPaper = FindPaper(line.archive.strPaper);
    if (pPaper == nullptr) {
        rError = "unknown paper '" + line.archive.strPaper + "' (known: " + PaperNames() + ")";
        return false;
    }
    const ChartSizeMm size = DeclaredChartSize(chartTemplate);
    PaperPlacement placement;
    if (!PlaceOnPaper(*pPaper, size.fWidth, size.fHeight, rLayout.settings.nDpi, line.archive.bFit, placement,
                      rError)) {
        return false;
    }
    rLayout.geometry = CChartGeometry(placement.rcChart, placement.scaleX, placement.scaleY);
    rLayout.settings.nWidth = placement.nPageWidth;
    rLayout.settings.nHeight = placement.nPageHeight;
    return true;
}

}  // namespace cli
}  // namespace vitalchart
