#pragma once

#include <cstdint>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// Device geometry is 32-bit and wraps around as two's complement, as it does on
// the original platform. These do that arithmetic with defined behaviour.
constexpr std::int32_t WrapInt(std::uint32_t u) {
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u)
                            : static_cast<std::int32_t>(static_cast<std::int64_t>(u) - 0x100000000LL);
}
constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return WrapInt(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return WrapInt(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
    return WrapInt(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapNeg(std::int32_t a) {
    return WrapSub(0, a);
}
// Division truncated toward zero; INT_MIN / -1 wraps to INT_MIN and a zero
// divisor gives 0 instead of a trap.
constexpr std::int32_t WrapDiv(std::int32_t a, std::int32_t b) {
    return b == 0 ? 0 : WrapInt(static_cast<std::uint32_t>(static_cast<std::int64_t>(a) / b));
}

// The platform's double-to-int conversion: truncation toward zero, and INT_MIN
// for NaN or a value outside the int range.
std::int32_t DoubleToInt(double value);

// Rounds a double to single precision as the platform's FPU does: values
// beyond the float range become infinities instead of undefined behaviour.
float DoubleToFloat(double value);

// Moves a rectangle by (dx, dy), wrapping around like every device coordinate.
BOOL OffsetRect(RECT* pRect, int dx, int dy);

}  // namespace vitalchart
