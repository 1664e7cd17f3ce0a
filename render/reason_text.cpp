#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalReason(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    const std::string_view* pNames = attributes.Find("names");
    if (pNames == nullptr) return;
    const int x0 = attributes.Position("x");
    const int y0 = attributes.Position("y");
    const int cx = attributes.Position("cx");
    const int cy = attributes.Position("cy");
    const int nSpans = attributes.Position("spans");
    if (const std::string_view* pFontId = attributes.Find("font-id")) SelectFontById(*pFontId);

    // Each reason once in its column, though several vital signs were not
    // taken for it there.
    std::set<std::pair<int, std::string_view>> written;
    for (std::string_view name : SplitNames(*pNames)) {
        for (const CVitalRecord* pRecord : Readings().Find(name)) {
            if (pRecord->m_strReason.empty()) continue;
            if (!written.insert({pRecord->m_nCellIndex, pRecord->m_strReason}).second) continue;
            RECT cell;
            cell.left = WrapAdd(x0, WrapMul(pRecord->m_nCellIndex, cx));
            cell.top = y0;
            cell.right = WrapAdd(cell.left, cx);
            cell.bottom = WrapAdd(y0, cy);
            DrawVerticalText(pRecord->m_strReason, cell, nSpans);
        }
    }
}

}  // namespace vitalchart
