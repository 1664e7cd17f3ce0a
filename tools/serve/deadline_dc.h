#pragma once

#include <chrono>
#include <stdexcept>

#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// Thrown by CDeadlineDC from a drawing call made after its deadline.
class CDeadlinePassed : public std::runtime_error {
public:
    CDeadlinePassed() : std::runtime_error("the render time limit passed") {}
};

// A surface that passes every call on to another one until a deadline, so
// that a render whose drawing runs long is given up rather than holding its
// worker: the first drawing call after the deadline throws CDeadlinePassed,
// which ends the drawing pass with the surface's state restored (that pass
// restores state with selections only, which never throw). Lines, figures,
// fills and texts, measured texts included, are drawing calls.
class CDeadlineDC : public CDC {
public:
    using Clock = std::chrono::steady_clock;

    CDeadlineDC(CDC& rInner, Clock::time_point deadline);

    // Whether a drawing call found the deadline passed.
    bool HasExpired() const { return m_bExpired; }

    CPen* SelectObject(CPen* pPen) override { return m_rInner.SelectObject(pPen); }
    CBrush* SelectObject(CBrush* pBrush) override { return m_rInner.SelectObject(pBrush); }
    CFont* SelectObject(CFont* pFont) override { return m_rInner.SelectObject(pFont); }
    CGdiObject* GetCurrentObject(UINT nObjectType) override { return m_rInner.GetCurrentObject(nObjectType); }
    COLORREF SetTextColor(COLORREF crColor) override { return m_rInner.SetTextColor(crColor); }
    COLORREF GetTextColor() override { return m_rInner.GetTextColor(); }
    int SetBkMode(int nMode) override { return m_rInner.SetBkMode(nMode); }
    POINT MoveTo(int x, int y) override { return m_rInner.MoveTo(x, y); }

    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void FillSolidRect(const RECT& rect, COLORREF crColor) override;
    void HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

private:
    void Check();

    CDC& m_rInner;
    Clock::time_point m_deadline;
    bool m_bExpired = false;
};

}  // namespace cli
}  // namespace vitalchart
