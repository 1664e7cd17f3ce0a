#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace vitalchart::clinical {

// Seconds on the hospital's wall clock since 1970-01-01 00:00 (its local
// epoch); days and pages are counted on this clock.
using LocalSeconds = std::chrono::duration<std::int64_t>;
using Days = std::chrono::duration<std::int64_t, std::ratio<86400>>;

// Days from 1970-01-01 to the proleptic Gregorian date (negative before it).
std::int64_t DaysFromCivil(int nYear, int nMonth, int nDay);
// The date of a day count from 1970-01-01.
void CivilFromDays(std::int64_t nDays, int& rYear, int& rMonth, int& rDay);
// The day a local time falls on, and the second within that day.
std::int64_t DayOf(LocalSeconds t);
int SecondOfDay(LocalSeconds t);
// "hh:mm:ss" (00:00:00 to 23:59:59) as the second of the day.
bool ParseTimeOfDay(std::string_view strText, int& rSecond);
// "+hh:mm", "-hh:mm" or "Z" as minutes east of UTC (at most 14 hours).
bool ParseUtcOffset(std::string_view strText, int& rMinutes);
// "yyyy-mm-dd hh:mm:ss" of a local time, or "yyyy-mm-dd" of a day.
std::string FormatLocalTime(LocalSeconds t);
std::string FormatDay(std::int64_t nDay);

// A time as a clinical record writes it: a date, optionally a time of day to
// the second (fractions are dropped), optionally a UTC offset.
class CClinicalTime {
public:
    // Reads "yyyy-mm-dd" or "yyyy-mm-ddThh:mm[:ss[.f…]]" followed by "Z" or
    // "±hh:mm" or nothing (the hospital's own clock). On failure rWhy says
    // what the text is not ("is not a date", ...).
    static bool Parse(std::string_view strText, CClinicalTime& rOut, std::string& rWhy);
    static CClinicalTime FromLocal(LocalSeconds t);

    bool HasTime() const { return m_bHasTime; }
    // The time on the clock of a hospital nOffsetMinutes east of UTC; a date
    // alone is that date's midnight.
    LocalSeconds ToLocal(int nOffsetMinutes) const;

private:
    std::int64_t m_nDay = 0;
    int m_nSecond = 0;
    bool m_bHasTime = false;
    bool m_bHasOffset = false;
    int m_nOffsetMinutes = 0;
};

}  // namespace vitalchart::clinical
