#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart batch`: draws every chart of the manifest (or of this
// run's --shard of it) as a PDF in the -o folder, --jobs charts at once,
// each written under its name only when complete; a chart whose file is
// there already is complete and not drawn again. A chart that fails is
// reported and the others go on. With --combined, once every chart is
// complete, also one PDF of them all. Prints a summary line on standard
// output. Returns 0 when every chart (and the combined PDF) is complete,
// 1 when any failed, 2 when the batch could not start or its summary could
// not be written.
int RunBatch(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
