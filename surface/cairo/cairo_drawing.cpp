// The Cairo surface's drawing: pens, lines, figures, fills, clipping and
// laid-out text, cut to the page before Cairo sees them.

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

// Cairo and Pango come with the surface's state, after the platform's names.
#include "surface/cairo/cairo_impl.h"

namespace vitalchart {

namespace {

// The platform's cosmetic pen patterns, in device units: on, off, on, ...
constexpr double kDash[] = {18, 6};
constexpr double kDot[] = {3, 3};
constexpr double kDashDot[] = {9, 6, 3, 6};
constexpr double kDashDotDot[] = {9, 3, 3, 3, 3, 3};

constexpr double kPi = 3.14159265358979323846;

void SetSourceColor(cairo_t* pCr, COLORREF cr) {
    cairo_set_source_rgb(pCr, GetRValue(cr) / 255.0, GetGValue(cr) / 255.0, GetBValue(cr) / 255.0);
}

}  // namespace

bool CCairoDC::CImpl::IsPatterned(const CPen& pen) {
    return pen.m_nWidth <= 1 && pen.m_nStyle >= PS_DASH && pen.m_nStyle <= PS_DASHDOTDOT;
}

void CCairoDC::CImpl::ApplyPen(const CPen& pen, int& nWidth) {
    nWidth = std::max(1, std::min(kMaxPenWidth, pen.m_nWidth));
    SetSourceColor(m_pCr, pen.m_crColor);
    cairo_set_line_width(m_pCr, nWidth);
    // Patterned styles exist only for one-unit pens; a wider pen of such a
    // style draws solid, as on the platform.
    struct SPattern {
        const double* pDash;
        int nDash;
    };
    static const SPattern kPatterns[] = {{nullptr, 0}, {kDash, 2}, {kDot, 2}, {kDashDot, 4}, {kDashDotDot, 6}};
    SPattern pattern = kPatterns[0];
    if (IsPatterned(pen)) pattern = kPatterns[pen.m_nStyle];
    cairo_set_dash(m_pCr, pattern.pDash, pattern.nDash, 0.0);
    // A one-unit line stops short of its end point like the platform's; wide
    // pens have round ends and joins.
    cairo_set_line_cap(m_pCr, nWidth > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(m_pCr, nWidth > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
}

void CCairoDC::CImpl::Line(POINT from, POINT to, const CPen& pen) {
    if (!BeginDrawing()) return;
    int nWidth = 1;
    ApplyPen(pen, nWidth);
    // An odd width is centred on the pixel, so a one-unit grid line covers
    // exactly one row or column. Along an axis a one-unit line's ends stay on
    // pixel edges, on the far side of the start pixel, so that the start pixel
    // is drawn and the end pixel is not, in either direction.
    const double dHalf = (nWidth % 2 == 1) ? 0.5 : 0.0;
    double x0 = from.x;
    double y0 = from.y;
    double x1 = to.x;
    double y1 = to.y;
    const bool bHorizontal = nWidth == 1 && from.y == to.y && from.x != to.x;
    const bool bVertical = nWidth == 1 && from.x == to.x && from.y != to.y;
    const double dShiftX = bHorizontal ? (to.x < from.x ? 1.0 : 0.0) : dHalf;
    const double dShiftY = bVertical ? (to.y < from.y ? 1.0 : 0.0) : dHalf;
    x0 += dShiftX;
    x1 += dShiftX;
    y0 += dShiftY;
    y1 += dShiftY;
    if (!ClipSegment(m_box, x0, y0, x1, y1)) return;
    cairo_new_path(m_pCr);
    if (m_eKind == ESurfaceKind::kImage && (bHorizontal || bVertical) && !IsPatterned(pen)) {
        // On an image such a line covers whole pixels, a box that Cairo fills
        // faster than it strokes a line, to the same pixels. (Documents keep
        // it a line, which viewers never thin away.)
        cairo_rectangle(m_pCr, std::min(x0, x1) - (bVertical ? 0.5 : 0.0), std::min(y0, y1) - (bHorizontal ? 0.5 : 0.0),
                        bHorizontal ? std::fabs(x1 - x0) : 1.0, bVertical ? std::fabs(y1 - y0) : 1.0);
        cairo_fill(m_pCr);
        return;
    }
    cairo_move_to(m_pCr, x0, y0);
    cairo_line_to(m_pCr, x1, y1);
    cairo_stroke(m_pCr);
}

void CCairoDC::CImpl::Ellipse(int nLeft, int nTop, int nRight, int nBottom, const CPen& pen, const CBrush& brush) {
    if (!BeginDrawing()) return;
    const double l = std::min(nLeft, nRight);
    const double r = std::max(nLeft, nRight);
    const double t = std::min(nTop, nBottom);
    const double b = std::max(nTop, nBottom);
    if (r - l < 1.0 || b - t < 1.0) return;
    // The one-unit outline runs through the centres of the box's edge pixels,
    // so the figure stays inside the box as on the platform.
    const double cx = (l + r) / 2.0;
    const double cy = (t + b) / 2.0;
    const double rx = std::max(0.25, (r - l - 1.0) / 2.0);
    const double ry = std::max(0.25, (b - t - 1.0) / 2.0);
    if (m_box.Contains(l, t) && m_box.Contains(r, b)) {
        cairo_new_path(m_pCr);
        cairo_save(m_pCr);
        cairo_translate(m_pCr, cx, cy);
        cairo_scale(m_pCr, rx, ry);
        cairo_arc(m_pCr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
        cairo_close_path(m_pCr);
        cairo_restore(m_pCr);
        SetSourceColor(m_pCr, brush.m_crColor);
        cairo_fill_preserve(m_pCr);
        int nWidth = 1;
        ApplyPen(pen, nWidth);
        cairo_stroke(m_pCr);
        return;
    }
    // A figure larger than the page becomes a fine polygon that can be cut
    // to the page; the step keeps it within a few units of the true curve.
    const double dRadius = std::max(rx, ry);
    const int nSteps = static_cast<int>(std::min(65536.0, std::max(64.0, 4.0 * std::sqrt(dRadius))));
    std::vector<SPoint> pts;
    pts.reserve(static_cast<std::size_t>(nSteps));
    for (int i = 0; i < nSteps; ++i) {
        double a = 2.0 * kPi * i / nSteps;
        pts.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    FillAndStroke(std::move(pts), pen, brush);
}

void CCairoDC::CImpl::Polygon(const POINT* pPoints, int nCount, const CPen& pen, const CBrush& brush) {
    if (pPoints == nullptr || nCount < 2 || !BeginDrawing()) return;
    const int nWidth = std::max(1, std::min(kMaxPenWidth, pen.m_nWidth));
    const double dHalf = (nWidth % 2 == 1) ? 0.5 : 0.0;
    std::vector<SPoint> pts;
    pts.reserve(static_cast<std::size_t>(nCount));
    for (int i = 0; i < nCount; ++i) pts.push_back({pPoints[i].x + dHalf, pPoints[i].y + dHalf});
    FillAndStroke(std::move(pts), pen, brush);
}

void CCairoDC::CImpl::FillAndStroke(std::vector<SPoint> pts, const CPen& pen, const CBrush& brush) {
    for (const SPoint& p : pts) {
        if (!m_box.Contains(p.x, p.y)) {
            pts = ClipPolygon(m_box, std::move(pts));
            break;
        }
    }
    if (pts.empty()) return;
    cairo_new_path(m_pCr);
    cairo_move_to(m_pCr, pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(m_pCr, pts[i].x, pts[i].y);
    cairo_close_path(m_pCr);
    // The platform's default polygon fill mode is alternate.
    cairo_set_fill_rule(m_pCr, CAIRO_FILL_RULE_EVEN_ODD);
    SetSourceColor(m_pCr, brush.m_crColor);
    cairo_fill_preserve(m_pCr);
    int nWidth = 1;
    ApplyPen(pen, nWidth);
    cairo_stroke(m_pCr);
}

void CCairoDC::CImpl::FillRect(const RECT& rect, COLORREF crColor) {
    if (!BeginDrawing()) return;
    double l = m_box.ClampX(std::min(rect.left, rect.right));
    double r = m_box.ClampX(std::max(rect.left, rect.right));
    double t = m_box.ClampY(std::min(rect.top, rect.bottom));
    double b = m_box.ClampY(std::max(rect.top, rect.bottom));
    if (r <= l || b <= t) return;
    cairo_new_path(m_pCr);
    cairo_rectangle(m_pCr, l, t, r - l, b - t);
    SetSourceColor(m_pCr, crColor);
    cairo_fill(m_pCr);
}

bool CCairoDC::CImpl::TextBox(const RECT& rect, SBox& rBox) const {
    rBox.dLeft = m_box.ClampX(std::min(rect.left, rect.right));
    rBox.dRight = m_box.ClampX(std::max(rect.left, rect.right));
    rBox.dTop = m_box.ClampY(std::min(rect.top, rect.bottom));
    rBox.dBottom = m_box.ClampY(std::max(rect.top, rect.bottom));
    return rBox.dRight > rBox.dLeft && rBox.dBottom > rBox.dTop;
}

void CCairoDC::CImpl::ClipTo(const SBox& box) {
    cairo_new_path(m_pCr);
    cairo_rectangle(m_pCr, box.dLeft, box.dTop, box.dRight - box.dLeft, box.dBottom - box.dTop);
    cairo_clip(m_pCr);
}

namespace {

// Where a line of the text begins, as aligned between dLeft and dRight.
double LineLeft(const SLine& line, double dLeft, double dRight, UINT nAlign) {
    if (nAlign & DT_CENTER) return dLeft + (dRight - dLeft - line.dWidth) / 2.0;
    if (nAlign & DT_RIGHT) return dRight - line.dWidth;
    return dLeft;
}

// The white box behind a line of opaque text whose line begins at x, cut to
// the page.
SBox LineBackground(const SBox& page, const SLine& line, double x, double dTop) {
    return {page.ClampX(std::floor(x)), page.ClampY(std::floor(dTop + line.dTop)),
            page.ClampX(std::ceil(x + line.dWidth)), page.ClampY(std::ceil(dTop + line.dTop + line.dHeight))};
}

// Room kept between a glyph's outline and the edge of the box it is cut to:
// glyph images are placed on whole pixels and cover whole pixels.
constexpr double kInkSlack = 2.0;

}  // namespace

bool CCairoDC::CImpl::LinesFitIn(const CTextLayout::SLaidOut& text, double dLeft, double dRight, double dTop,
                                 UINT nAlign, bool bOpaque, const SBox& box) const {
    if (std::fabs(dLeft) > kTextReach || std::fabs(dTop) > kTextReach) return true;
    for (const SLine& line : text.arrLines) {
        const double x = LineLeft(line, dLeft, dRight, nAlign);
        if (std::fabs(x) > kTextReach) continue;
        if (bOpaque && line.dWidth > 0.0) {
            const SBox back = LineBackground(m_box, line, x, dTop);
            if (back.dLeft < box.dLeft || back.dRight > box.dRight || back.dTop < box.dTop ||
                back.dBottom > box.dBottom) {
                return false;
            }
        }
        const PangoRectangle& ink = line.rcInk;
        if (ink.width <= 0 || ink.height <= 0) continue;
        const double dInkLeft = x - line.dLogicalX + double(ink.x) / PANGO_SCALE;
        const double dInkTop = dTop + line.dBaseline + double(ink.y) / PANGO_SCALE;
        if (dInkLeft - kInkSlack < box.dLeft || dInkLeft + double(ink.width) / PANGO_SCALE + kInkSlack > box.dRight ||
            dInkTop - kInkSlack < box.dTop || dInkTop + double(ink.height) / PANGO_SCALE + kInkSlack > box.dBottom) {
            return false;
        }
    }
    return true;
}

void CCairoDC::CImpl::DrawLines(const CTextLayout::SLaidOut& text, double dLeft, double dRight, double dTop,
                                UINT nAlign, COLORREF crText, bool bOpaque) {
    if (std::fabs(dLeft) > kTextReach || std::fabs(dTop) > kTextReach) return;
    for (const SLine& line : text.arrLines) {
        const double x = LineLeft(line, dLeft, dRight, nAlign);
        if (std::fabs(x) > kTextReach) continue;
        if (bOpaque && line.dWidth > 0.0) {
            // The platform's default background colour is white.
            const SBox back = LineBackground(m_box, line, x, dTop);
            cairo_new_path(m_pCr);
            cairo_rectangle(m_pCr, back.dLeft, back.dTop, back.dRight - back.dLeft, back.dBottom - back.dTop);
            cairo_set_source_rgb(m_pCr, 1.0, 1.0, 1.0);
            cairo_fill(m_pCr);
        }
        SetSourceColor(m_pCr, crText);
        cairo_new_path(m_pCr);
        cairo_move_to(m_pCr, x - line.dLogicalX, dTop + line.dBaseline);
        if (m_eKind == ESurfaceKind::kImage && text.dFontEm > kMaxGlyphImageHeight) {
            pango_cairo_layout_line_path(m_pCr, line.pLine);
            cairo_fill(m_pCr);
        } else {
            pango_cairo_show_layout_line(m_pCr, line.pLine);
        }
    }
    cairo_new_path(m_pCr);
}

}  // namespace vitalchart
