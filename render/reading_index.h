#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "markup/vital_record.h"
#include "render/item_array.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// The readings of one drawing pass by vital-sign name, built once, so that a
// curve or a text row visits its own readings only. Names match without
// regard to case as the multi-byte comparison of the code page matches them;
// each name's readings keep the order of the data text.
class CReadingIndex {
public:
    CReadingIndex(const CItemArray<CVitalRecord>& arrRecords, UINT nCodePage);

    // The readings whose name equals strName without regard to case, in data order.
    const std::vector<const CVitalRecord*>& Find(std::string_view name) const;

private:
    UINT m_nCodePage;
    std::unordered_map<std::string, std::vector<const CVitalRecord*>> m_byName;
};

}  // namespace vitalchart
