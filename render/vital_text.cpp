#include <algorithm>
#include <string>

#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalText(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    const std::string_view* pText = attributes.Find("text");
    if (pText == nullptr) return;

    // "right" and "bottom" of a caption are the box's width and height.
    RECT box;
    box.left = attributes.Position("left");
    box.top = attributes.Position("top");
    box.right = WrapAdd(box.left, attributes.Position("right"));
    box.bottom = WrapAdd(box.top, attributes.Position("bottom"));

    const int nMultiple = attributes.Integer("multiple");
    // "spans" is a horizontal length even where it advances downwards.
    const int nSpans = WrapMul(attributes.Position("spans"), nMultiple);
    const int nTimes = attributes.Integer("times");
    const bool bDownwards = attributes.IsWord("direction", "y");
    const int nStep = attributes.Integer("step");
    const LabelAlignment align = ReadAlignment(attributes);

    if (const std::string_view* pFontId = attributes.Find("font-id")) SelectFontById(*pFontId);

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
    std::string strCaption(*pText);
    const int nCount = std::min(nTimes, kMaxRepeat);
    for (int i = 0; i < nCount; ++i) {
        if (!DrawLabel(strCaption, box, align.placement, align.nBaseFormat)) return;
        if (bDownwards) {
            OffsetRect(&box, 0, nSpans);
        } else {
            OffsetRect(&box, nSpans, 0);
        }
        if (nStep != 0) strCaption = std::to_string(WrapAdd(crt::atoi(strCaption), nStep));
    }
}

}  // namespace vitalchart
