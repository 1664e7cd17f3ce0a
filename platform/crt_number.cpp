#include "platform/crt_number.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace vitalchart {
namespace crt {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::int32_t atoi(const char* pText) {
    if (pText == nullptr) return 0;
    const char* p = pText;
    while (IsSpace(*p)) ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-') bNegative = (*p++ == '-');
    std::int64_t limit = bNegative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        if (value < limit) {
            value = value * 10 + (*p - '0');
            if (value > limit) value = limit;
        }
    }
    return static_cast<std::int32_t>(bNegative ? -value : value);
}

double atof(const char* pText) {
    if (pText == nullptr) return 0.0;
    const char* p = pText;
    while (IsSpace(*p)) ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-') bNegative = (*p++ == '-');
    double sign = bNegative ? -1.0 : 1.0;

    // Find the extent of digits [. digits] [e [sign] digits].
    const char* start = p;
    const char* q = p;
    bool bDigits = false;
    bool bNonZero = false;
    long long nLeadExponent = 0;  // decimal exponent of the first non-zero digit, roughly
    bool bSeenPoint = false;
    long long nIntDigits = 0;
    long long nLeadingFractionZeros = 0;
    for (;; ++q) {
        if (IsDigit(*q)) {
            bDigits = true;
            if (*q != '0') bNonZero = true;
            if (!bSeenPoint) {
                if (bNonZero) ++nIntDigits;
            } else if (!bNonZero) {
                ++nLeadingFractionZeros;
            }
        } else if (*q == '.' && !bSeenPoint) {
            bSeenPoint = true;
        } else {
            break;
        }
    }
    if (!bDigits) return 0.0;
    const char* end = q;
    long long nExponent = 0;
    if (*q == 'e' || *q == 'E') {
        const char* r = q + 1;
        bool bExpNegative = false;
        if (*r == '+' || *r == '-') bExpNegative = (*r++ == '-');
        if (IsDigit(*r)) {
            for (; IsDigit(*r); ++r) {
                if (nExponent < 1000000000LL) nExponent = nExponent * 10 + (*r - '0');
            }
            if (bExpNegative) nExponent = -nExponent;
            end = r;
        }
    }
    if (!bNonZero) return sign * 0.0;
    nLeadExponent = nIntDigits > 0 ? nIntDigits + nExponent : nExponent - nLeadingFractionZeros;

    double value = 0.0;
    auto result = std::from_chars(start, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = nLeadExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return sign * value;
}

}  // namespace crt
}  // namespace vitalchart
