#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clinical/field_reader.h"

namespace vitalchart::clinical {

// The days-after-surgery row. The day of an operation counts as countFrom
// (or shows the dayOfSurgery word), each later day one more, for `days` days
// after the latest operation. A later operation restarts the count, written
// with its Roman numeral (II-3) or, while the earlier count still runs, as a
// fraction of the new count over the earlier ones (1/6).
class CSurgeryCounter {
public:
    enum ENextOperation { kRoman, kFraction };

    // Reads {"row", "countFrom", "dayOfSurgery", "days", "nextOperation"}.
    bool Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader);

    // The row's text for the day, given every operation's day in time order;
    // empty before the first operation and once the count has stopped.
    std::string TextFor(std::int64_t nDay, const std::vector<std::int64_t>& arrOperationDays) const;

private:
    std::string Count(std::int64_t nDaysAfter) const;

    int m_nCountFrom = 0;
    std::string m_strDayOfSurgery;
    int m_nDays = 14;
    ENextOperation m_nNext = kRoman;
};

// The Roman numeral of n (1 to 3999), "II" for 2.
std::string RomanNumeral(int n);

}  // namespace vitalchart::clinical
