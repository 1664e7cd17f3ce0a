#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart paginate`: lays the readings (or the FHIR bundle) out with
// the profile and writes page-1.data, page-2.data, ... into --out-dir, all
// or none; --report lists where each input went on standard output. Returns
// 0, or 2 with the findings on standard error and no file written.
int RunPaginate(const CommandLine& line);

}  // namespace cli
}  // namespace vitalchart
