#pragma once

#include <string>

#include "render/element_grammar.h"
#include "tools/check/finding_log.h"
#include "tools/check/tag_seen.h"

namespace vitalchart {
namespace cli {

// How atoi (or, with bDecimal, atof) reads a text: all of it (blanks around
// the number aside); a leading number with a unit or a word after it (12px,
// 36.5℃); a number cut short, where more figures follow a separator it
// stops at (37,5, 1 000, 3.5 read as a whole number); nothing (so 0); or an
// infinity.
enum class NumberForm { kWhole, kLeading, kCut, kNone, kNotFinite };

// The form in which the C runtime reads the text as a number.
NumberForm ClassifyNumber(const std::string& s, bool bDecimal);

// For a number cut short: where the reading stops, and how the number is
// written to be read whole, as " stops at ','; a decimal takes a point,
// '37.5'".
std::string DescribeCut(UINT nCodePage, const std::string& s, bool bDecimal);

// Explains values that the renderer reads otherwise than they are written:
// numbers with text after them or none at all, lengths written as positions,
// words it does not know, colours with missing figures, marker kinds that
// draw no marker, repeat counts above the bound and a scale of 0. How each
// value is read comes from the attribute's rule in the element grammar.
class CValueChecker {
public:
    // Findings go to the log, which outlives the checker.
    explicit CValueChecker(CFindingLog& log) : m_log(log), m_nCodePage(log.GetCodePage()) {}

    // Checks the value of every attribute of the tag's rule that the tag gives.
    void CheckValues(const TagSeen& tag);
    // Checks one value as the attribute's rule says it is read.
    void CheckValue(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue);
    // A family of one cell, and repeat counts above the renderer's bound.
    void CheckRepeat(const TagSeen& tag);
    // A scale of 0, which places no reading.
    void CheckScale(const TagSeen& tag);

private:
    void CheckNumber(const TagSeen& tag, const char* pszName, const std::string& strValue, bool bDecimal,
                     const std::string& strWhenZero);
    void CheckPosition(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue);
    void CheckSymbol(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue);
    void CheckWord(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue);
    void CheckColor(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue);

    CFindingLog& m_log;
    UINT m_nCodePage;
};

}  // namespace cli
}  // namespace vitalchart
