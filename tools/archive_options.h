#pragma once

#include "tools/command_line.h"

namespace CLI {
class App;
}

namespace vitalchart {
namespace cli {

// The archiving options, declared as those of command_options.h are.

// --paper NAME, --fit
void AddPaperOptions(CLI::App& app, CommandLine& rLine);
// --pdfa 2b, --title TEXT, --subject TEXT, --author TEXT
void AddPdfFinishOptions(CLI::App& app, CommandLine& rLine);
// batch: -o/--out-dir DIR, --jobs N, --combined FILE, --shard K/N
void AddBatchOptions(CLI::App& app, CommandLine& rLine);

}  // namespace cli
}  // namespace vitalchart
