#include "platform/crt_number.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace vitalchart {
namespace crt {

namespace {

// The C runtime reads up to a zero byte; a view ends at its size or at an
// embedded zero byte, whichever comes first, so both read alike.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::int32_t atoi(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && IsSpace(*p)) ++p;
    bool bNegative = false;
    if (p < end && (*p == '+' || *p == '-')) bNegative = (*p++ == '-');
    const std::int64_t limit = bNegative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; p < end && IsDigit(*p); ++p) {
        if (value < limit) {
            value = value * 10 + (*p - '0');
            if (value > limit) value = limit;
        }
    }
    return static_cast<std::int32_t>(bNegative ? -value : value);
}

std::int32_t atoi(const char* pText) {
    return pText == nullptr ? 0 : atoi(std::string_view(pText));
}

double atof(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && IsSpace(*p)) ++p;
    bool bNegative = false;
    if (p < end && (*p == '+' || *p == '-')) bNegative = (*p++ == '-');
    const double sign = bNegative ? -1.0 : 1.0;

    // The extent of digits [. digits] [e [sign] digits].
    const char* start = p;
    const char* q = p;
    bool bDigits = false;
    bool bNonZero = false;
    bool bSeenPoint = false;
    long long nIntDigits = 0;
    long long nLeadingFractionZeros = 0;
    for (; q < end; ++q) {
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
    const char* last = q;
    long long nExponent = 0;
    if (q < end && (*q == 'e' || *q == 'E')) {
        const char* r = q + 1;
        bool bExpNegative = false;
        if (r < end && (*r == '+' || *r == '-')) bExpNegative = (*r++ == '-');
        if (r < end && IsDigit(*r)) {
            for (; r < end && IsDigit(*r); ++r) {
                if (nExponent < 1000000000LL) nExponent = nExponent * 10 + (*r - '0');
            }
            if (bExpNegative) nExponent = -nExponent;
            last = r;
        }
    }
    if (!bNonZero) return sign * 0.0;
    // The decimal exponent of the first non-zero digit, roughly: which way an
    // out-of-range value lies.
    const long long nLeadExponent = nIntDigits > 0 ? nIntDigits + nExponent : nExponent - nLeadingFractionZeros;

    double value = 0.0;
    const auto result = std::from_chars(start, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = nLeadExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return sign * value;
}

double atof(const char* pText) {
    return pText == nullptr ? 0.0 : atof(std::string_view(pText));
}

}  // namespace crt
}  // namespace vitalchart
