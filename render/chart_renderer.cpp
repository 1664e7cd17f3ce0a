#include "render/chart_renderer.h"

#include <algorithm>
#include <cstdlib>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "platform/mul_div.h"

namespace vitalchart {

namespace {

template <typename T>
void DeleteAll(CItemArray<T>& arr) {
    for (int i = arr.GetCount() - 1; i >= 0; --i) {
        T* p = arr.GetAt(i);
        arr.RemoveAt(i);
        delete p;
    }
}

}  // namespace

CChartRenderer::CChartRenderer() = default;

CChartRenderer::~CChartRenderer() {
    // Fonts and pens go before the records; each array from its last element.
    DeleteAll(m_arrFonts);
    DeleteAll(m_arrPens);
    DeleteAll(m_arrRecords);
}

int CChartRenderer::MmToDevice(float fMillimetres) const {
    // Whole tenths of a millimetre, truncated: 0.7f is just below 0.7 and gives 6.
    int nTenths = DoubleToInt(static_cast<double>(fMillimetres) * 10.0);
    return MulDiv(nTenths, 96, 254);
}

int CChartRenderer::EvalPosition(std::string strExpression, BOOL bVertical) const {
    UINT cp = GetCodePage();
    if (EqualsNoCase(cp, strExpression, "left")) return m_nLeft;
    if (EqualsNoCase(cp, strExpression, "top")) return m_nTop;
    if (EqualsNoCase(cp, strExpression, "right")) return m_nRight;
    if (EqualsNoCase(cp, strExpression, "bottom")) return m_nBottom;

    bool bRelative = !strExpression.empty() && strExpression[0] == '+';
    if (bRelative) strExpression.erase(0, 1);
    float fValue = DoubleToFloat(crt::atof(strExpression.c_str()));
    int nRef = MmToDevice(fValue);
    if (bVertical) {
        int y = MulDiv(nRef, m_nNumY, m_nDenY);
        return bRelative ? WrapAdd(y, m_nTop) : y;
    }
    int x = MulDiv(nRef, m_nNumX, m_nDenX);
    return bRelative ? WrapAdd(x, m_nLeft) : x;
}

BOOL CChartRenderer::IsColorAllowed() const {
    if (m_pDC == nullptr || !m_pDC->IsPrinting()) return 1;
    return m_bPrintColor ? 1 : 0;
}

std::int64_t LineWork(const CPen* pPen) {
    // Patterned pens are one unit wide whatever their width says.
    int nWidth = (pPen != nullptr && pPen->m_nStyle == PS_SOLID) ? pPen->m_nWidth : 1;
    return kLineWork + std::clamp(nWidth, 1, kMaxWorkExtent);
}

std::int64_t TextWork(const CFont* pFont, std::size_t nBytes) {
    std::int64_t h = pFont != nullptr ? std::llabs(static_cast<std::int64_t>(pFont->m_logFont.lfHeight)) : 16;
    if (h == 0) h = 16;
    h = std::min<std::int64_t>(h, kMaxWorkExtent);
    // From about 512 units up a character covers the page, whatever its size.
    const std::int64_t nPerByte = std::clamp<std::int64_t>(h * h / 256, 1, 1024);
    // Texts are far shorter than this; the cap keeps the product in range.
    const std::int64_t nBytesCounted = std::min<std::size_t>(nBytes, std::size_t{1} << 30);
    return kTextWork + nBytesCounted * nPerByte;
}

bool CChartRenderer::SpendWork(std::int64_t nUnits) {
    if (nUnits > m_nWorkLeft) {
        // The rest stays for what fits, so that one runaway element does not
        // take the readings after it with it.
        m_bDrawnInPart = true;
        return false;
    }
    m_nWorkLeft -= nUnits;
    return true;
}

const CReadingIndex& CChartRenderer::Readings() {
    if (m_pReadings == nullptr || m_nIndexedRecords != m_arrRecords.GetCount()) {
        m_pReadings = std::make_unique<CReadingIndex>(m_arrRecords, GetCodePage());
        m_nIndexedRecords = m_arrRecords.GetCount();
    }
    return *m_pReadings;
}

UINT CChartRenderer::GetCodePage() const { return m_pDC != nullptr ? m_pDC->GetCodePage() : CP_UTF8; }

void CChartRenderer::SelectPenById(const std::string& strId) {
    if (m_pDC == nullptr) return;
    int nCount = m_arrPens.GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (!SpendWork(1)) return;
        CPenEntry* pEntry = m_arrPens.GetAt(i);
        if (pEntry != nullptr && pEntry->SelectIfId(strId, m_pDC)) {
            if (pEntry->m_pPen->IsAttached()) m_nLineWork = LineWork(pEntry->m_pPen);
            return;
        }
    }
}

void CChartRenderer::SelectFontById(const std::string& strId) {
    if (m_pDC == nullptr) return;
    BOOL bColorAllowed = IsColorAllowed();
    int nCount = m_arrFonts.GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (!SpendWork(1)) return;
        CFontEntry* pEntry = m_arrFonts.GetAt(i);
        if (pEntry != nullptr && pEntry->SelectIfId(strId, m_pDC, bColorAllowed)) {
            if (pEntry->m_pFont->IsAttached()) m_pWorkFont = pEntry->m_pFont;
            return;
        }
    }
}

std::string SettleTemplatePath(const char* pszPath) {
    std::string str = pszPath != nullptr ? pszPath : "";
    const char* kBlank = " \t\r\n\v\f";
    std::size_t nFirst = str.find_first_not_of(kBlank);
    if (nFirst == std::string::npos) return "vitalsign.xml";
    std::size_t nLast = str.find_last_not_of(kBlank);
    return str.substr(nFirst, nLast - nFirst + 1);
}

}  // namespace vitalchart
