#include <memory>
#include <new>

#include "markup/keyword_table.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

void WriteMessage(CDC* pDC, int x, int y, const std::string& strText) {
    pDC->TextOut(x, y, strText.data(), static_cast<int>(strText.size()));
}

}  // namespace

void CChartRenderer::DrawChart(BOOL bFillBackground) {
    if (m_pDC == nullptr) return;
    std::unique_ptr<CByteBuffer> pBuffer(new (std::nothrow) CByteBuffer(0));
    if (!pBuffer) {
        WriteMessage(m_pDC, m_nLeft, m_nTop, "create CByteBuffer error");
        return;
    }
    m_strTemplatePath = SettleTemplatePath(m_strTemplatePath.c_str());
    if (!pBuffer->LoadFile(0, m_strTemplatePath.c_str())) {
        pBuffer.reset();
        // Nothing of the surface's state has changed yet: the message is drawn
        // in the host's own font, colour and background mode.
        WriteMessage(m_pDC, m_nLeft, m_nTop, m_strTemplatePath + " not found!");
        return;
    }

    CPen* pOldPen = static_cast<CPen*>(m_pDC->GetCurrentObject(OBJ_PEN));
    CFont* pOldFont = static_cast<CFont*>(m_pDC->GetCurrentObject(OBJ_FONT));
    m_crSavedText = m_pDC->GetTextColor();
    m_nLineWork = LineWork(pOldPen);
    m_pWorkFont = pOldFont;
    int nOldBkMode = m_pDC->SetBkMode(TRANSPARENT);

    auto restore = [&]() {
        m_pDC->SelectObject(pOldPen);
        m_pDC->SetBkMode(nOldBkMode);
        m_pDC->SelectObject(pOldFont);
        m_pDC->SetTextColor(m_crSavedText);
    };

    try {
        if (bFillBackground && !m_pDC->IsPrinting()) {
            RECT rect = {m_nLeft, m_nTop, m_nRight, m_nBottom};
            m_pDC->FillSolidRect(rect, RGB(0, 0, 0));
        }
        DrawTemplate(pBuffer.get());
    } catch (...) {
        // The host's device context gets its state back even when drawing
        // ran out of memory half-way.
        pBuffer.reset();
        restore();
        throw;
    }
    pBuffer.reset();
    restore();
    // A chart cut short by the drawing budget must not pass for a complete
    // one: say so where the host's errors go, in the host's own state.
    if (IsDrawnInPart()) WriteMessage(m_pDC, m_nLeft, m_nTop, m_strTemplatePath + " too large to draw in full!");
}

BOOL CChartRenderer::GetSizeByTemplet(float* pWidth, float* pHeight, const char* lpszTemplatePath) {
    if (pWidth != nullptr) *pWidth = 0.0f;
    if (pHeight != nullptr) *pHeight = 0.0f;
    std::unique_ptr<CByteBuffer> pBuffer(new (std::nothrow) CByteBuffer(0));
    if (!pBuffer) return 0;
    std::string strPath = SettleTemplatePath(lpszTemplatePath);
    if (!pBuffer->LoadFile(0, strPath.c_str())) return 0;

    CKeywordTable keywords;
    BOOL bFound = 0;
    WalkLines(*pBuffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        // Only the first tag of a line counts.
        if (keywords.FindKeyword(ReadTagName(pszLine, nLength, nPos)) != kElementSize) {
            nPos = nLength;
            return true;
        }
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
        const std::string* pValue = mapAttributes.Find("width");
        if (pValue != nullptr && pWidth != nullptr) *pWidth = DoubleToFloat(crt::atof(pValue->c_str()));
        pValue = mapAttributes.Find("height");
        if (pValue != nullptr && pHeight != nullptr) *pHeight = DoubleToFloat(crt::atof(pValue->c_str()));
        bFound = 1;
        return false;
    });
    return bFound;
}

}  // namespace vitalchart
