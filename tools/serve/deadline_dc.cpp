#include "tools/serve/deadline_dc.h"

namespace vitalchart {
namespace cli {

CDeadlineDC::CDeadlineDC(CDC& rInner, Clock::time_point deadline) : CForwardingDC(rInner), m_deadline(deadline) {}

void CDeadlineDC::Check() {
    if (m_bExpired || Clock::now() > m_deadline) {
        m_bExpired = true;
        throw CDeadlinePassed();
    }
}

void CDeadlineDC::LineTo(int x, int y) {
    Check();
    m_rInner.LineTo(x, y);
}

void CDeadlineDC::Ellipse(int nLeft, int nTop, int nRight, int nBottom) {
    Check();
    m_rInner.Ellipse(nLeft, nTop, nRight, nBottom);
}

void CDeadlineDC::Polygon(const POINT* pPoints, int nCount) {
    Check();
    m_rInner.Polygon(pPoints, nCount);
}

void CDeadlineDC::FillSolidRect(const RECT& rect, COLORREF crColor) {
    Check();
    m_rInner.FillSolidRect(rect, crColor);
}

void CDeadlineDC::HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) {
    Check();
    m_rInner.HatchPolygon(pPoints, nCount, nSpacing, bRising);
}

void CDeadlineDC::TextOut(int x, int y, const char* pText, int nCount) {
    Check();
    m_rInner.TextOut(x, y, pText, nCount);
}

void CDeadlineDC::DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) {
    Check();
    m_rInner.DrawText(pText, nCount, pRect, nFormat);
}

}  // namespace cli
}  // namespace vitalchart
