#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// How the findings' messages write texts, names and numbers.

// A text in quotes, control bytes as \xhh, a long text cut after 40 bytes
// (never inside a character of the code page).
std::string Show(UINT nCodePage, const std::string& s);

// "1 reading", "3 readings".
std::string Plural(std::size_t n, const char* pszOne, const char* pszMany);

// A list of names as "'a'", "'a' and 'b'" or "'a', 'b' and 'c'" (or with
// another last joiner, such as " or ").
std::string ListNames(const std::vector<std::string>& names, const char* pszLast = " and ");

// Line numbers as "line 5", "lines 5 and 9" or "lines 28-36, 40 and 52":
// sorted, each once, runs of three or more joined, and at most eight items
// before "and 3 more".
std::string LineList(std::vector<std::int32_t> lines);

// A number in the shortest form that reads back.
std::string FormatNumber(double d);

// Millimetres to a tenth, "12.5 mm".
std::string FormatMm(double d);

// " (did you mean 'x'?)" for a suggestion; empty without one.
std::string DidYouMean(const std::string& strSuggestion);

}  // namespace cli
}  // namespace vitalchart
