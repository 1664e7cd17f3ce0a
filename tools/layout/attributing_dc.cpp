#include "tools/layout/attributing_dc.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/int_math.h"

namespace vitalchart {
namespace cli {

namespace {

std::vector<POINT> Points(const POINT* pPoints, int nCount) {
    if (pPoints == nullptr || nCount <= 0) return {};
    return std::vector<POINT>(pPoints, pPoints + nCount);
}

void AddPoints(CDeviceBox& rBox, const std::vector<POINT>& points) {
    for (const POINT& pt : points) rBox.Add(pt.x, pt.y);
}

}  // namespace

CAttributingDC::CAttributingDC(CDC& rInner, CLayoutRecorder& rRecorder)
    : CForwardingDC(rInner), m_rRecorder(rRecorder) {}

POINT CAttributingDC::MoveTo(int x, int y) {
    m_ptCurrent = {x, y};
    return m_rInner.MoveTo(x, y);
}

void CAttributingDC::LineTo(int x, int y) {
    ElementLayout& rElement = m_rRecorder.Current();
    rElement.lines.push_back({m_ptCurrent, {x, y}});
    rElement.box.Add(m_ptCurrent.x, m_ptCurrent.y);
    rElement.box.Add(x, y);
    m_ptCurrent = {x, y};
    m_rInner.LineTo(x, y);
}

void CAttributingDC::Ellipse(int nLeft, int nTop, int nRight, int nBottom) {
    ElementLayout& rElement = m_rRecorder.Current();
    rElement.ellipses.push_back({nLeft, nTop, nRight, nBottom});
    rElement.box.Add(rElement.ellipses.back());
    m_rInner.Ellipse(nLeft, nTop, nRight, nBottom);
}

void CAttributingDC::Polygon(const POINT* pPoints, int nCount) {
    ElementLayout& rElement = m_rRecorder.Current();
    rElement.polygons.push_back(Points(pPoints, nCount));
    AddPoints(rElement.box, rElement.polygons.back());
    m_rInner.Polygon(pPoints, nCount);
}

void CAttributingDC::FillSolidRect(const RECT& rect, COLORREF crColor) {
    ElementLayout& rElement = m_rRecorder.Current();
    rElement.fills.push_back(rect);
    rElement.box.Add(rect);
    m_rInner.FillSolidRect(rect, crColor);
}

void CAttributingDC::HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) {
    ElementLayout& rElement = m_rRecorder.Current();
    rElement.hatches.push_back(Points(pPoints, nCount));
    AddPoints(rElement.box, rElement.hatches.back());
    // The inner surface strokes the area its own way (or records it whole).
    m_rInner.HatchPolygon(pPoints, nCount, nSpacing, bRising);
}

void CAttributingDC::TextOut(int x, int y, const char* pText, int nCount) {
    NoteText(pText, nCount, RECT{x, y, x, y}, DT_LEFT | DT_NOPREFIX);
    m_rInner.TextOut(x, y, pText, nCount);
}

void CAttributingDC::DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) {
    if (pRect != nullptr && pText != nullptr && (nFormat & DT_CALCRECT) == 0) {
        NoteText(pText, nCount, *pRect, nFormat);
    }
    m_rInner.DrawText(pText, nCount, pRect, nFormat);
}

void CAttributingDC::NoteText(const char* pText, int nCount, const RECT& rect, UINT nFormat) {
    if (pText == nullptr) return;
    const std::size_t nBytes = nCount < 0 ? std::strlen(pText) : static_cast<std::size_t>(nCount);
    // A measurement draws nothing, on any surface, and leaves no trace.
    RECT rcText = rect;
    m_rInner.DrawText(pText, nCount, &rcText, (nFormat & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
    const int nWidth = WrapSub(rcText.right, rcText.left);
    int dx = 0;
    if ((nFormat & DT_CENTER) != 0) {
        dx = WrapDiv(WrapSub(WrapSub(rect.right, rect.left), nWidth), 2);
    } else if ((nFormat & DT_RIGHT) != 0) {
        dx = WrapSub(WrapSub(rect.right, rect.left), nWidth);
    }
    OffsetRect(&rcText, dx, 0);
    ElementLayout& rElement = m_rRecorder.Current();
    rElement.texts.push_back({std::string(pText, nBytes), rcText, m_rInner.GetTextColor()});
    rElement.box.Add(rcText);
}

}  // namespace cli
}  // namespace vitalchart
