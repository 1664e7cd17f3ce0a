#pragma once

#include <string>

#include "tools/layout/layout_report.h"

namespace vitalchart {
namespace cli {

// The layout as lines for a terminal: a heading per page, then one line per
// element in walk order, LINE:COLUMN first, with its box in device units and
// in millimetres, the pen or font it drew with, and what it drew.
std::string LayoutText(const LayoutReport& report);

}  // namespace cli
}  // namespace vitalchart
