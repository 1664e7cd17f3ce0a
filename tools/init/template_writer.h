#pragma once

#include <string>

#include "tools/init/chart_plan.h"
#include "tools/init/chart_request.h"

namespace vitalchart {
namespace cli {

// The chart template of the plan, in UTF-8, commented: the size, pens and
// fonts, the patient's header, the ruling (families of lines where a ruled
// area repeats, single lines for the frame), the header rows with the time
// points, the scales, the band of events and reasons, the curves with the
// marks over them (rings where a rate meets a temperature, hatching of a
// pulse deficit when both rates are charted), the rows under the grid and
// the page number. Every position is written as the figure that the
// renderer reads as the plan's reference units.
std::string WriteChartTemplate(const ChartRequest& request, const ChartPlan& plan);

}  // namespace cli
}  // namespace vitalchart
