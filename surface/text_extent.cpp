#include "surface/text_extent.h"

#include "platform/int_math.h"

namespace vitalchart {

TextExtent MeasureFixedPitch(const char* pText, std::size_t nCount, std::int32_t nFontHeight) {
    if (pText == nullptr || nCount == 0) return {0, 0};
    std::int64_t h = nFontHeight < 0 ? -static_cast<std::int64_t>(nFontHeight) : nFontHeight;
    if (h == 0) h = 16;
    std::int64_t nByteWidth = h / 2 < 1 ? 1 : h / 2;

    std::uint64_t nWidest = 0;
    std::uint64_t nLines = 1;
    std::uint64_t nLineBytes = 0;
    for (std::size_t i = 0; i < nCount; ++i) {
        if (pText[i] == '\n') {
            if (nLineBytes > nWidest) nWidest = nLineBytes;
            nLineBytes = 0;
            ++nLines;
        } else if (pText[i] == '\r' && i + 1 < nCount && pText[i + 1] == '\n') {
            continue;
        } else {
            ++nLineBytes;
        }
    }
    if (nLineBytes > nWidest) nWidest = nLineBytes;
    // Products are taken modulo 2^32 like any device length.
    auto width = static_cast<std::uint32_t>(nWidest * static_cast<std::uint64_t>(nByteWidth));
    auto height = static_cast<std::uint32_t>(nLines * static_cast<std::uint64_t>(h));
    return {WrapInt(width), WrapInt(height)};
}

}  // namespace vitalchart
