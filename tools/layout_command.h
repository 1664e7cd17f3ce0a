#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// vitalchart layout: draws each page as render does and lists what every
// element of the template drew, by line, as text, JSON or an SVG drawing of
// the chart with the elements' boxes over it. Exit 0, or 2 when a file
// cannot be read or written.
int RunLayout(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
