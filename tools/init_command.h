#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// vitalchart init: writes a new, commented chart template for the paper,
// days, time points, scales, rows and language asked for, and a sample
// data text beside it (the -o name with .data for its extension). Exit 0,
// or 2 when the paper cannot hold the chart or a file cannot be written.
int RunInit(const CommandLine& line);

// The sample data text's name beside the template: "chart.xml" gives
// "chart.data", "chart" gives "chart.data".
std::string SampleDataPath(const std::string& strTemplate);

}  // namespace cli
}  // namespace vitalchart
