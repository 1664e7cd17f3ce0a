#pragma once

#include "tools/command_line.h"

namespace CLI {
class App;
}

namespace vitalchart {
namespace cli {

// --listen HOST:PORT, --templates DIR, --profiles DIR, --workers N, --queue N,
// --max-body BYTES, --time-limit MS
void AddServeOptions(CLI::App& app, CommandLine& rLine);

}  // namespace cli
}  // namespace vitalchart
