#include <algorithm>
#include <string>

#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalText(const CMapStringToString& mapAttributes) {
    if (m_pDC == nullptr) return;
    const std::string* pText = mapAttributes.Find("text");
    if (pText == nullptr) return;

    // "right" and "bottom" of a caption are the box's width and height.
    RECT box;
    box.left = ReadPosition(*this, mapAttributes, "left", 0);
    box.top = ReadPosition(*this, mapAttributes, "top", 1);
    box.right = WrapAdd(box.left, ReadPosition(*this, mapAttributes, "right", 0));
    box.bottom = WrapAdd(box.top, ReadPosition(*this, mapAttributes, "bottom", 1));

    const int nMultiple = ReadInteger(mapAttributes, "multiple", 1);
    // "spans" is a horizontal length even where it advances downwards.
    const int nSpans = mapAttributes.Find("spans") == nullptr
                           ? 0
                           : WrapMul(ReadPosition(*this, mapAttributes, "spans", 0), nMultiple);
    const int nTimes = ReadInteger(mapAttributes, "times", 1);
    const bool bDownwards = IsWord(*this, mapAttributes, "direction", "y");
    const int nStep = ReadInteger(mapAttributes, "step", 0);
    const LabelAlignment align = ReadAlignment(*this, mapAttributes);

    if (const std::string* pFontId = mapAttributes.Find("font-id")) SelectFontById(*pFontId);

    if (nTimes <= 1) {
        if (align.placement == TextPlacement::kVertical) {
            DrawVerticalText(*pText, box, nSpans);
        } else {
            DrawLabel(*pText, box, align.placement, align.nBaseFormat);
        }
        return;
    }

    // A scale or a row of hours: the first caption as written, each later one
    // numbered from the one before.
    std::string strCaption = *pText;
    const int nCount = std::min(nTimes, kMaxRepeat);
    for (int i = 0; i < nCount; ++i) {
        if (!DrawLabel(strCaption, box, align.placement, align.nBaseFormat)) return;
        if (bDownwards) {
            OffsetRect(&box, 0, nSpans);
        } else {
            OffsetRect(&box, nSpans, 0);
        }
        if (nStep != 0) strCaption = std::to_string(WrapAdd(crt::atoi(strCaption.c_str()), nStep));
    }
}

}  // namespace vitalchart
