#pragma once

#include <string>
#include <string_view>

namespace vitalchart::clinical {

// One reading of a data text: a d tag's attributes.
struct CDataTag {
    std::string m_strName;
    std::string m_strValue;
    int m_nCell = 0;
    // A cooling re-measurement's link: the value it follows and that value's
    // column (-1: the same column).
    bool m_bLinked = false;
    std::string m_strOriginalValue;
    int m_nOriginalCell = -1;
    // 1 or 2 choose the curve's special markers; 0 writes nothing.
    int m_nFlag = 0;
    // "<" or ">" when the value is only a bound; empty otherwise.
    std::string m_strComparator;
    // The word for a reading not taken (the value is then empty).
    std::string m_strReason;
};

// Writes a data text, one d tag a line, UTF-8, attributes in the order the
// renderer's own examples use: vitalsigns, vitalsignsvalues, cellindex, the
// link, specialSymbolFlag, comparator, reason.
class CDataTextWriter {
public:
    // Appends the tag as one line. False, with nothing written, when one of
    // its texts is not IsSafeText.
    bool Write(const CDataTag& tag);
    const std::string& GetText() const { return m_strText; }

    // True when a data text can carry the text as an attribute value: no
    // double quote or semicolon (either would end the value early) and no
    // control byte (a line feed would end the tag).
    static bool IsSafeText(std::string_view strText);

private:
    std::string m_strText;
};

}  // namespace vitalchart::clinical
