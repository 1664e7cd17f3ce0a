#pragma once

#include <string>

#include "render/chart_geometry.h"
#include "render/chart_template.h"
#include "tools/command_line.h"
#include "tools/page_sink.h"

namespace vitalchart {
namespace cli {

// Where a render draws: the chart's place, and what every page shares (all
// but the output target).
struct PageLayout {
    CChartGeometry geometry;
    PageSettings settings;
};

// How nPages pages of the template are laid out in the format, as the render
// verb lays them out. The chart lies at --rect, else from the device origin
// to the size the template declares (167 by 213 mm when it declares none),
// at the scale pairs of --scale-x and --scale-y, else dpi/96; the page holds
// the chart's rectangle from the device origin. PDF is 600 dpi and prints,
// the other formats are 96 dpi and draw as a screen, unless --dpi, --print or
// --screen say otherwise.
PageLayout LayOutPages(const CommandLine& line, Format format, const CChartTemplate& chartTemplate, UINT nCodePage,
                       int nPages);

// Lays the pages out on a sheet of line.archive.strPaper instead: the page
// is the sheet, the chart rectangle lies in its middle at full size (shrunk
// to fit with line.archive.bFit). False, with rError saying why, when the
// paper is unknown, the chart does not fit, or the line also places the chart
// itself (--rect, --scale-x, --scale-y).
bool LayOutOnPaper(const CommandLine& line, const CChartTemplate& chartTemplate, PageLayout& rLayout,
                   std::string& rError);

}  // namespace cli
}  // namespace vitalchart
