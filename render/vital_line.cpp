#include <algorithm>

#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

void CChartRenderer::DrawVitalLine(const CMapStringToString& mapAttributes) {
    if (m_pDC == nullptr) return;
    const int nLeft = ReadPosition(*this, mapAttributes, "left", 0);
    const int nTop = ReadPosition(*this, mapAttributes, "top", 1);
    const int nRight = ReadPosition(*this, mapAttributes, "right", 0);
    const int nBottom = ReadPosition(*this, mapAttributes, "bottom", 1);

    if (const std::string* pPenId = mapAttributes.Find("pen-id")) SelectPenById(*pPenId);

    const int nTimes = ReadInteger(mapAttributes, "times", 0);
    const int nMultiple = ReadInteger(mapAttributes, "multiple", 1);
    const bool bHorizontalLines = IsWord(*this, mapAttributes, "direction", "y");

    if (nTimes <= 0) {
        if (!SpendWork(m_nLineWork)) return;
        m_pDC->MoveTo(nLeft, nTop);
        m_pDC->LineTo(nRight, nBottom);
        return;
    }

    // A family of "times" cells gets its inner separators only: none on the
    // origin, none on the far edge. The count is bounded so that a runaway
    // repeat in a template cannot hold the host.
    const int nLines = std::min(nTimes - 1, kMaxRepeat);
    if (bHorizontalLines) {
        const int nSpacing = WrapMul(nBottom, nMultiple);
        int y = nTop;
        for (int k = 1; k <= nLines; ++k) {
            if (!SpendWork(m_nLineWork)) return;
            y = WrapAdd(y, nSpacing);
            m_pDC->MoveTo(nLeft, y);
            m_pDC->LineTo(nRight, y);
        }
    } else {
        const int nSpacing = WrapMul(nRight, nMultiple);
        int x = nLeft;
        for (int k = 1; k <= nLines; ++k) {
            if (!SpendWork(m_nLineWork)) return;
            x = WrapAdd(x, nSpacing);
            m_pDC->MoveTo(x, nTop);
            m_pDC->LineTo(x, nBottom);
        }
    }
}

}  // namespace vitalchart
