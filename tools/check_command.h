#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/input_texts.h"
#include "tools/template_checker.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart check`: prints the findings for the template and its data
// files, one a line (or as JSON with --format json), then a summary. Returns
// 0 without warnings, 1 with warnings, 2 (with a message on standard error)
// when a file cannot be read.
int RunCheck(const CommandLine& line);

// The findings for the files the command line names, read into inputs: the
// checker's, and, with bEncodings, what is found of the files' encodings;
// but those that --disable or the texts' check comments silence, whose
// number goes to rnSilenced. Messages quote the texts' bytes as they are.
std::vector<Finding> CheckInputs(const CommandLine& line, const CInputTexts& inputs, bool bEncodings,
                                 std::size_t& rnSilenced);

// The number of warnings among the findings.
std::size_t CountWarnings(const std::vector<Finding>& findings);

// The findings in the compiler convention, FILE:LINE:COLUMN: SEVERITY:
// MESSAGE [CHECK], one a line, then the summary line (which counts the
// silenced findings when there are any). files[0] is the template, the rest
// the data files, indexed by Finding::nSource.
std::string FormatFindingsText(const std::vector<std::string>& files, const std::vector<Finding>& findings,
                               std::size_t nSilenced = 0);

// The same findings as one JSON object: {"files", "findings", "warnings",
// "notes", "silenced"}; always valid JSON, whatever bytes the messages hold.
std::string FormatFindingsJson(const std::vector<std::string>& files, const std::vector<Finding>& findings,
                               std::size_t nSilenced = 0);

// A JSON string literal of the bytes: quotes, backslashes and control bytes
// escaped, well-formed UTF-8 kept, every other byte written as \u00XX.
std::string JsonString(const std::string& strBytes);

}  // namespace cli
}  // namespace vitalchart
