#pragma once

#include <string>

#include "tools/init/chart_plan.h"
#include "tools/init/chart_request.h"

namespace vitalchart {
namespace cli {

// A data text in UTF-8 for the template of the plan, one page of the same
// made-up stay whatever the chart's size: the patient's header, the dates
// and day counts, a fever after admission with oral and rectal readings
// among the axillary ones, a cooling re-measurement, an operation, a
// reading not taken, rates (a pulse that meets a temperature, a pulse
// deficit when heart rate is charted too) and every row under the grid.
// Every reading lies on its scale and in its own cell, so the pair checks
// clean.
std::string WriteSampleReadings(const ChartRequest& request, const ChartPlan& plan);

}  // namespace cli
}  // namespace vitalchart
