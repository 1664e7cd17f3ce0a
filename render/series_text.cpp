#include "platform/code_page.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalTextOut(const CMapStringToString& mapAttributes) {
    if (m_pDC == nullptr) return;
    const std::string* pName = mapAttributes.Find("name");
    if (pName == nullptr) return;
    const int x0 = ReadPosition(*this, mapAttributes, "x", 0);
    const int y0 = ReadPosition(*this, mapAttributes, "y", 1);
    const int cx = ReadPosition(*this, mapAttributes, "cx", 0);
    const int cy = ReadPosition(*this, mapAttributes, "cy", 1);
    const int nSpans = ReadPosition(*this, mapAttributes, "spans", 0);
    const LabelAlignment align = ReadAlignment(*this, mapAttributes);
    // The font's text colour stays after this element: only captions reset it.
    if (const std::string* pFontId = mapAttributes.Find("font-id")) SelectFontById(*pFontId);

    for (const CVitalRecord* pRecord : Readings().Find(*pName)) {
        RECT cell;
        cell.left = WrapAdd(x0, WrapMul(pRecord->m_nCellIndex, cx));
        cell.top = y0;
        cell.right = WrapAdd(cell.left, cx);
        cell.bottom = WrapAdd(y0, cy);
        // Several readings in one column all go into the same cell, in data order.
        if (align.placement == TextPlacement::kVertical) {
            DrawVerticalText(pRecord->m_strValues, cell, nSpans);
        } else {
            DrawLabel(pRecord->m_strValues, cell, align.placement, align.nBaseFormat);
        }
    }
}

}  // namespace vitalchart
