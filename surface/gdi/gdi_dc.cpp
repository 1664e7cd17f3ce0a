#include "surface/gdi/gdi_dc.h"

#include "surface/gdi/logfont.h"
#include "surface/gdi/windows_api.h"

namespace vitalchart {

namespace {

constexpr UINT kPutBack[] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT};

HDC AsDC(void* h) {
    return static_cast<HDC>(h);
}
HGDIOBJ AsObject(void* h) {
    return static_cast<HGDIOBJ>(h);
}

// A temporary for an object the host selected: attached, since it stands
// for a live handle, and described as far as the handle tells.
template <typename T>
class CHostObject : public T {
public:
    CHostObject() { this->m_bAttached = 1; }
};

std::unique_ptr<CGdiObject> DescribeHostObject(HGDIOBJ hObject, UINT nObjectType) {
    switch (nObjectType) {
        case OBJ_PEN: {
            auto pPen = std::make_unique<CHostObject<CPen>>();
            LOGPEN lp;
            // Extended pens have no LOGPEN; their description stays the default.
            if (::GetObjectA(hObject, sizeof lp, &lp) == sizeof lp) {
                pPen->m_nStyle = static_cast<int>(lp.lopnStyle);
                pPen->m_nWidth = static_cast<int>(lp.lopnWidth.x);
                pPen->m_crColor = lp.lopnColor & 0xFFFFFF;
            }
            return pPen;
        }
        case OBJ_BRUSH: {
            auto pBrush = std::make_unique<CHostObject<CBrush>>();
            LOGBRUSH lb;
            if (::GetObjectA(hObject, sizeof lb, &lb) == sizeof lb) pBrush->m_crColor = lb.lbColor & 0xFFFFFF;
            return pBrush;
        }
        case OBJ_FONT: {
            auto pFont = std::make_unique<CHostObject<CFont>>();
            LOGFONTA lf;
            if (::GetObjectA(hObject, sizeof lf, &lf) == sizeof lf) pFont->m_logFont = FromLogFontA(lf);
            return pFont;
        }
        default:
            return nullptr;
    }
}

HGDIOBJ CreateGdiObject(const CGdiObject& object) {
    switch (object.GetObjectType()) {
        case OBJ_PEN: {
            const auto& pen = static_cast<const CPen&>(object);
            return ::CreatePen(pen.m_nStyle, pen.m_nWidth, pen.m_crColor);
        }
        case OBJ_BRUSH:
            return ::CreateSolidBrush(static_cast<const CBrush&>(object).m_crColor);
        case OBJ_FONT: {
            const ::LOGFONTA lf = ToLogFontA(static_cast<const CFont&>(object).m_logFont);
            return ::CreateFontIndirectA(&lf);
        }
        default:
            return nullptr;
    }
}

bool SameDescription(const CGdiObject& a, const CGdiObject& b) {
    if (a.GetObjectType() != b.GetObjectType()) return false;
    switch (a.GetObjectType()) {
        case OBJ_PEN:
            return static_cast<const CPen&>(a).SameAs(static_cast<const CPen&>(b));
        case OBJ_BRUSH:
            return static_cast<const CBrush&>(a).SameAs(static_cast<const CBrush&>(b));
        case OBJ_FONT:
            return static_cast<const CFont&>(a).SameAs(static_cast<const CFont&>(b));
        default:
            return false;
    }
}

std::unique_ptr<CGdiObject> CopyDescription(const CGdiObject& object) {
    switch (object.GetObjectType()) {
        case OBJ_PEN:
            return std::make_unique<CPen>(static_cast<const CPen&>(object));
        case OBJ_BRUSH:
            return std::make_unique<CBrush>(static_cast<const CBrush&>(object));
        case OBJ_FONT:
            return std::make_unique<CFont>(static_cast<const CFont&>(object));
        default:
            return nullptr;
    }
}

::RECT ToWin32(const RECT& r) {
    return ::RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

CGdiDC::CGdiDC(void* hDC, void* hAttribDC, BOOL bPrinting)
    : CDC(bPrinting, ::GetACP()), m_hDC(hDC), m_hAttribDC(hAttribDC != nullptr ? hAttribDC : hDC) {
    for (int k = 0; k < kKinds; ++k) {
        m_hHostObjects[0][k] = ::GetCurrentObject(AsDC(m_hDC), kPutBack[k]);
        m_hHostObjects[1][k] = ::GetCurrentObject(AsDC(m_hAttribDC), kPutBack[k]);
    }
}

CGdiDC::~CGdiDC() {
    // GDI must not delete an object that a device context still holds, and the
    // host must not be left holding a deleted one.
    for (int d = 0; d < 2; ++d) {
        if (d == 1 && m_hAttribDC == m_hDC) break;
        HDC hDC = AsDC(d == 0 ? m_hDC : m_hAttribDC);
        for (int k = 0; k < kKinds; ++k) {
            if (IsOwnedHandle(::GetCurrentObject(hDC, kPutBack[k])) && m_hHostObjects[d][k] != nullptr) {
                ::SelectObject(hDC, AsObject(m_hHostObjects[d][k]));
            }
        }
    }
    for (const Entry& entry : m_entries) {
        if (entry.bOwned) ::DeleteObject(AsObject(entry.hObject));
    }
}

void CGdiDC::Fail(const char* pszCall) {
    if (m_strError.empty()) m_strError = pszCall;
}

bool CGdiDC::IsOwnedHandle(void* hObject) const {
    if (hObject == nullptr) return false;
    for (const Entry& entry : m_entries) {
        if (entry.bOwned && entry.hObject == hObject) return true;
    }
    return false;
}

void* CGdiDC::HandleFor(const CGdiObject& object) {
    for (const Entry& entry : m_entries) {
        if (entry.pObject.get() == &object) return entry.hObject;
    }
    for (const Entry& entry : m_entries) {
        if (entry.bOwned && SameDescription(*entry.pObject, object)) return entry.hObject;
    }
    HGDIOBJ hObject = CreateGdiObject(object);
    if (hObject == nullptr) {
        Fail(object.GetObjectType() == OBJ_PEN     ? "CreatePen"
             : object.GetObjectType() == OBJ_BRUSH ? "CreateSolidBrush"
                                                   : "CreateFontIndirectA");
        return nullptr;
    }
    try {
        m_entries.push_back(Entry{CopyDescription(object), hObject, true});
    } catch (...) {
        ::DeleteObject(hObject);
        throw;
    }
    return hObject;
}

CGdiObject* CGdiDC::ObjectFor(void* hObject, UINT nObjectType) {
    if (hObject == nullptr) return nullptr;
    for (const Entry& entry : m_entries) {
        if (entry.hObject == hObject && entry.pObject->GetObjectType() == nObjectType) return entry.pObject.get();
    }
    std::unique_ptr<CGdiObject> pObject = DescribeHostObject(AsObject(hObject), nObjectType);
    if (pObject == nullptr) return nullptr;
    m_entries.push_back(Entry{std::move(pObject), hObject, false});
    return m_entries.back().pObject.get();
}

void* CGdiDC::SelectHandle(void* hObject) {
    HGDIOBJ hOld = nullptr;
    if (m_hDC != m_hAttribDC) hOld = ::SelectObject(AsDC(m_hDC), AsObject(hObject));
    hOld = ::SelectObject(AsDC(m_hAttribDC), AsObject(hObject));
    return hOld;
}

template <typename T>
T* CGdiDC::SelectTyped(T* pObject) {
    if (pObject == nullptr || !pObject->IsAttached()) return nullptr;
    void* hObject = HandleFor(*pObject);
    if (hObject == nullptr) return nullptr;
    void* hOld = SelectHandle(hObject);
    if (hOld == nullptr) {
        Fail("SelectObject");
        return nullptr;
    }
    return static_cast<T*>(ObjectFor(hOld, pObject->GetObjectType()));
}

CPen* CGdiDC::SelectObject(CPen* pPen) {
    return SelectTyped(pPen);
}
CBrush* CGdiDC::SelectObject(CBrush* pBrush) {
    return SelectTyped(pBrush);
}
CFont* CGdiDC::SelectObject(CFont* pFont) {
    return SelectTyped(pFont);
}

CGdiObject* CGdiDC::GetCurrentObject(UINT nObjectType) {
    if (nObjectType != OBJ_PEN && nObjectType != OBJ_BRUSH && nObjectType != OBJ_FONT) return nullptr;
    return ObjectFor(::GetCurrentObject(AsDC(m_hAttribDC), nObjectType), nObjectType);
}

COLORREF CGdiDC::SetTextColor(COLORREF crColor) {
    COLORREF crOld = 0;
    if (m_hDC != m_hAttribDC) crOld = ::SetTextColor(AsDC(m_hDC), crColor);
    crOld = ::SetTextColor(AsDC(m_hAttribDC), crColor);
    return crOld;
}

COLORREF CGdiDC::GetTextColor() {
    return ::GetTextColor(AsDC(m_hAttribDC));
}

int CGdiDC::SetBkMode(int nMode) {
    int nOld = 0;
    if (m_hDC != m_hAttribDC) nOld = ::SetBkMode(AsDC(m_hDC), nMode);
    nOld = ::SetBkMode(AsDC(m_hAttribDC), nMode);
    return nOld;
}

POINT CGdiDC::MoveTo(int x, int y) {
    ::POINT old = {0, 0};
    if (m_hDC != m_hAttribDC) ::MoveToEx(AsDC(m_hDC), x, y, &old);
    ::MoveToEx(AsDC(m_hAttribDC), x, y, &old);
    return POINT{static_cast<LONG>(old.x), static_cast<LONG>(old.y)};
}

void CGdiDC::LineTo(int x, int y) {
    // The attribute handle keeps the current position that queries would see.
    if (m_hDC != m_hAttribDC) ::MoveToEx(AsDC(m_hAttribDC), x, y, nullptr);
    ::LineTo(AsDC(m_hDC), x, y);
}

void CGdiDC::Ellipse(int nLeft, int nTop, int nRight, int nBottom) {
    ::Ellipse(AsDC(m_hDC), nLeft, nTop, nRight, nBottom);
}

void CGdiDC::Polygon(const POINT* pPoints, int nCount) {
    if (pPoints == nullptr || nCount <= 0) return;
    std::vector<::POINT> points(static_cast<std::size_t>(nCount));
    for (std::size_t i = 0; i < points.size(); ++i) points[i] = ::POINT{pPoints[i].x, pPoints[i].y};
    ::Polygon(AsDC(m_hDC), points.data(), nCount);
}

void CGdiDC::FillSolidRect(const RECT& rect, COLORREF crColor) {
    // An opaque text output of nothing paints the rectangle in the background
    // colour without touching pen or brush; the host's colour goes back after.
    HDC hDC = AsDC(m_hDC);
    COLORREF crOld = ::SetBkColor(hDC, crColor);
    ::RECT rc = ToWin32(rect);
    if (!::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr)) Fail("ExtTextOutA");
    if (crOld != CLR_INVALID) ::SetBkColor(hDC, crOld);
}

void CGdiDC::TextOut(int x, int y, const char* pText, int nCount) {
    if (pText == nullptr || nCount <= 0) return;
    ::TextOutA(AsDC(m_hDC), x, y, pText, nCount);
}

void CGdiDC::DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) {
    if (pRect == nullptr) return;
    if (pText == nullptr) {
        pText = "";
        nCount = 0;
    }
    ::RECT rc = ToWin32(*pRect);
    ::DrawTextA(AsDC(m_hDC), pText, nCount < 0 ? -1 : nCount, &rc, nFormat);
    if (nFormat & DT_CALCRECT) {
        *pRect = RECT{static_cast<LONG>(rc.left), static_cast<LONG>(rc.top), static_cast<LONG>(rc.right),
                      static_cast<LONG>(rc.bottom)};
    }
}

}  // namespace vitalchart
