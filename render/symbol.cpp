#include "platform/int_math.h"
#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The arrowhead's base stops this many device units short of the marker's
// column edges, whatever the scale.
constexpr int kArrowInset = 2;

}  // namespace

void CChartRenderer::DrawSymbol(int x, int y, int nKind) {
    if (m_pDC == nullptr) return;
    // One millimetre across: the unit every marker is laid out in.
    const int d = EvalPosition("1", 0);
    if (nKind < 1 || nKind > 8) return;

    const BOOL bPrinting = m_pDC->IsPrinting();
    const BOOL bColour = IsColorAllowed();
    // One device unit scaled like a horizontal length: a printer's units are
    // far finer than the screen's, and a 1-unit outline would all but vanish.
    const int nPrintWidth = m_geometry.ScaleX(1);

    COLORREF crPen = kBlack;
    COLORREF crBrush = kBlack;
    int nPenWidth = nPrintWidth;
    if (nKind != 4 && nKind != 5) {
        const COLORREF crKind = (nKind == 1 || nKind == 7) ? kBlue : kRed;
        crPen = bColour ? crKind : kBlack;
        crBrush = crPen;
        nPenWidth = bPrinting ? nPrintWidth : 1;
    }
    if (!m_budget.SpendSymbol(d, nPenWidth)) return;
    // Hollow circles (3, 5, 6) fill with whatever brush the surface holds.
    const bool bOwnBrush = nKind == 1 || nKind == 2 || nKind == 4 || nKind == 7 || nKind == 8;

    CPen pen;
    pen.CreatePen(PS_SOLID, nPenWidth, crPen);
    CPen* pOldPen = m_pDC->SelectObject(&pen);
    CBrush brush;
    CBrush* pOldBrush = nullptr;
    if (bOwnBrush) {
        brush.CreateSolidBrush(crBrush);
        pOldBrush = m_pDC->SelectObject(&brush);
    }

    const int d2 = WrapMul(2, d);
    const int d3 = WrapMul(3, d);
    auto line = [this](int x1, int y1, int x2, int y2) {
        m_pDC->MoveTo(x1, y1);
        m_pDC->LineTo(x2, y2);
    };
    auto cross = [&]() {
        line(WrapSub(x, d), WrapSub(y, d), WrapAdd(x, d), WrapAdd(y, d));
        line(WrapSub(x, d), WrapAdd(y, d), WrapAdd(x, d), WrapSub(y, d));
    };
    auto circle = [&](int r) { m_pDC->Ellipse(WrapSub(x, r), WrapSub(y, r), WrapAdd(x, r), WrapAdd(y, r)); };
    // An arrow to the right of the marker with its tip on the centre line;
    // head and shaft lie on the side the arrow comes from.
    auto arrow = [&](bool bPointsDown) {
        const int xTip = WrapAdd(x, d2);
        const int yBase = bPointsDown ? WrapSub(y, d) : WrapAdd(y, d);
        const POINT head[3] = {
            {xTip, y}, {WrapAdd(WrapAdd(x, d), kArrowInset), yBase}, {WrapSub(WrapAdd(x, d3), kArrowInset), yBase}};
        m_pDC->Polygon(head, 3);
        line(xTip, y, xTip, bPointsDown ? WrapSub(y, d3) : WrapAdd(y, d3));
    };

    switch (nKind) {
        case 1:
            cross();
            break;
        case 2:
        case 3:
        case 4:
        case 5:
            circle(d);
            break;
        case 6:
            circle(d2);
            // The letter H inside the circle.
            line(WrapSub(x, d), WrapSub(y, d), WrapSub(x, d), WrapAdd(y, d));
            line(WrapSub(x, d), y, WrapAdd(x, d), y);
            line(WrapAdd(x, d), WrapSub(y, d), WrapAdd(x, d), WrapAdd(y, d));
            break;
        case 7:
            cross();
            arrow(true);
            break;
        case 8:
            circle(d);
            arrow(false);
            break;
        default:
            break;
    }

    if (pOldBrush != nullptr) m_pDC->SelectObject(pOldBrush);
    if (pOldPen != nullptr) m_pDC->SelectObject(pOldPen);
    brush.DeleteObject();
    pen.DeleteObject();
}

}  // namespace vitalchart
