#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart serve`: the chart service on HTTP (see chart_service.h)
// until SIGTERM or SIGINT, which end it once the requests in flight are
// answered (exit 0). Prints the address it serves on one line of standard
// output first. Returns 2, with a message, when it cannot start.
int RunServe(const CommandLine& line);

// Host and port of --listen: "HOST:PORT", "[IPV6]:PORT"; false when malformed.
bool ParseListenAddress(const std::string& strListen, std::string& rHost, int& rPort);

}  // namespace cli
}  // namespace vitalchart
