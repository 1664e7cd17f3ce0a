#include "tools/document_time.h"

#include <charconv>
#include <cstdlib>
#include <ctime>

namespace vitalchart {
namespace cli {

namespace {

// 9999-12-31T23:59:59Z, the last moment a four-digit year writes.
constexpr std::int64_t kLastSecond = 253402300799;

struct CivilTime {
    int nYear, nMonth, nDay, nHour, nMinute, nSecond;
};

// The days-from-civil algorithm backwards: no time zone, no locale, no
// library limit on time_t.
CivilTime Civil(std::int64_t nSeconds) {
    std::int64_t nDays = nSeconds / 86400;
    std::int64_t nRest = nSeconds % 86400;
    if (nRest < 0) {
        nRest += 86400;
        --nDays;
    }
    nDays += 719468;
    const std::int64_t nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
    const std::int64_t nDayOfEra = nDays - nEra * 146097;
    const std::int64_t nYearOfEra = (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const std::int64_t nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const std::int64_t nMonthIndex = (5 * nDayOfYear + 2) / 153;
    CivilTime t;
    t.nDay = static_cast<int>(nDayOfYear - (153 * nMonthIndex + 2) / 5 + 1);
    t.nMonth = static_cast<int>(nMonthIndex < 10 ? nMonthIndex + 3 : nMonthIndex - 9);
    t.nYear = static_cast<int>(nYearOfEra + nEra * 400 + (t.nMonth <= 2 ? 1 : 0));
    t.nHour = static_cast<int>(nRest / 3600);
    t.nMinute = static_cast<int>(nRest / 60 % 60);
    t.nSecond = static_cast<int>(nRest % 60);
    return t;
}

std::string Digits(int n, int nWidth) {
    std::string str = std::to_string(n);
    return std::string(str.size() < static_cast<std::size_t>(nWidth) ? nWidth - str.size() : 0, '0') + str;
}

}  // namespace

bool DocumentTime(std::int64_t& rSeconds, std::string& rError) {
    const char* pszEpoch = std::getenv("SOURCE_DATE_EPOCH");
    if (pszEpoch == nullptr) {
        rSeconds = static_cast<std::int64_t>(std::time(nullptr));
        return true;
    }
    const std::string strEpoch = pszEpoch;
    std::int64_t nSeconds = -1;
    const auto result = std::from_chars(strEpoch.data(), strEpoch.data() + strEpoch.size(), nSeconds);
    if (strEpoch.empty() || result.ec != std::errc() || result.ptr != strEpoch.data() + strEpoch.size() ||
        nSeconds < 0 || nSeconds > kLastSecond) {
        rError = "SOURCE_DATE_EPOCH is '" + strEpoch + "', not a whole number of seconds since 1970";
        return false;
    }
    rSeconds = nSeconds;
    return true;
}

std::string PdfDate(std::int64_t nSeconds) {
    const CivilTime t = Civil(nSeconds);
    return "D:" + Digits(t.nYear, 4) + Digits(t.nMonth, 2) + Digits(t.nDay, 2) + Digits(t.nHour, 2) +
           Digits(t.nMinute, 2) + Digits(t.nSecond, 2) + "Z";
}

std::string XmpDate(std::int64_t nSeconds) {
    const CivilTime t = Civil(nSeconds);
    return Digits(t.nYear, 4) + "-" + Digits(t.nMonth, 2) + "-" + Digits(t.nDay, 2) + "T" + Digits(t.nHour, 2) + ":" +
           Digits(t.nMinute, 2) + ":" + Digits(t.nSecond, 2) + "Z";
}

}  // namespace cli
}  // namespace vitalchart
