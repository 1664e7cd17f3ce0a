#pragma once

#include <string>
#include <vector>

#include "clinical/field_reader.h"

namespace vitalchart::clinical {

// Which of a day's time-slot columns a time of day falls in. Either
// intervals, each from one second to another, both inclusive, covering the
// day without gap or overlap; or slot centres, a time going to the nearest
// centre of its own day (ties to the earlier or the later slot as the
// profile says).
class CSlotRule {
public:
    // Reads {"rule": "intervals", "slots": [{"label", "from", "to"}…]} or
    // {"rule": "nearest", "slots": [{"label", "centre"}…], "ties": …}.
    bool Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader);

    int GetSlotCount() const { return static_cast<int>(m_arrLabels.size()); }
    const std::string& GetLabel(int nSlot) const { return m_arrLabels[static_cast<std::size_t>(nSlot)]; }
    // The slot (0 to GetSlotCount() - 1) of a second of the day (0 to 86399).
    int SlotOf(int nSecondOfDay) const;

private:
    bool m_bNearest = false;
    bool m_bTiesLater = false;
    std::vector<std::string> m_arrLabels;
    // Intervals: the first second of each slot. Nearest: each slot's centre.
    std::vector<int> m_arrSeconds;
};

}  // namespace vitalchart::clinical
