#pragma once

#include <string>

#include "tools/layout/layout_report.h"

namespace vitalchart {
namespace cli {

// The layout as one JSON document (UTF-8, texts converted from the template's
// code page): the chart rectangle and scale pairs, then per page every
// element with its line and column, its box in device units and millimetres,
// the pen and font in force, and each line, figure and text it drew.
std::string LayoutJson(const LayoutReport& report);

}  // namespace cli
}  // namespace vitalchart
