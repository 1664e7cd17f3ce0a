#pragma once

#include <cstdint>
#include <string_view>

namespace vitalchart {
namespace crt {

// Number reading as the platform's C runtime does it, independent of the
// process locale: the decimal point is always '.'.

// Leading white space, an optional sign, then decimal digits up to the first
// other byte; 0 without digits. Values outside the int range saturate at
// INT_MIN / INT_MAX.
std::int32_t atoi(const char* pText);
// The same over a text that ends at its size (or at a zero byte before it).
std::int32_t atoi(std::string_view text);

// Leading white space, an optional sign, then the longest decimal number with
// an optional fraction and exponent; 0.0 when there is none, so the words
// "inf" and "nan" read as 0 as any other word does. Overflow gives an
// infinity, underflow 0.
double atof(const char* pText);
double atof(std::string_view text);

}  // namespace crt
}  // namespace vitalchart
