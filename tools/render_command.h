#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart render`: one page per data text, drawn through DrawPlugin
// on a surface of the chosen format and written atomically. Returns the exit
// code (0, or 2 with a message on standard error).
int RunRender(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
