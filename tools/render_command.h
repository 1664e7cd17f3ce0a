#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart render`: reads the template once, draws one page per data
// text on the surface of the chosen format, on --jobs threads, and writes the
// pages atomically.
// Returns the exit code (0, or 2 with a message on standard error).
int RunRender(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
