#pragma once

#include "render/chart_geometry.h"
#include "render/chart_template.h"
#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// The chart's size in millimetres as the template declares it, 167 by 213
// when it declares none.
struct ChartSizeMm {
    float fWidth;
    float fHeight;
};
ChartSizeMm DeclaredChartSize(const CChartTemplate& chartTemplate);

// The chart's place on the page as render lays it out: --rect, else from
// the device origin to the size the template declares (167 by 213 mm when it
// declares none), with --scale-x and --scale-y, else nDpi/96 on both axes.
CChartGeometry PlaceChart(const CommandLine& line, int nDpi, const CChartTemplate& chartTemplate);

// The page that holds the chart rectangle from the device origin, at least
// one unit a side, in device units.
struct PageSize {
    int nWidth;
    int nHeight;
};
PageSize PageSizeOf(const CChartGeometry& geometry);

}  // namespace cli
}  // namespace vitalchart
