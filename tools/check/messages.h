#pragma once

#include <cstddef>
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

// A number in the shortest form that reads back.
std::string FormatNumber(double d);

// Millimetres to a tenth, "12.5 mm".
std::string FormatMm(double d);

// " (did you mean 'x'?)" for a suggestion; empty without one.
std::string DidYouMean(const std::string& strSuggestion);

}  // namespace cli
}  // namespace vitalchart
