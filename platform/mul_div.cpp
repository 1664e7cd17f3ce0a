#include "platform/mul_div.h"

#include <cstdint>

namespace vitalchart {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    // |a * b| < 2^62 and |c| <= 2^31, so everything fits in 64 bits.
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    bool bNegative = (product < 0) != (c < 0);
    std::uint64_t num = product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    std::uint64_t den =
        c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c)) : static_cast<std::uint64_t>(c);
    std::uint64_t quotient = (num + den / 2) / den;
    if (bNegative) {
        if (quotient > 0x80000000ull) return -1;
        return static_cast<int>(-static_cast<std::int64_t>(quotient));
    }
    if (quotient > 0x7FFFFFFFull) return -1;
    return static_cast<int>(quotient);
}

}  // namespace vitalchart
