#include "platform/int_math.h"

#include <climits>
#include <cmath>
#include <limits>

namespace vitalchart {

std::int32_t DoubleToInt(double value) {
    // Only values strictly between INT_MIN - 1 and INT_MAX + 1 truncate into range.
    if (std::isnan(value) || value <= -2147483649.0 || value >= 2147483648.0) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

float DoubleToFloat(double value) {
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    // Beyond the largest float, round-to-nearest overflows to infinity.
    constexpr double kOverflow = 3.4028235677973366e38;  // FLT_MAX plus half an ulp
    if (value >= kOverflow) return std::numeric_limits<float>::infinity();
    if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::max();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

BOOL OffsetRect(RECT* pRect, int dx, int dy) {
    if (pRect == nullptr) return 0;
    pRect->left = WrapAdd(pRect->left, dx);
    pRect->right = WrapAdd(pRect->right, dx);
    pRect->top = WrapAdd(pRect->top, dy);
    pRect->bottom = WrapAdd(pRect->bottom, dy);
    return 1;
}

}  // namespace vitalchart
