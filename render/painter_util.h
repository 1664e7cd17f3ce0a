#pragma once

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "render/chart_renderer.h"
#include "render/element_attributes.h"

namespace vitalchart {

// Placement and base DrawText format of a caption from its "align" word.
struct LabelAlignment {
    TextPlacement placement;
    UINT nBaseFormat;
};

// "center", "right" or "vertical"; any other word, or none, places left.
inline LabelAlignment ReadAlignment(const CElementAttributes& attributes) {
    if (attributes.IsWord("align", "center")) return {TextPlacement::kCenter, DT_CENTER};
    if (attributes.IsWord("align", "right")) return {TextPlacement::kRight, DT_RIGHT};
    if (attributes.IsWord("align", "vertical")) return {TextPlacement::kVertical, DT_LEFT};
    return {TextPlacement::kLeft, DT_LEFT};
}

// A byte count for the surface's text calls, which take an int.
inline int TextCount(std::size_t nBytes) {
    return nBytes > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(nBytes);
}

// The names of a list written with '|' between them, empty ones left out.
inline std::vector<std::string_view> SplitNames(std::string_view names) {
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t nBar = names.find('|');
        if (!names.substr(0, nBar).empty()) out.push_back(names.substr(0, nBar));
        if (nBar == std::string_view::npos) return out;
        names.remove_prefix(nBar + 1);
    }
}

// Whether two centres are closer than nDistance, for any coordinates a device
// can hold: the squares are taken only once both spans are known to be short,
// and in unsigned arithmetic, so centres at the ends of the range cannot
// overflow the sum.
inline bool CentresCloserThan(POINT a, POINT b, std::int64_t nDistance) {
    // No span between two 32-bit coordinates reaches 2^32 - 1, so a larger
    // distance means the same and keeps its square within 64 bits.
    const std::uint64_t nLimit =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(nDistance < 0 ? -nDistance : nDistance), UINT32_MAX);
    const std::uint64_t dx = static_cast<std::uint64_t>(a.x < b.x ? std::int64_t{b.x} - a.x : std::int64_t{a.x} - b.x);
    const std::uint64_t dy = static_cast<std::uint64_t>(a.y < b.y ? std::int64_t{b.y} - a.y : std::int64_t{a.y} - b.y);
    if (dx >= nLimit || dy >= nLimit) return false;
    const std::uint64_t nLimitSquared = nLimit * nLimit;
    const std::uint64_t nXSquared = dx * dx;
    return nXSquared < nLimitSquared && dy * dy < nLimitSquared - nXSquared;
}

}  // namespace vitalchart
