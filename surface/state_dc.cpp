#include "vitalchart/surface/state_dc.h"

#include <cstring>

namespace vitalchart {

namespace {

template <typename T>
T* Intern(std::vector<std::unique_ptr<T>>& pool, const T& object) {
    for (auto& p : pool) {
        if (p->SameAs(object)) return p.get();
    }
    pool.push_back(std::make_unique<T>(object));
    return pool.back().get();
}

}  // namespace

CStateDC::CStateDC(BOOL bPrinting, UINT nCodePage) : CDC(bPrinting, nCodePage) {
    m_pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_brush.CreateSolidBrush(RGB(255, 255, 255));
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = 16;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(lf.lfFaceName, "System");
    m_font.CreateFontIndirect(&lf);
}

CStateDC::~CStateDC() = default;

CPen* CStateDC::TemporaryPen(const CPen& pen) {
    return Intern(m_tempPens, pen);
}
CBrush* CStateDC::TemporaryBrush(const CBrush& brush) {
    return Intern(m_tempBrushes, brush);
}
CFont* CStateDC::TemporaryFont(const CFont& font) {
    return Intern(m_tempFonts, font);
}

CPen* CStateDC::SelectObject(CPen* pPen) {
    if (pPen == nullptr || !pPen->IsAttached()) return nullptr;
    CPen* pOld = TemporaryPen(m_pen);
    m_pen = *pPen;
    return pOld;
}

CBrush* CStateDC::SelectObject(CBrush* pBrush) {
    if (pBrush == nullptr || !pBrush->IsAttached()) return nullptr;
    CBrush* pOld = TemporaryBrush(m_brush);
    m_brush = *pBrush;
    return pOld;
}

CFont* CStateDC::SelectObject(CFont* pFont) {
    if (pFont == nullptr || !pFont->IsAttached()) return nullptr;
    CFont* pOld = TemporaryFont(m_font);
    m_font = *pFont;
    return pOld;
}

CGdiObject* CStateDC::GetCurrentObject(UINT nObjectType) {
    switch (nObjectType) {
        case OBJ_PEN:
            return TemporaryPen(m_pen);
        case OBJ_BRUSH:
            return TemporaryBrush(m_brush);
        case OBJ_FONT:
            return TemporaryFont(m_font);
        default:
            return nullptr;
    }
}

COLORREF CStateDC::SetTextColor(COLORREF crColor) {
    COLORREF crOld = m_crText;
    m_crText = crColor & 0xFFFFFF;
    return crOld;
}

COLORREF CStateDC::GetTextColor() {
    return m_crText;
}

int CStateDC::SetBkMode(int nMode) {
    int nOld = m_nBkMode;
    if (nMode == TRANSPARENT || nMode == OPAQUE) m_nBkMode = nMode;
    return nOld;
}

POINT CStateDC::MoveTo(int x, int y) {
    POINT ptOld = m_ptCurrent;
    m_ptCurrent = {x, y};
    return ptOld;
}

void CStateDC::LineTo(int x, int y) {
    m_ptCurrent = {x, y};
}

}  // namespace vitalchart
