#pragma once

#include "vitalchart/export.h"
#include "vitalchart/platform/gdi_objects.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// The drawing surface a host lends the plug-in for one call: the operations
// the chart painters use on the original platform's device context, with the
// same meaning. Backends implement it; the renderer knows only this class.
class VITALCHART_API CDC {
public:
    virtual ~CDC();

    // Non-zero while the surface prints (a printer page, not the screen).
    BOOL IsPrinting() const { return m_bPrinting; }
    // The code page of the text handed to TextOut and DrawText (936, 65001, ...).
    UINT GetCodePage() const { return m_nCodePage; }

    // Selects an attached object and returns the one of that kind selected
    // before (possibly a surface-owned temporary, valid while the surface
    // lives); null and no change for a null or unattached object.
    virtual CPen* SelectObject(CPen* pPen) = 0;
    virtual CBrush* SelectObject(CBrush* pBrush) = 0;
    virtual CFont* SelectObject(CFont* pFont) = 0;

    // The pen (OBJ_PEN), brush (OBJ_BRUSH) or font (OBJ_FONT) selected now,
    // as a surface-owned temporary; null for another kind.
    virtual CGdiObject* GetCurrentObject(UINT nObjectType) = 0;

    // Colour of later text; returns the previous one.
    virtual COLORREF SetTextColor(COLORREF crColor) = 0;
    virtual COLORREF GetTextColor() = 0;
    // TRANSPARENT or OPAQUE; returns the previous mode.
    virtual int SetBkMode(int nMode) = 0;

    // Moves the current position; returns the previous one.
    virtual POINT MoveTo(int x, int y) = 0;
    // A line in the current pen from the current position to (x, y), which
    // becomes the current position.
    virtual void LineTo(int x, int y) = 0;
    // Figure inside the bounding box: outline in the current pen, fill in the current brush.
    virtual void Ellipse(int nLeft, int nTop, int nRight, int nBottom) = 0;
    // Closed polygon: outline in the current pen, fill in the current brush.
    virtual void Polygon(const POINT* pPoints, int nCount) = 0;
    // Solid fill of the rectangle, independent of pen and brush.
    virtual void FillSolidRect(const RECT& rect, COLORREF crColor) = 0;
    // Hatches the inside of the closed polygon (even-odd rule) with parallel
    // strokes in the current pen, nSpacing device units apart along the x
    // axis, rising to the right (bRising) or falling. The current position is
    // kept. The default draws the strokes with MoveTo and LineTo, the same on
    // every surface; a surface may record or draw them otherwise.
    virtual void HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising);

    // One line of text with its top-left at (x, y); nCount bytes.
    virtual void TextOut(int x, int y, const char* pText, int nCount) = 0;
    // Text in a rectangle by DT_* format; a negative count means up to the
    // terminating zero. With DT_CALCRECT nothing is drawn and the rectangle,
    // keeping its left and top, takes the text's extent.
    virtual void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) = 0;

protected:
    CDC(BOOL bPrinting, UINT nCodePage) : m_bPrinting(bPrinting), m_nCodePage(nCodePage) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL m_bPrinting;
    UINT m_nCodePage;
};

}  // namespace vitalchart
