#pragma once

#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/template_checker.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart check`: prints the findings for the template and its data
// files, one a line (or as JSON with --format json), then a summary. Returns
// 0 without warnings, 1 with warnings, 2 (with a message on standard error)
// when a file cannot be read.
int RunCheck(const CommandLine& line);

// The findings in the compiler convention, FILE:LINE:COLUMN: SEVERITY:
// MESSAGE [CHECK], one a line, then the summary line. files[0] is the
// template, the rest the data files, indexed by Finding::nSource.
std::string FormatFindingsText(const std::vector<std::string>& files, const std::vector<Finding>& findings);

// The same findings as one JSON object: {"files", "findings", "warnings",
// "notes"}; always valid JSON, whatever bytes the messages hold.
std::string FormatFindingsJson(const std::vector<std::string>& files, const std::vector<Finding>& findings);

// A JSON string literal of the bytes: quotes, backslashes and control bytes
// escaped, well-formed UTF-8 kept, every other byte written as \u00XX.
std::string JsonString(const std::string& strBytes);

}  // namespace cli
}  // namespace vitalchart
