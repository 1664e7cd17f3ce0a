#pragma once

#include <climits>
#include <cstddef>
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

}  // namespace vitalchart
