#pragma once

#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// A surface in front of another one that passes every call on unchanged, in
// the same order, so that the inner surface draws (or records) exactly what
// it would alone. Surfaces that watch or limit a drawing derive from it and
// override the calls they look at, passing each on through m_rInner.
class CForwardingDC : public CDC {
public:
    // The inner surface is lent and must outlive this one.
    explicit CForwardingDC(CDC& rInner) : CDC(rInner.IsPrinting(), rInner.GetCodePage()), m_rInner(rInner) {}

    CPen* SelectObject(CPen* pPen) override { return m_rInner.SelectObject(pPen); }
    CBrush* SelectObject(CBrush* pBrush) override { return m_rInner.SelectObject(pBrush); }
    CFont* SelectObject(CFont* pFont) override { return m_rInner.SelectObject(pFont); }
    CGdiObject* GetCurrentObject(UINT nObjectType) override { return m_rInner.GetCurrentObject(nObjectType); }
    COLORREF SetTextColor(COLORREF crColor) override { return m_rInner.SetTextColor(crColor); }
    COLORREF GetTextColor() override { return m_rInner.GetTextColor(); }
    int SetBkMode(int nMode) override { return m_rInner.SetBkMode(nMode); }
    POINT MoveTo(int x, int y) override { return m_rInner.MoveTo(x, y); }
    void LineTo(int x, int y) override { m_rInner.LineTo(x, y); }
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override {
        m_rInner.Ellipse(nLeft, nTop, nRight, nBottom);
    }
    void Polygon(const POINT* pPoints, int nCount) override { m_rInner.Polygon(pPoints, nCount); }
    void FillSolidRect(const RECT& rect, COLORREF crColor) override { m_rInner.FillSolidRect(rect, crColor); }
    void HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) override {
        m_rInner.HatchPolygon(pPoints, nCount, nSpacing, bRising);
    }
    void TextOut(int x, int y, const char* pText, int nCount) override { m_rInner.TextOut(x, y, pText, nCount); }
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override {
        m_rInner.DrawText(pText, nCount, pRect, nFormat);
    }

protected:
    CDC& m_rInner;
};

}  // namespace cli
}  // namespace vitalchart
