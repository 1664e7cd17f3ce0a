#pragma once

#include <cstdint>
#include <string>

namespace vitalchart {

// One reading of the data text: a d tag.
class CVitalRecord {
public:
    CVitalRecord() = default;
    virtual ~CVitalRecord() = default;

    std::string m_strName;                   // "vitalsigns": the vital sign
    std::int32_t m_nCellIndex = 0;           // "cellindex": the chart column
    std::string m_strValues;                 // "vitalsignsvalues": value text as written
    std::string m_strOriginalValues;         // "vitalsignsoriginalvalues"
    std::int32_t m_nOriginalCellIndex = -1;  // "originalCellIndex"; -1: no original value column
    std::int32_t m_nSpecialSymbolFlag = 0;   // "specialSymbolFlag"
};

}  // namespace vitalchart
