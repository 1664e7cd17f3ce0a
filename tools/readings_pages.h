#pragma once

#include <string_view>

#include "clinical/paginator.h"
#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// The command's readings laid out on the pages of a hospital's chart: the
// --profile, then the readings document (or the --fhir bundle read with its
// --map), paginated. Every finding goes to standard error as
// "vitalchart: FILE: /POINTER: MESSAGE"; with --strict a warning is an error.
// False after an error, and then no page is given; rPages still holds the
// report when pagination ran.
bool PaginateReadings(const CommandLine& line, clinical::CPagination& rPages);

// The mapping table --fhir uses without --map: profiles/fhir-map.json as
// shipped, built into the command.
std::string_view DefaultFhirMap();

}  // namespace cli
}  // namespace vitalchart
