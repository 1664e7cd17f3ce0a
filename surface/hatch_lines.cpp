#include "surface/hatch_lines.h"

#include <algorithm>
#include <cstdint>

#include "platform/int_math.h"

namespace vitalchart {

namespace {

// The coordinate along which the lines are spaced: x + y or x - y.
std::int64_t Across(const POINT& p, bool bRising) {
    return bRising ? std::int64_t{p.x} + p.y : std::int64_t{p.x} - p.y;
}

// a * b / c rounded to the nearest integer, halves away from zero, for
// |a|, |b| and |c| below 2^40 and a quotient that fits in 64 bits. The
// product can pass 2^63, so it is carried in 16-bit pieces: exact, and the
// same on every platform, 32-bit ones included.
std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
    const bool bNegative = ((a < 0) != (b < 0)) != (c < 0);
    const std::uint64_t ua = a < 0 ? 0 - static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
    const std::uint64_t ub = b < 0 ? 0 - static_cast<std::uint64_t>(b) : static_cast<std::uint64_t>(b);
    const std::uint64_t uc = c < 0 ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
    // The product, least significant piece first: three pieces of a times
    // three of b fill at most six of the eight.
    std::uint64_t pieces[8] = {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) pieces[i + j] += ((ua >> (16 * i)) & 0xFFFF) * ((ub >> (16 * j)) & 0xFFFF);
    }
    // Half the divisor added, for rounding, then the carries settled.
    pieces[0] += uc / 2;
    for (int i = 0; i < 7; ++i) {
        pieces[i + 1] += pieces[i] >> 16;
        pieces[i] &= 0xFFFF;
    }
    // Long division from the most significant piece: the remainder stays
    // below the divisor, so remainder * 2^16 + piece stays below 2^56.
    std::uint64_t q = 0;
    std::uint64_t r = 0;
    for (int i = 7; i >= 0; --i) {
        const std::uint64_t n = (r << 16) | pieces[i];
        q = (q << 16) | (n / uc);
        r = n % uc;
    }
    const std::int64_t nq = static_cast<std::int64_t>(q);
    return bNegative ? -nq : nq;
}

// Floor division by a positive divisor.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

std::vector<HatchStroke> HatchStrokes(const POINT* pPoints, int nCount, int nSpacing, bool bRising) {
    std::vector<HatchStroke> strokes;
    if (pPoints == nullptr || nCount < 3 || nSpacing < 1) return strokes;
    std::int64_t nLow = Across(pPoints[0], bRising);
    std::int64_t nHigh = nLow;
    for (int i = 1; i < nCount; ++i) {
        nLow = std::min(nLow, Across(pPoints[i], bRising));
        nHigh = std::max(nHigh, Across(pPoints[i], bRising));
    }
    // Lines on multiples of the spacing, so neighbouring hatchings line up.
    const std::int64_t nFirst = FloorDiv(nLow, nSpacing) + 1;
    const std::int64_t nLast = FloorDiv(nHigh - 1, nSpacing);
    if (nLast < nFirst || nLast - nFirst >= kMaxHatchStrokes) return strokes;

    std::vector<std::int64_t> crossings;  // the x of each edge crossing a line
    for (std::int64_t k = nFirst; k <= nLast; ++k) {
        const std::int64_t c = k * nSpacing;
        crossings.clear();
        for (int i = 0; i < nCount; ++i) {
            const POINT& a = pPoints[i];
            const POINT& b = pPoints[(i + 1) % nCount];
            const std::int64_t ua = Across(a, bRising);
            const std::int64_t ub = Across(b, bRising);
            // Each edge counts on one side of its end points only, so a line
            // through a corner crosses once.
            if (!((ua <= c && c < ub) || (ub <= c && c < ua))) continue;
            crossings.push_back(a.x + MulDivRound(c - ua, std::int64_t{b.x} - a.x, ub - ua));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size() && strokes.size() < kMaxHatchStrokes; i += 2) {
            const std::int64_t x0 = crossings[i];
            const std::int64_t x1 = crossings[i + 1];
            if (x0 == x1) continue;
            // On the line x + y = c the y of x is c - x; on x - y = c it is x - c.
            auto y = [&](std::int64_t x) { return bRising ? c - x : x - c; };
            auto clamp32 = [](std::int64_t v) {
                return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
            };
            strokes.push_back({{clamp32(x0), clamp32(y(x0))}, {clamp32(x1), clamp32(y(x1))}});
        }
    }
    return strokes;
}

}  // namespace vitalchart
