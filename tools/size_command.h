#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart size`: prints the width and height the template declares,
// as the shortest decimals that read back as the same floats. Returns 0, 1
// (with a message on standard error) when the template declares no size, or
// 2 when it cannot be read.
int RunSize(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
