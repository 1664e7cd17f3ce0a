#pragma once

#include <cstdint>
#include <string>

#include "clinical/field_reader.h"

namespace vitalchart::clinical {

// How the date row writes each day: one pattern for a page's first day, one
// where the year changes, one where the month changes, one for other days.
// Patterns use yyyy, yy, mm, m (month without a leading zero), dd and d;
// anything else is written as it is ("m月d日").
class CDateRowFormat {
public:
    // Reads {"pageStart", "yearChange", "monthChange", "otherDays"}, each
    // optional (yyyy-mm-dd, yyyy-mm-dd, mm-dd and mm-dd when absent).
    bool Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader);

    // The text for the day; bPageStart on a page's first day.
    std::string Format(std::int64_t nDay, bool bPageStart) const;
    // The day written with one pattern.
    static std::string Apply(const std::string& strPattern, std::int64_t nDay);

private:
    std::string m_strPageStart = "yyyy-mm-dd";
    std::string m_strYearChange = "yyyy-mm-dd";
    std::string m_strMonthChange = "mm-dd";
    std::string m_strOtherDays = "mm-dd";
};

}  // namespace vitalchart::clinical
