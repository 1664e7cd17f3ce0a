#pragma once

#include <string>

namespace vitalchart {

// Element codes of the chart template.
enum ElementCode : int {
    kElementUnknown = -1,
    kElementSign = 100,       // vitalsign
    kElementPen = 101,        // vitalpen
    kElementFont = 102,       // vitalfont
    kElementLine = 103,       // vitalline
    kElementText = 104,       // vitaltext
    kElementLineOut = 105,    // vitallineout
    kElementTextOut = 106,    // vitaltextout
    kElementSize = 107,       // vitalsize
    kElementLineBlock = 108,  // vitallineblock
};

// The table of template element names, searched in a fixed order.
class CKeywordTable {
public:
    CKeywordTable() = default;
    virtual ~CKeywordTable();

    // The element code of the name, matched exactly (letter case counts), or -1.
    int FindKeyword(const std::string& strName) const;

    // Number of entries and the name of one, in search order (for tools that
    // suggest a known name for a misspelt one).
    static int GetCount();
    static const char* GetName(int nIndex);
};

}  // namespace vitalchart
