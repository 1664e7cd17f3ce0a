#include <array>

#include "platform/int_math.h"
#include "platform/mul_div.h"
#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The arrowhead's base stops this many device units short of the marker's
// column edges, whatever the scale.
constexpr int kArrowInset = 2;

// The kinds' own colours: blue crosses, red circles, black 4 and 5.
COLORREF KindColour(int nKind) {
    if (nKind == 4 || nKind == 5) return kBlack;
    return (nKind == 1 || nKind == 7) ? kBlue : kRed;
}

// Points of a ring, as cosines and sines in thousandths: integer geometry
// draws the same ring on every platform.
constexpr std::array<std::array<int, 2>, 24> kRing = {
    {{1000, 0},    {966, 259},   {866, 500},  {707, 707},  {500, 866},  {259, 966},   {0, 1000},    {-259, 966},
     {-500, 866},  {-707, 707},  {-866, 500}, {-966, 259}, {-1000, 0},  {-966, -259}, {-866, -500}, {-707, -707},
     {-500, -866}, {-259, -966}, {0, -1000},  {259, -966}, {500, -866}, {707, -707},  {866, -500},  {966, -259}}};

}  // namespace

bool MarkerStyle::IsHollow() const {
    switch (shape) {
        case MarkerShape::kOfKind:
            return nKind == 3 || nKind == 5 || nKind == 6;
        case MarkerShape::kCircle:
        case MarkerShape::kTriangle:
        case MarkerShape::kCircleDot:
            return true;
        default:
            return false;
    }
}

void CChartRenderer::DrawSymbol(int x, int y, int nKind) {
    MarkerStyle style;
    style.nKind = nKind;
    DrawMarker(x, y, style);
}

void CChartRenderer::DrawMarker(int x, int y, const MarkerStyle& style) {
    if (m_pDC == nullptr) return;
    // One millimetre across: the unit every marker is laid out in.
    const int d = EvalPosition("1", 0);
    if (!style.Draws()) return;
    const int nKind = style.nKind;
    const bool bOfKind = style.shape == MarkerShape::kOfKind;

    const BOOL bPrinting = m_pDC->IsPrinting();
    const BOOL bColour = IsColorAllowed();
    // One device unit scaled like a horizontal length: a printer's units are
    // far finer than the screen's, and a 1-unit outline would all but vanish.
    const int nPrintWidth = m_geometry.ScaleX(1);

    // The black kinds 4 and 5 always take the print width; every other
    // marker one unit on screen. Without colour in print, every marker is black.
    // A shape asked for in place of a kind's keeps the kind's colour; one in
    // place of a kind that draws nothing is black.
    const bool bKnownKind = nKind >= 1 && nKind <= 8;
    const COLORREF crOwn = style.bHasColor ? style.crColor : (bKnownKind ? KindColour(nKind) : kBlack);
    const COLORREF crPen = bColour ? crOwn : kBlack;
    const bool bBlackKind = bOfKind && (nKind == 4 || nKind == 5);
    const int nPenWidth = (bBlackKind || bPrinting) ? nPrintWidth : 1;
    if (!m_budget.SpendSymbol(d, nPenWidth)) return;
    // Hollow circles of the kinds (3, 5, 6) fill with whatever brush the
    // surface holds; the other hollow shapes are white inside.
    const bool bKindHollow = bOfKind && style.IsHollow();
    const COLORREF crBrush = style.IsHollow() ? kWhite : crPen;

    CPen pen;
    pen.CreatePen(PS_SOLID, nPenWidth, crPen);
    CPen* pOldPen = m_pDC->SelectObject(&pen);
    CBrush brush;
    CBrush* pOldBrush = nullptr;
    if (!bKindHollow) {
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
    auto triangle = [&]() {
        const POINT corners[3] = {{x, WrapSub(y, d)}, {WrapAdd(x, d), WrapAdd(y, d)}, {WrapSub(x, d), WrapAdd(y, d)}};
        m_pDC->Polygon(corners, 3);
    };

    switch (style.shape) {
        case MarkerShape::kOfKind:
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
            break;
        case MarkerShape::kCross:
            cross();
            break;
        case MarkerShape::kDot:
        case MarkerShape::kCircle:
            circle(d);
            break;
        case MarkerShape::kTriangle:
        case MarkerShape::kFilledTriangle:
            triangle();
            break;
        case MarkerShape::kCircleDot: {
            circle(d);
            CBrush dot;
            dot.CreateSolidBrush(crPen);
            CBrush* pWhite = m_pDC->SelectObject(&dot);
            circle(d / 3 > 0 ? d / 3 : 1);
            if (pWhite != nullptr) m_pDC->SelectObject(pWhite);
            dot.DeleteObject();
            break;
        }
    }

    if (pOldBrush != nullptr) m_pDC->SelectObject(pOldBrush);
    if (pOldPen != nullptr) m_pDC->SelectObject(pOldPen);
    brush.DeleteObject();
    pen.DeleteObject();
}

void CChartRenderer::DrawDot(int x, int y, int nRadius, COLORREF crColor) {
    if (m_pDC == nullptr || nRadius <= 0) return;
    if (!m_budget.SpendSymbol(nRadius, 1)) return;
    const COLORREF cr = IsColorAllowed() ? crColor : kBlack;
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, cr);
    CBrush brush;
    brush.CreateSolidBrush(cr);
    CPen* pOldPen = m_pDC->SelectObject(&pen);
    CBrush* pOldBrush = m_pDC->SelectObject(&brush);
    m_pDC->Ellipse(WrapSub(x, nRadius), WrapSub(y, nRadius), WrapAdd(x, nRadius), WrapAdd(y, nRadius));
    if (pOldBrush != nullptr) m_pDC->SelectObject(pOldBrush);
    if (pOldPen != nullptr) m_pDC->SelectObject(pOldPen);
    brush.DeleteObject();
    pen.DeleteObject();
}

void CChartRenderer::DrawRing(int x, int y, int nRadius, COLORREF crColor) {
    if (m_pDC == nullptr || nRadius <= 0) return;
    if (!m_budget.Spend(CDrawingBudget::kLineWork * static_cast<std::int64_t>(kRing.size()))) return;
    CPen pen;
    pen.CreatePen(PS_SOLID, m_pDC->IsPrinting() ? m_geometry.ScaleX(1) : 1, IsColorAllowed() ? crColor : kBlack);
    CPen* pOldPen = m_pDC->SelectObject(&pen);
    // Lines, not a figure: the ring must not cover what it surrounds.
    auto point = [&](std::size_t i) {
        const auto& cs = kRing[i % kRing.size()];
        return POINT{WrapAdd(x, MulDiv(nRadius, cs[0], 1000)), WrapAdd(y, MulDiv(nRadius, cs[1], 1000))};
    };
    const POINT first = point(0);
    m_pDC->MoveTo(first.x, first.y);
    for (std::size_t i = 1; i <= kRing.size(); ++i) {
        const POINT p = point(i);
        m_pDC->LineTo(p.x, p.y);
    }
    if (pOldPen != nullptr) m_pDC->SelectObject(pOldPen);
    pen.DeleteObject();
}

}  // namespace vitalchart
