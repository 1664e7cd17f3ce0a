#pragma once

#include "vitalchart/export.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// A drawing object of the platform: a pen, a brush or a font. It holds the
// description a surface needs to draw with it; "attached" means a system
// object was created for it, and only an attached object can be selected.
class VITALCHART_API CGdiObject {
public:
    virtual ~CGdiObject();

    // OBJ_PEN, OBJ_BRUSH or OBJ_FONT.
    UINT GetObjectType() const { return m_nType; }
    // Whether a system object is attached (created and not yet deleted).
    BOOL IsAttached() const { return m_bAttached; }
    // Releases the system object; the description stays. 1 when one was attached.
    BOOL DeleteObject();

protected:
    explicit CGdiObject(UINT nType) : m_nType(nType) {}
    CGdiObject(const CGdiObject&) = default;
    CGdiObject& operator=(const CGdiObject&) = default;

    UINT m_nType;
    BOOL m_bAttached = 0;
};

// A pen: style (PS_*), width in device units and colour.
class VITALCHART_API CPen : public CGdiObject {
public:
    CPen() : CGdiObject(OBJ_PEN) {}
    CPen(const CPen&) = default;
    CPen& operator=(const CPen&) = default;

    // Creates the system pen and attaches it; 0 for a style outside PS_SOLID..PS_DASHDOTDOT.
    BOOL CreatePen(int nStyle, int nWidth, COLORREF crColor);
    bool SameAs(const CPen& other) const;

    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;
};

// A solid brush of one colour.
class VITALCHART_API CBrush : public CGdiObject {
public:
    CBrush() : CGdiObject(OBJ_BRUSH) {}
    CBrush(const CBrush&) = default;
    CBrush& operator=(const CBrush&) = default;

    // Creates the system brush and attaches it.
    BOOL CreateSolidBrush(COLORREF crColor);
    bool SameAs(const CBrush& other) const;

    COLORREF m_crColor = 0xFFFFFF;
};

// A font described by a LOGFONT.
class VITALCHART_API CFont : public CGdiObject {
public:
    CFont();
    CFont(const CFont&) = default;
    CFont& operator=(const CFont&) = default;

    // Creates the system font from the description and attaches it; 0 for a null description.
    BOOL CreateFontIndirect(const LOGFONT* pLogFont);
    bool SameAs(const CFont& other) const;

    LOGFONT m_logFont;
};

}  // namespace vitalchart
