#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart serve` as its own program, vitalchart-serve, found beside
// this one: the service's HTTP and TLS libraries are loaded by it alone, not
// by every render and check. The program replaces this process (same process
// id, so a signal sent to it reaches the service) and is given the same
// arguments. Returns 2, with a message, only when it cannot be started.
int RunServeProgram(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
