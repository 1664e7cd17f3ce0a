#pragma once

#include <cstdint>
#include <string_view>

namespace vitalchart {

// One reading of the data text: a d tag. The texts are views into storage
// the owner of the reading keeps (the renderer's record store), so that a
// long data text costs little more than its own bytes.
class CVitalRecord {
public:
    std::string_view m_strName;              // "vitalsigns": the vital sign
    std::string_view m_strValues;            // "vitalsignsvalues": value text as written
    std::string_view m_strOriginalValues;    // "vitalsignsoriginalvalues"
    std::string_view m_strReason;            // "reason": why the reading was not taken; empty when it was
    std::int32_t m_nCellIndex = 0;           // "cellindex": the chart column
    std::int32_t m_nOriginalCellIndex = -1;  // "originalCellIndex"; -1: no original value column
    std::int32_t m_nSpecialSymbolFlag = 0;   // "specialSymbolFlag"
    char m_chComparator = 0;                 // "comparator": '<' or '>' when the value is only a bound, else 0
};

}  // namespace vitalchart
