#include "render/chart_renderer.h"

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

UINT CChartRenderer::GetCodePage() const { return m_pDC != nullptr ? m_pDC->GetCodePage() : CP_UTF8; }

void CChartRenderer::SelectPenById(const std::string& strId) {
    if (m_pDC == nullptr) return;
    int nCount = m_arrPens.GetCount();
    for (int i = 0; i < nCount; ++i) {
        CPenEntry* pEntry = m_arrPens.GetAt(i);
        if (pEntry != nullptr && pEntry->SelectIfId(strId, m_pDC)) return;
    }
}

void CChartRenderer::SelectFontById(const std::string& strId) {
    if (m_pDC == nullptr) return;
    BOOL bColorAllowed = IsColorAllowed();
    int nCount = m_arrFonts.GetCount();
    for (int i = 0; i < nCount; ++i) {
        CFontEntry* pEntry = m_arrFonts.GetAt(i);
        if (pEntry != nullptr && pEntry->SelectIfId(strId, m_pDC, bColorAllowed)) return;
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
