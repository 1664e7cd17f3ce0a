#include <algorithm>

#include "platform/code_page.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/painter_util.h"

namespace vitalchart {

bool CChartRenderer::DrawLabel(std::string_view strText, const RECT& box, TextPlacement placement, UINT nBaseFormat) {
    if (m_pDC == nullptr) return false;
    const int nCount = TextCount(strText.size());
    // Measuring costs a picture surface as much as drawing.
    if (!m_budget.SpendMeasuredText(strText.size())) return false;

    // The surface measures from the box's top-left; the text is then centred
    // vertically and placed horizontally, overhanging a box it does not fit.
    RECT rc = box;
    m_pDC->DrawText(strText.data(), nCount, &rc, nBaseFormat | DT_CALCRECT | DT_NOPREFIX);
    const int nTextWidth = WrapSub(rc.right, rc.left);
    const int nTextHeight = WrapSub(rc.bottom, rc.top);
    const int nBoxWidth = WrapSub(box.right, box.left);
    const int nBoxHeight = WrapSub(box.bottom, box.top);

    const int dy = WrapDiv(WrapSub(nBoxHeight, nTextHeight), 2);
    int dx = 0;
    if (placement == TextPlacement::kCenter) {
        dx = WrapDiv(WrapSub(nBoxWidth, nTextWidth), 2);
    } else if (placement == TextPlacement::kRight) {
        dx = WrapSub(nBoxWidth, nTextWidth);
    }
    OffsetRect(&rc, dx, dy);

    // Without DT_NOPREFIX an ampersand would vanish and underline the next character.
    m_pDC->DrawText(strText.data(), nCount, &rc, nBaseFormat | DT_NOPREFIX);
    return true;
}

void CChartRenderer::DrawVerticalText(std::string_view strText, const RECT& box, int nSpans) {
    if (m_pDC == nullptr) return;
    const UINT nCodePage = m_pDC->GetCodePage();
    RECT rc = box;
    std::size_t i = 0;
    while (i < strText.size()) {
        // A double-byte or multi-byte character is drawn whole on its own row.
        const std::size_t n = CharLength(nCodePage, strText.data() + i, strText.size() - i);
        if (!m_budget.SpendText(n)) return;
        m_pDC->DrawText(strText.data() + i, static_cast<int>(n), &rc, DT_NOPREFIX);
        OffsetRect(&rc, 0, nSpans);
        i += n;
    }
}

void CChartRenderer::DrawWordAtBound(std::string_view word, int x, int yBound, bool bBelow) {
    if (m_pDC == nullptr || word.empty()) return;
    // The widest and tallest character in the current font give the column's
    // width and the rows' height, so that no character is cut.
    const UINT nCodePage = m_pDC->GetCodePage();
    int nWidth = 0;
    int nHeight = 0;
    for (std::size_t i = 0; i < word.size();) {
        const std::size_t n = CharLength(nCodePage, word.data() + i, word.size() - i);
        if (!m_budget.SpendMeasuredText(n)) return;
        RECT rcChar = {0, 0, 0, 0};
        m_pDC->DrawText(word.data() + i, TextCount(n), &rcChar, DT_CALCRECT | DT_NOPREFIX);
        nWidth = std::max(nWidth, WrapSub(rcChar.right, rcChar.left));
        nHeight = std::max(nHeight, WrapSub(rcChar.bottom, rcChar.top));
        i += n;
    }
    RECT box;
    box.left = WrapSub(x, WrapDiv(nWidth, 2));
    box.top = bBelow ? WrapAdd(yBound, 1) : yBound;
    box.right = WrapAdd(box.left, nWidth);
    box.bottom = WrapAdd(box.top, nHeight);
    DrawVerticalText(word, box, nHeight);
}

void CChartRenderer::DrawValueBeside(std::string_view value, int x, int y) {
    // Half a millimetre clear of a marker one millimetre across.
    const int nGap = WrapAdd(EvalPosition("1", 0), EvalPosition("0.5", 0));
    const RECT box = {WrapAdd(x, nGap), y, WrapAdd(x, nGap), y};
    DrawLabel(value, box, TextPlacement::kLeft, DT_LEFT);
}

}  // namespace vitalchart
