#pragma once

#include <chrono>
#include <stdexcept>

#include "tools/forwarding_dc.h"

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
class CDeadlineDC : public CForwardingDC {
public:
    using Clock = std::chrono::steady_clock;

    CDeadlineDC(CDC& rInner, Clock::time_point deadline);

    // Whether a drawing call found the deadline passed.
    bool HasExpired() const { return m_bExpired; }

    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void FillSolidRect(const RECT& rect, COLORREF crColor) override;
    void HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

private:
    void Check();

    Clock::time_point m_deadline;
    bool m_bExpired = false;
};

}  // namespace cli
}  // namespace vitalchart
