#include "tools/page_layout.h"

#include "tools/chart_placement.h"

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

}  // namespace cli
}  // namespace vitalchart
