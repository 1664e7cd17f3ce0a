#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "markup/tag_attributes.h"
#include "platform/string_map.h"

namespace vitalchart {

// Longest tag name, attribute name or style key kept; longer ones are cut.
constexpr int kMaxNameLength = 31;

// One thing the scanner met while reading a tag. Positions are byte indices
// in the line.
struct ScanEvent {
    enum Kind {
        kAttribute,  // a value stored under strName: nPos where the name began, nEnd where the value began
        kNameCut,    // a name of more than kMaxNameLength bytes, from nPos to nEnd, was cut
        kSemicolon,  // the value of strName ended at the semicolon at nPos
        kUnquoted,   // the byte at nPos, skipped unexamined after strName's '=', is not a double quote
        kLineEnd,    // the line ended (at nPos) before the tag did
    };
    Kind kind;
    std::int32_t nPos;
    std::int32_t nEnd;
    std::string strName;
};

// What the scanner met in one tag, in scanning order, for tools that explain
// a template. The scanner reads exactly the same with or without it.
struct CScanNotes {
    std::vector<ScanEvent> events;
};

// Reads the name of the tag at nPos: skips the byte there (the opening
// bracket, unexamined) and a slash after it, then collects bytes up to a blank
// or '>', where the position is left. Stops at the line's end. The name is a
// view into the line, cut to kMaxNameLength bytes; a cut name is noted in
// pNotes when given. The line is read only up to nLength.
std::string_view ReadTagNameView(const char* pszLine, std::int32_t nLength, std::int32_t& nPos,
                                 CScanNotes* pNotes = nullptr);
// The same as a text of its own.
std::string ReadTagName(const char* pszLine, std::int32_t nLength, std::int32_t& nPos, CScanNotes* pNotes = nullptr);

// Reads the rest of the tag from where ReadTagName stopped into rTag (cleared
// first): the attributes, and the pairs of a "props" attribute as styles.
// Leaves the position just past the tag, or at the line's end when the line
// ends first. pNotes, when given, receives what happened on the way.
void ScanAttributes(const char* pszLine, std::int32_t nLength, CTagAttributes& rTag, std::int32_t& nPos,
                    CScanNotes* pNotes = nullptr);

// ScanAttributes into an attribute map and a style map (storing a key again
// replaces its value).
void ParseAttributes(const char* pszLine, std::int32_t nLength, CMapStringToString& mapAttributes,
                     CMapStringToString& mapStyles, std::int32_t& nPos, CScanNotes* pNotes = nullptr);

}  // namespace vitalchart
