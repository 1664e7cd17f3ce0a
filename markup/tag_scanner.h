#pragma once

#include <cstdint>
#include <string>

#include "platform/string_map.h"

namespace vitalchart {

// Longest tag name, attribute name or style key kept; longer ones are cut.
constexpr int kMaxNameLength = 31;

// Reads the name of the tag at nPos: skips the byte there (the opening
// bracket, unexamined) and a slash after it, then collects bytes up to a blank
// or '>', where the position is left. Stops at the line's end.
std::string ReadTagName(const char* pszLine, std::int32_t nLength, std::int32_t& nPos);

// Reads the rest of the tag from where ReadTagName stopped: attributes into
// mapAttributes, the pairs of a "props" attribute into mapStyles. Leaves the
// position just past the tag, or at the line's end when the line ends first.
void ParseAttributes(const char* pszLine, std::int32_t nLength, CMapStringToString& mapAttributes,
                     CMapStringToString& mapStyles, std::int32_t& nPos);

}  // namespace vitalchart
