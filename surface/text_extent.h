#pragma once

#include <cstddef>
#include <cstdint>

namespace vitalchart {

struct TextExtent {
    std::int32_t nWidth;
    std::int32_t nHeight;
};

// Extent of a text in the recording surface's fixed metric: with h the
// absolute font height (16 when 0), each byte is max(1, h / 2) wide; lines
// split at line feeds (a carriage return before a line feed belongs to the
// break); the extent is the widest line by the number of lines times h, 0 by 0
// for an empty text. Sums wrap around as 32-bit device coordinates do.
TextExtent MeasureFixedPitch(const char* pText, std::size_t nCount, std::int32_t nFontHeight);

}  // namespace vitalchart
