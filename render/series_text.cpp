#include <algorithm>
#include <vector>

#include "platform/code_page.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalTextOut(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    const std::string_view* pName = attributes.Find("name");
    if (pName == nullptr) return;
    const int x0 = attributes.Position("x");
    const int y0 = attributes.Position("y");
    const int cx = attributes.Position("cx");
    const int cy = attributes.Position("cy");
    const int nSpans = attributes.Position("spans");
    const LabelAlignment align = ReadAlignment(attributes);
    // The font's text colour stays after this element: only captions reset it.
    if (const std::string_view* pFontId = attributes.Find("font-id")) SelectFontById(*pFontId);

    const bool bStagger = attributes.IsWord("stagger", "true");
    const std::vector<const CVitalRecord*>& found = Readings().Find(*pName);
    // Staggered figures alternate from left to right across the page, the
    // first on top, so neighbours never run together.
    std::vector<const CVitalRecord*> sorted;
    if (bStagger) {
        sorted = found;
        std::stable_sort(sorted.begin(), sorted.end(), [](const CVitalRecord* a, const CVitalRecord* b) {
            return a->m_nCellIndex < b->m_nCellIndex;
        });
    }
    const std::vector<const CVitalRecord*>& readings = bStagger ? sorted : found;
    bool bUpper = true;
    for (const CVitalRecord* pRecord : readings) {
        RECT cell;
        cell.left = WrapAdd(x0, WrapMul(pRecord->m_nCellIndex, cx));
        cell.top = y0;
        cell.right = WrapAdd(cell.left, cx);
        cell.bottom = WrapAdd(y0, cy);
        if (bStagger) {
            const int yMiddle = WrapAdd(y0, WrapDiv(cy, 2));
            (bUpper ? cell.bottom : cell.top) = yMiddle;
            bUpper = !bUpper;
        }
        // Several readings in one column all go into the same cell, in data order.
        if (align.placement == TextPlacement::kVertical) {
            DrawVerticalText(pRecord->m_strValues, cell, nSpans);
        } else {
            DrawLabel(pRecord->m_strValues, cell, align.placement, align.nBaseFormat);
        }
    }
}

}  // namespace vitalchart
