#pragma once

#include <memory>
#include <vector>

#include "vitalchart/export.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {

// A surface that keeps its drawing state itself: selected pen, brush and font,
// text colour, background mode and current position. Backends that draw
// somewhere other than a platform device context derive from it and add the
// drawing operations.
//
// A new surface holds a solid black pen of width 1, a white brush, the
// "System" font of height 16 and weight 400, black text, opaque background
// and position (0, 0).
class VITALCHART_API CStateDC : public CDC {
public:
    ~CStateDC() override;

    CPen* SelectObject(CPen* pPen) override;
    CBrush* SelectObject(CBrush* pBrush) override;
    CFont* SelectObject(CFont* pFont) override;
    CGdiObject* GetCurrentObject(UINT nObjectType) override;
    COLORREF SetTextColor(COLORREF crColor) override;
    COLORREF GetTextColor() override;
    int SetBkMode(int nMode) override;
    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;

    const CPen& GetPen() const { return m_pen; }
    const CBrush& GetBrush() const { return m_brush; }
    const CFont& GetFont() const { return m_font; }
    int GetBkMode() const { return m_nBkMode; }
    POINT GetCurrentPosition() const { return m_ptCurrent; }

protected:
    CStateDC(BOOL bPrinting, UINT nCodePage);

    // The surface-owned object with this description; one per distinct
    // description, so a long chart does not pile up temporaries.
    CPen* TemporaryPen(const CPen& pen);
    CBrush* TemporaryBrush(const CBrush& brush);
    CFont* TemporaryFont(const CFont& font);

    CPen m_pen;
    CBrush m_brush;
    CFont m_font;
    COLORREF m_crText = 0;
    int m_nBkMode = 2;
    POINT m_ptCurrent = {0, 0};

private:
    std::vector<std::unique_ptr<CPen>> m_tempPens;
    std::vector<std::unique_ptr<CBrush>> m_tempBrushes;
    std::vector<std::unique_ptr<CFont>> m_tempFonts;
};

}  // namespace vitalchart
