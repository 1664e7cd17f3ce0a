#pragma once

#include <climits>
#include <cstddef>
#include <string>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/string_map.h"
#include "render/chart_renderer.h"

namespace vitalchart {

// How the painters read an element's attributes. Templates give every
// coordinate; one that is missing reads as 0, so a stray closing tag such as
// </vitalline> draws at the device origin instead of somewhere undefined.

// The position attribute on the axis (0 x, 1 y) as a device coordinate; 0 when absent.
inline int ReadPosition(const CChartRenderer& renderer, const CMapStringToString& map, const char* pszKey,
                        BOOL bVertical) {
    const std::string* pValue = map.Find(pszKey);
    return pValue == nullptr ? 0 : renderer.EvalPosition(*pValue, bVertical);
}

// The integer attribute as the C runtime's atoi reads it; nDefault when absent.
inline int ReadInteger(const CMapStringToString& map, const char* pszKey, int nDefault) {
    const std::string* pValue = map.Find(pszKey);
    return pValue == nullptr ? nDefault : crt::atoi(pValue->c_str());
}

// Whether the attribute is present and equals the keyword, letter case aside.
inline bool IsWord(const CChartRenderer& renderer, const CMapStringToString& map, const char* pszKey,
                   const char* pszWord) {
    const std::string* pValue = map.Find(pszKey);
    return pValue != nullptr && EqualsNoCase(renderer.GetCodePage(), *pValue, pszWord);
}

// Placement and base DrawText format of a caption from its "align" word.
struct LabelAlignment {
    TextPlacement placement;
    UINT nBaseFormat;
};

// "center", "right" or "vertical"; any other word, or none, places left.
inline LabelAlignment ReadAlignment(const CChartRenderer& renderer, const CMapStringToString& map) {
    if (IsWord(renderer, map, "align", "center")) return {TextPlacement::kCenter, DT_CENTER};
    if (IsWord(renderer, map, "align", "right")) return {TextPlacement::kRight, DT_RIGHT};
    if (IsWord(renderer, map, "align", "vertical")) return {TextPlacement::kVertical, DT_LEFT};
    return {TextPlacement::kLeft, DT_LEFT};
}

// A byte count for the surface's text calls, which take an int.
inline int TextCount(std::size_t nBytes) {
    return nBytes > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(nBytes);
}

}  // namespace vitalchart
