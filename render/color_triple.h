#pragma once

#include <string_view>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// How far a colour text "r,g,b" was read.
enum class ColorRead { kNone, kRedOnly, kAll };

struct ColorTriple {
    ColorRead read = ColorRead::kNone;
    int nRed = 0;
    int nGreen = 0;
    int nBlue = 0;

    // The colour with each component cut to its low 8 bits; components not
    // read are 0 (a red-only read gives red alone).
    COLORREF ToColorRef() const;
};

// Reads "r,g,b": each figure as atoi reads it; a fourth figure is ignored.
ColorTriple ParseColorTriple(std::string_view text);

}  // namespace vitalchart
