#include "vitalchart/platform/gdi_objects.h"

#include <cstring>

namespace vitalchart {

CGdiObject::~CGdiObject() = default;

BOOL CGdiObject::DeleteObject() {
    BOOL bWas = m_bAttached;
    m_bAttached = 0;
    return bWas;
}

BOOL CPen::CreatePen(int nStyle, int nWidth, COLORREF crColor) {
    if (nStyle < PS_SOLID || nStyle > PS_DASHDOTDOT) return 0;
    m_nStyle = nStyle;
    m_nWidth = nWidth;
    m_crColor = crColor & 0xFFFFFF;
    m_bAttached = 1;
    return 1;
}

bool CPen::SameAs(const CPen& other) const {
    return m_nStyle == other.m_nStyle && m_nWidth == other.m_nWidth && m_crColor == other.m_crColor;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    m_crColor = crColor & 0xFFFFFF;
    m_bAttached = 1;
    return 1;
}

bool CBrush::SameAs(const CBrush& other) const {
    return m_crColor == other.m_crColor;
}

CFont::CFont() : CGdiObject(OBJ_FONT) {
    std::memset(&m_logFont, 0, sizeof m_logFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* pLogFont) {
    if (pLogFont == nullptr) return 0;
    m_logFont = *pLogFont;
    // The face name is always terminated, whatever the caller left in the field.
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_bAttached = 1;
    return 1;
}

bool CFont::SameAs(const CFont& other) const {
    const LOGFONT& a = m_logFont;
    const LOGFONT& b = other.m_logFont;
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

}  // namespace vitalchart
