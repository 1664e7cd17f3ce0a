#include <algorithm>

#include "platform/int_math.h"
#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawVitalLine(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    const int nLeft = attributes.Position("left");
    const int nTop = attributes.Position("top");
    const int nRight = attributes.Position("right");
    const int nBottom = attributes.Position("bottom");

    if (const std::string_view* pPenId = attributes.Find("pen-id")) SelectPenById(*pPenId);

    const int nTimes = attributes.Integer("times");
    const int nMultiple = attributes.Integer("multiple");
    const bool bHorizontalLines = attributes.IsWord("direction", "y");

    if (nTimes <= 0) {
        if (!m_budget.SpendLine()) return;
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
            if (!m_budget.SpendLine()) return;
            y = WrapAdd(y, nSpacing);
            m_pDC->MoveTo(nLeft, y);
            m_pDC->LineTo(nRight, y);
        }
    } else {
        const int nSpacing = WrapMul(nRight, nMultiple);
        int x = nLeft;
        for (int k = 1; k <= nLines; ++k) {
            if (!m_budget.SpendLine()) return;
            x = WrapAdd(x, nSpacing);
            m_pDC->MoveTo(x, nTop);
            m_pDC->LineTo(x, nBottom);
        }
    }
}

}  // namespace vitalchart
