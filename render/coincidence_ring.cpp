#include <cstdint>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/color_triple.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalRing(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    const std::string_view* pName = attributes.Find("name");
    const std::string_view* pOver = attributes.Find("over");
    if (pName == nullptr || pOver == nullptr) return;
    const std::string_view* pColor = attributes.Find("ring-color");
    const COLORREF crRing = pColor != nullptr ? ParseColorTriple(*pColor).ToColorRef() : RGB(255, 0, 0);
    const int nRadius =
        attributes.Find("ring-radius") != nullptr ? attributes.Position("ring-radius") : EvalPosition("1.6", 0);

    const UINT nCodePage = GetCodePage();
    std::vector<const PlottedPoint*> others;
    for (std::string_view over : SplitNames(*pOver)) {
        for (const PlottedPoint& point : m_plotted.Find(FoldCaseKey(nCodePage, over))) {
            if (!point.bBreak) others.push_back(&point);
        }
    }
    // Two markers one millimetre in radius meet when their centres are closer
    // than two millimetres.
    const std::int64_t nMeet = 2 * static_cast<std::int64_t>(EvalPosition("1", 0));
    for (const PlottedPoint& mark : m_plotted.Find(FoldCaseKey(nCodePage, *pName))) {
        if (mark.bBreak) continue;
        bool bMet = false;
        for (const PlottedPoint* pOther : others) {
            if (pOther->nColumn != mark.nColumn) continue;
            bMet = bMet || CentresCloserThan(pOther->pt, mark.pt, nMeet);
        }
        if (!bMet) continue;
        // The mark is drawn again over the one that met it, then ringed; a
        // hollow mark (a rectal circle) gets a dot inside instead.
        DrawMarker(mark.pt.x, mark.pt.y, mark.style);
        if (mark.style.IsHollow()) {
            DrawDot(mark.pt.x, mark.pt.y, WrapDiv(EvalPosition("1", 0), 2), crRing);
        } else {
            DrawRing(mark.pt.x, mark.pt.y, nRadius, crRing);
        }
    }
}

}  // namespace vitalchart
