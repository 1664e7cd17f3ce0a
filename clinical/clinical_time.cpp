#include "clinical/clinical_time.h"

#include <cstdio>

namespace vitalchart::clinical {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool IsLeap(int nYear) {
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(int nYear, int nMonth) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return nMonth == 2 && IsLeap(nYear) ? 29 : kDays[nMonth - 1];
}

// Reads exactly nDigits decimal digits at nPos.
bool Digits(std::string_view s, std::size_t nPos, std::size_t nDigits, int& rOut) {
    if (nPos + nDigits > s.size()) return false;
    int n = 0;
    for (std::size_t i = nPos; i < nPos + nDigits; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        n = n * 10 + (s[i] - '0');
    }
    rOut = n;
    return true;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

std::int64_t DaysFromCivil(int nYear, int nMonth, int nDay) {
    // Counted in 400-year eras starting on 1 March, so the leap day ends a year.
    const std::int64_t y = static_cast<std::int64_t>(nYear) - (nMonth <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (nMonth + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + nDay - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t nDays, int& rYear, int& rMonth, int& rDay) {
    const std::int64_t z = nDays + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    rDay = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    rMonth = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    rYear = static_cast<int>(yoe + era * 400 + (rMonth <= 2 ? 1 : 0));
}

std::int64_t DayOf(LocalSeconds t) {
    return FloorDiv(t.count(), kSecondsPerDay);
}

int SecondOfDay(LocalSeconds t) {
    return static_cast<int>(t.count() - DayOf(t) * kSecondsPerDay);
}

bool ParseTimeOfDay(std::string_view s, int& rSecond) {
    int h = 0;
    int m = 0;
    int sec = 0;
    if (s.size() != 8 || s[2] != ':' || s[5] != ':' || !Digits(s, 0, 2, h) || !Digits(s, 3, 2, m) ||
        !Digits(s, 6, 2, sec) || h > 23 || m > 59 || sec > 59) {
        return false;
    }
    rSecond = h * 3600 + m * 60 + sec;
    return true;
}

bool ParseUtcOffset(std::string_view s, int& rMinutes) {
    if (s == "Z") {
        rMinutes = 0;
        return true;
    }
    int h = 0;
    int m = 0;
    if (s.size() != 6 || (s[0] != '+' && s[0] != '-') || s[3] != ':' || !Digits(s, 1, 2, h) || !Digits(s, 4, 2, m) ||
        m > 59 || h * 60 + m > 14 * 60) {
        return false;
    }
    rMinutes = (s[0] == '-' ? -1 : 1) * (h * 60 + m);
    return true;
}

std::string FormatDay(std::int64_t nDay) {
    int y = 0;
    int m = 0;
    int d = 0;
    CivilFromDays(nDay, y, m, d);
    char sz[32];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d", y, m, d);
    return sz;
}

std::string FormatLocalTime(LocalSeconds t) {
    const int s = SecondOfDay(t);
    char sz[40];
    std::snprintf(sz, sizeof sz, " %02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return FormatDay(DayOf(t)) + sz;
}

bool CClinicalTime::Parse(std::string_view s, CClinicalTime& rOut, std::string& rWhy) {
    int y = 0;
    int mo = 0;
    int d = 0;
    if (s.size() < 10 || s[4] != '-' || s[7] != '-' || !Digits(s, 0, 4, y) || !Digits(s, 5, 2, mo) ||
        !Digits(s, 8, 2, d) || y < 1 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo)) {
        rWhy = "is not a date";
        return false;
    }
    CClinicalTime t;
    t.m_nDay = DaysFromCivil(y, mo, d);
    if (s.size() == 10) {
        rOut = t;
        return true;
    }
    int h = 0;
    int mi = 0;
    int sec = 0;
    std::size_t nPos = 16;
    if (s[10] != 'T' || s.size() < 16 || s[13] != ':' || !Digits(s, 11, 2, h) || !Digits(s, 14, 2, mi) || h > 23 ||
        mi > 59) {
        rWhy = "is not a date and time (yyyy-mm-ddThh:mm)";
        return false;
    }
    if (nPos < s.size() && s[nPos] == ':') {
        if (!Digits(s, nPos + 1, 2, sec) || sec > 59) {
            rWhy = "is not a date and time (its seconds)";
            return false;
        }
        nPos += 3;
        if (nPos < s.size() && s[nPos] == '.') {
            std::size_t nEnd = nPos + 1;
            while (nEnd < s.size() && s[nEnd] >= '0' && s[nEnd] <= '9') ++nEnd;
            if (nEnd == nPos + 1) {
                rWhy = "is not a date and time (its fraction of a second)";
                return false;
            }
            nPos = nEnd;
        }
    }
    t.m_bHasTime = true;
    t.m_nSecond = h * 3600 + mi * 60 + sec;
    if (nPos < s.size()) {
        if (!ParseUtcOffset(s.substr(nPos), t.m_nOffsetMinutes)) {
            rWhy = "has no valid UTC offset (Z or +hh:mm)";
            return false;
        }
        t.m_bHasOffset = true;
    }
    rOut = t;
    return true;
}

CClinicalTime CClinicalTime::FromLocal(LocalSeconds t) {
    CClinicalTime out;
    out.m_nDay = DayOf(t);
    out.m_nSecond = SecondOfDay(t);
    out.m_bHasTime = true;
    return out;
}

LocalSeconds CClinicalTime::ToLocal(int nOffsetMinutes) const {
    std::int64_t n = m_nDay * kSecondsPerDay + m_nSecond;
    if (m_bHasTime && m_bHasOffset) n += static_cast<std::int64_t>(nOffsetMinutes - m_nOffsetMinutes) * 60;
    return LocalSeconds(n);
}

}  // namespace vitalchart::clinical
