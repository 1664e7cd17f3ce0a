#include <cstdint>

#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "render/chart_renderer.h"
#include "render/keyword_table.h"

namespace vitalchart {

void CChartRenderer::WriteMessage(const std::string& strText) {
    m_pDC->TextOut(m_geometry.GetLeft(), m_geometry.GetTop(), strText.data(), static_cast<int>(strText.size()));
}

void CChartRenderer::DrawChart(BOOL bFillBackground) {
    if (m_pDC == nullptr) return;
    CChartTemplate chartTemplate;
    switch (chartTemplate.LoadFile(m_strTemplatePath.c_str())) {
        case CChartTemplate::Load::kNoBuffer:
            WriteMessage("create CByteBuffer error");
            return;
        case CChartTemplate::Load::kNotFound:
            // Nothing of the surface's state has changed yet: the message is
            // drawn in the host's own font, colour and background mode.
            m_strTemplatePath = chartTemplate.GetPath();
            WriteMessage(m_strTemplatePath + " not found!");
            return;
        case CChartTemplate::Load::kLoaded:
            break;
    }
    DrawChart(chartTemplate, bFillBackground);
}

void CChartRenderer::DrawChart(const CChartTemplate& chartTemplate, BOOL bFillBackground) {
    if (m_pDC == nullptr) return;
    m_strTemplatePath = chartTemplate.GetPath();

    CPen* pOldPen = static_cast<CPen*>(m_pDC->GetCurrentObject(OBJ_PEN));
    CFont* pOldFont = static_cast<CFont*>(m_pDC->GetCurrentObject(OBJ_FONT));
    m_crSavedText = m_pDC->GetTextColor();
    m_budget.SetPen(pOldPen);
    m_budget.SetFont(pOldFont);
    const int nOldBkMode = m_pDC->SetBkMode(TRANSPARENT);

    auto restore = [&]() {
        m_pDC->SelectObject(pOldPen);
        m_pDC->SetBkMode(nOldBkMode);
        m_pDC->SelectObject(pOldFont);
        m_pDC->SetTextColor(m_crSavedText);
    };

    try {
        if (bFillBackground && !m_pDC->IsPrinting()) m_pDC->FillSolidRect(m_geometry.GetRect(), RGB(0, 0, 0));
        DrawScannedTemplate(chartTemplate.GetScan(GetCodePage()));
    } catch (...) {
        // The host's device context gets its state back even when drawing
        // ran out of memory half-way.
        restore();
        throw;
    }
    restore();
    // A chart cut short by the drawing budget must not pass for a complete
    // one: say so where the host's errors go, in the host's own state.
    if (m_budget.IsDrawnInPart()) WriteMessage(m_strTemplatePath + " too large to draw in full!");
}

BOOL CChartRenderer::GetSizeByTemplet(float* pWidth, float* pHeight, const char* lpszTemplatePath) {
    if (pWidth != nullptr) *pWidth = 0.0f;
    if (pHeight != nullptr) *pHeight = 0.0f;
    CChartTemplate chartTemplate;
    if (chartTemplate.LoadFile(lpszTemplatePath, false) != CChartTemplate::Load::kLoaded) return 0;
    return GetSizeByTemplet(pWidth, pHeight, chartTemplate);
}

BOOL CChartRenderer::GetSizeByTemplet(float* pWidth, float* pHeight, const CChartTemplate& chartTemplate) {
    if (pWidth != nullptr) *pWidth = 0.0f;
    if (pHeight != nullptr) *pHeight = 0.0f;
    const CKeywordTable keywords;
    const ElementRule& size = *FindElementRule(kElementSize);
    const CByteBuffer& buffer = chartTemplate.GetBuffer();
    CTagAttributes tag;
    BOOL bFound = 0;
    WalkTextLines(
        buffer.GetPtr(0), buffer.GetLength(),
        [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
            // Only the first tag of a line counts.
            if (keywords.FindKeyword(ReadTagNameView(pszLine, nLength, nPos)) != kElementSize) {
                nPos = nLength;
                return true;
            }
            ScanAttributes(pszLine, nLength, tag, nPos);
            const CElementAttributes attributes = Attributes(size, tag);
            float f = 0.0f;
            if (attributes.Decimal("width", f) && pWidth != nullptr) *pWidth = f;
            if (attributes.Decimal("height", f) && pHeight != nullptr) *pHeight = f;
            bFound = 1;
            return false;
        },
        TextStart(buffer));
    return bFound;
}

}  // namespace vitalchart
