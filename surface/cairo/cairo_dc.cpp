#include "vitalchart/surface/cairo_dc.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/int_math.h"
#include "surface/cairo/clip_geometry.h"
#include "surface/cairo/font_config.h"
#include "surface/cairo/png_writer.h"
#include "surface/cairo/text_layout.h"

namespace vitalchart {

namespace {

constexpr int kMaxPenWidth = 1000;
// Geometry is cut to the page grown by this margin before Cairo sees it:
// Cairo's fixed-point coordinates overflow far out, and its rasteriser loses
// lines much longer than an image side. Nothing beyond the margin can show.
constexpr double kClipMargin = 2.0 * kMaxPenWidth;
// Text whose origin lies further out than this is not drawn at all.
constexpr double kTextReach = 1048576.0;
// On an image, text in a larger font is filled as outlines: the drawing
// library keeps an image of every glyph it shows, counted by glyphs, not
// bytes, and thousands of distinct characters at page size took gigabytes.
// (Documents keep glyphs as outlines anyway.)
constexpr double kMaxGlyphImageHeight = 64.0;

// The platform's cosmetic pen patterns, in device units: on, off, on, ...
constexpr double kDash[] = {18, 6};
constexpr double kDot[] = {3, 3};
constexpr double kDashDot[] = {9, 6, 3, 6};
constexpr double kDashDotDot[] = {9, 3, 3, 3, 3, 3};

constexpr double kPi = 3.14159265358979323846;

enum class EKind { kImage, kPdf, kSvg };

void SetSourceColor(cairo_t* pCr, COLORREF cr) {
    cairo_set_source_rgb(pCr, GetRValue(cr) / 255.0, GetGValue(cr) / 255.0, GetBValue(cr) / 255.0);
}

// A measured length rounded up to whole device units, held within int.
std::int32_t CeilToInt(double v) {
    v = std::ceil(v);
    if (!(v < 2147483647.0)) return 2147483647;
    if (v < -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(v);
}

}  // namespace

class CCairoDC::CImpl {
public:
    CImpl(EKind eKind, UINT nCodePage) : m_eKind(eKind), m_text(nCodePage) {}
    ~CImpl();
    CImpl(const CImpl&) = delete;
    CImpl& operator=(const CImpl&) = delete;

    void Fail(const std::string& strMessage) {
        // Don't overwrite an existing error: the first one is the most significant.
        if (m_strError.empty()) m_strError = strMessage;
    }
    bool CanDraw() const { return m_pCr != nullptr && !m_bFinished && m_strError.empty(); }
    // A PDF or SVG document written to strPath; failures are kept, not thrown.
    static std::unique_ptr<CImpl> CreateDocument(EKind eKind, const std::string& strPath, int nWidth, int nHeight,
                                                 int nDpi, UINT nCodePage);
    void Start(double dScale, bool bPaintWhite);
    void CheckStatus(cairo_status_t status);
    bool Finish();

    // A one-unit pen of a dashed or dotted style.
    static bool IsPatterned(const CPen& pen);
    void ApplyPen(const CPen& pen, int& nWidth);
    void FillAndStroke(std::vector<SPoint> pts, const CPen& pen, const CBrush& brush);
    void Line(POINT from, POINT to, const CPen& pen);
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom, const CPen& pen, const CBrush& brush);
    void Polygon(const POINT* pPoints, int nCount, const CPen& pen, const CBrush& brush);
    void FillRect(const RECT& rect, COLORREF crColor);
    // Cuts later drawing to the rectangle (within the page); false when
    // nothing of it lies on the page.
    bool ClipTo(const RECT& rect);

    void DrawLines(const CTextLayout::SLaidOut& text, double dLeft, double dRight, double dTop, UINT nAlign,
                   COLORREF crText, bool bOpaque);

    static cairo_status_t WriteToFile(void* pClosure, const unsigned char* pData, unsigned int nLength);

    EKind m_eKind;
    int m_nWidth = 0;
    int m_nHeight = 0;
    SBox m_box = {0.0, 0.0, 0.0, 0.0};
    cairo_surface_t* m_pSurface = nullptr;
    cairo_t* m_pCr = nullptr;
    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
    int m_nWriteErrno = 0;
    bool m_bFinished = false;
    std::string m_strError;

    CTextLayout m_text;
};

CCairoDC::CImpl::~CImpl() {
    if (m_pCr != nullptr) cairo_destroy(m_pCr);
    if (m_pSurface != nullptr) cairo_surface_destroy(m_pSurface);
    if (m_pFile != nullptr) std::fclose(m_pFile);
}

cairo_status_t CCairoDC::CImpl::WriteToFile(void* pClosure, const unsigned char* pData, unsigned int nLength) {
    auto* pImpl = static_cast<CImpl*>(pClosure);
    if (pImpl->m_pFile == nullptr) return CAIRO_STATUS_WRITE_ERROR;
    if (nLength > 0 && std::fwrite(pData, 1, nLength, pImpl->m_pFile) != nLength) {
        if (pImpl->m_nWriteErrno == 0) pImpl->m_nWriteErrno = errno;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

void CCairoDC::CImpl::Start(double dScale, bool bPaintWhite) {
    m_box = {-kClipMargin, -kClipMargin, m_nWidth + kClipMargin, m_nHeight + kClipMargin};
    if (m_pSurface != nullptr) {
        CheckStatus(cairo_surface_status(m_pSurface));
        m_pCr = cairo_create(m_pSurface);
        cairo_scale(m_pCr, dScale, dScale);
        if (bPaintWhite) {
            cairo_set_source_rgb(m_pCr, 1.0, 1.0, 1.0);
            cairo_paint(m_pCr);
        }
        CheckStatus(cairo_status(m_pCr));
    }

    // Text is measured even on a surface that failed, so DT_CALCRECT keeps
    // giving the renderer sensible extents.
    m_text.Start(m_pCr);
}

void CCairoDC::CImpl::CheckStatus(cairo_status_t status) {
    if (status == CAIRO_STATUS_SUCCESS) return;
    if (status == CAIRO_STATUS_WRITE_ERROR && !m_strPath.empty()) {
        Fail("cannot write " + m_strPath + ": " +
             (m_nWriteErrno != 0 ? std::strerror(m_nWriteErrno) : cairo_status_to_string(status)));
    } else {
        Fail(std::string("drawing failed: ") + cairo_status_to_string(status));
    }
}

bool CCairoDC::CImpl::Finish() {
    if (m_bFinished) return m_strError.empty();
    m_bFinished = true;
    if (m_pCr != nullptr) CheckStatus(cairo_status(m_pCr));
    if (m_pSurface != nullptr) {
        if (m_eKind == EKind::kImage) {
            cairo_surface_flush(m_pSurface);
            CheckStatus(cairo_surface_status(m_pSurface));
        } else {
            cairo_destroy(m_pCr);
            m_pCr = nullptr;
            cairo_surface_finish(m_pSurface);
            CheckStatus(cairo_surface_status(m_pSurface));
            cairo_surface_destroy(m_pSurface);
            m_pSurface = nullptr;
        }
    }
    if (m_pFile != nullptr) {
        if (std::fclose(m_pFile) != 0) Fail("cannot write " + m_strPath + ": " + std::strerror(errno));
        m_pFile = nullptr;
        // A half-written sheet must not be mistaken for a complete one.
        if (!m_strError.empty()) std::remove(m_strPath.c_str());
    }
    return m_strError.empty();
}

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
    if (!CanDraw()) return;
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
    if (m_eKind == EKind::kImage && (bHorizontal || bVertical) && !IsPatterned(pen)) {
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
    if (!CanDraw()) return;
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
    if (!CanDraw() || pPoints == nullptr || nCount < 2) return;
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
    if (!CanDraw()) return;
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

bool CCairoDC::CImpl::ClipTo(const RECT& rect) {
    double l = m_box.ClampX(std::min(rect.left, rect.right));
    double r = m_box.ClampX(std::max(rect.left, rect.right));
    double t = m_box.ClampY(std::min(rect.top, rect.bottom));
    double b = m_box.ClampY(std::max(rect.top, rect.bottom));
    if (r <= l || b <= t) return false;
    cairo_new_path(m_pCr);
    cairo_rectangle(m_pCr, l, t, r - l, b - t);
    cairo_clip(m_pCr);
    return true;
}

void CCairoDC::CImpl::DrawLines(const CTextLayout::SLaidOut& text, double dLeft, double dRight, double dTop,
                                UINT nAlign, COLORREF crText, bool bOpaque) {
    if (std::fabs(dLeft) > kTextReach || std::fabs(dTop) > kTextReach) return;
    for (const SLine& line : text.arrLines) {
        double x = dLeft;
        if (nAlign & DT_CENTER) {
            x = dLeft + (dRight - dLeft - line.dWidth) / 2.0;
        } else if (nAlign & DT_RIGHT) {
            x = dRight - line.dWidth;
        }
        if (std::fabs(x) > kTextReach) continue;
        if (bOpaque && line.dWidth > 0.0) {
            // The platform's default background colour is white.
            double l = m_box.ClampX(std::floor(x));
            double t = m_box.ClampY(std::floor(dTop + line.dTop));
            double r = m_box.ClampX(std::ceil(x + line.dWidth));
            double b = m_box.ClampY(std::ceil(dTop + line.dTop + line.dHeight));
            cairo_new_path(m_pCr);
            cairo_rectangle(m_pCr, l, t, r - l, b - t);
            cairo_set_source_rgb(m_pCr, 1.0, 1.0, 1.0);
            cairo_fill(m_pCr);
        }
        SetSourceColor(m_pCr, crText);
        cairo_new_path(m_pCr);
        cairo_move_to(m_pCr, x - line.dLogicalX, dTop + line.dBaseline);
        if (m_eKind == EKind::kImage && text.dFontEm > kMaxGlyphImageHeight) {
            pango_cairo_layout_line_path(m_pCr, line.pLine);
            cairo_fill(m_pCr);
        } else {
            pango_cairo_show_layout_line(m_pCr, line.pLine);
        }
    }
    cairo_new_path(m_pCr);
}

CCairoDC::CCairoDC(std::unique_ptr<CImpl> pImpl, UINT nCodePage, BOOL bPrinting)
    : CStateDC(bPrinting, nCodePage), m_pImpl(std::move(pImpl)) {}

CCairoDC::~CCairoDC() {
    m_pImpl->Finish();
}

bool CCairoDC::ShareFontsWithProcess() {
    return MakeSharedFontConfigCurrent();
}

std::unique_ptr<CCairoDC> CCairoDC::CreatePng(int nWidth, int nHeight, UINT nCodePage, BOOL bPrinting) {
    auto pImpl = std::make_unique<CImpl>(EKind::kImage, nCodePage);
    pImpl->m_nWidth = nWidth;
    pImpl->m_nHeight = nHeight;
    if (nWidth < 1 || nHeight < 1 || nWidth > kMaxImageSide || nHeight > kMaxImageSide ||
        static_cast<long long>(nWidth) * nHeight > kMaxImagePixels) {
        pImpl->Fail("image size " + std::to_string(nWidth) + " x " + std::to_string(nHeight) + " is outside 1 to " +
                    std::to_string(kMaxImageSide) + " pixels a side or above " + std::to_string(kMaxImagePixels) +
                    " pixels");
    } else {
        pImpl->m_pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, nWidth, nHeight);
    }
    pImpl->Start(1.0, true);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC::CImpl> CCairoDC::CImpl::CreateDocument(EKind eKind, const std::string& strPath, int nWidth,
                                                                 int nHeight, int nDpi, UINT nCodePage) {
    auto pImpl = std::make_unique<CImpl>(eKind, nCodePage);
    pImpl->m_nWidth = nWidth;
    pImpl->m_nHeight = nHeight;
    pImpl->m_strPath = strPath;
    double dScale = 1.0;
    if (nWidth < 1 || nHeight < 1 || nWidth > CCairoDC::kMaxPageSide || nHeight > CCairoDC::kMaxPageSide) {
        pImpl->Fail("page size " + std::to_string(nWidth) + " x " + std::to_string(nHeight) + " is outside 1 to " +
                    std::to_string(CCairoDC::kMaxPageSide) + " device units");
    } else if (nDpi < CCairoDC::kMinDpi || nDpi > CCairoDC::kMaxDpi) {
        pImpl->Fail("resolution " + std::to_string(nDpi) + " dpi is outside " + std::to_string(CCairoDC::kMinDpi) +
                    " to " + std::to_string(CCairoDC::kMaxDpi));
    } else if ((pImpl->m_pFile = std::fopen(strPath.c_str(), "wb")) == nullptr) {
        pImpl->Fail("cannot write " + strPath + ": " + std::strerror(errno));
    } else {
        // One device unit is 1/dpi inch, and the page is measured in points.
        dScale = 72.0 / nDpi;
        double w = nWidth * dScale;
        double h = nHeight * dScale;
        pImpl->m_pSurface = eKind == EKind::kPdf
                                ? cairo_pdf_surface_create_for_stream(CImpl::WriteToFile, pImpl.get(), w, h)
                                : cairo_svg_surface_create_for_stream(CImpl::WriteToFile, pImpl.get(), w, h);
    }
    pImpl->Start(dScale, eKind == EKind::kSvg);
    return pImpl;
}

std::unique_ptr<CCairoDC> CCairoDC::CreatePdf(const std::string& strPath, int nWidth, int nHeight, int nDpi,
                                              UINT nCodePage, BOOL bPrinting) {
    auto pImpl = CImpl::CreateDocument(EKind::kPdf, strPath, nWidth, nHeight, nDpi, nCodePage);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC> CCairoDC::CreateSvg(const std::string& strPath, int nWidth, int nHeight, int nDpi,
                                              UINT nCodePage, BOOL bPrinting) {
    auto pImpl = CImpl::CreateDocument(EKind::kSvg, strPath, nWidth, nHeight, nDpi, nCodePage);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

bool CCairoDC::ShowPage() {
    if (m_pImpl->m_eKind != EKind::kPdf || m_pImpl->m_bFinished) return false;
    if (m_pImpl->CanDraw()) {
        cairo_show_page(m_pImpl->m_pCr);
        m_pImpl->CheckStatus(cairo_status(m_pImpl->m_pCr));
    }
    return true;
}

bool CCairoDC::Finish() {
    return m_pImpl->Finish();
}

bool CCairoDC::WritePng(const std::string& strPath, int nCompression) {
    std::vector<unsigned char> arrBytes;
    if (!EncodePng(arrBytes, nCompression)) return false;
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr) {
        m_pImpl->Fail("cannot write " + strPath + ": " + std::strerror(errno));
        return false;
    }
    bool bWritten = std::fwrite(arrBytes.data(), 1, arrBytes.size(), pFile) == arrBytes.size();
    int nErrno = errno;
    if (std::fclose(pFile) != 0 && bWritten) {
        bWritten = false;
        nErrno = errno;
    }
    if (!bWritten) {
        std::remove(strPath.c_str());
        m_pImpl->Fail("cannot write " + strPath + ": " + std::strerror(nErrno));
    }
    return bWritten;
}

bool CCairoDC::EncodePng(std::vector<unsigned char>& arrBytes, int nCompression) {
    arrBytes.clear();
    cairo_surface_t* pSurface = m_pImpl->m_pSurface;
    if (m_pImpl->m_eKind != EKind::kImage || pSurface == nullptr) return false;
    if (nCompression < 0 || nCompression > kMaxPngCompression) {
        m_pImpl->Fail("PNG compression " + std::to_string(nCompression) + " is outside 0 to " +
                      std::to_string(kMaxPngCompression));
        return false;
    }
    cairo_surface_flush(pSurface);
    const SRgb24Image image = {cairo_image_surface_get_data(pSurface), m_pImpl->m_nWidth, m_pImpl->m_nHeight,
                               cairo_image_surface_get_stride(pSurface)};
    std::string strError;
    if (image.pData == nullptr) {
        strError = "PNG encoding failed: the image holds no pixels";
    } else if (EncodeRgb24Png(image, nCompression, arrBytes, strError)) {
        return true;
    }
    m_pImpl->Fail(strError);
    return false;
}

const std::string& CCairoDC::GetError() const {
    return m_pImpl->m_strError;
}

COLORREF CCairoDC::GetPixel(int x, int y) {
    cairo_surface_t* pSurface = m_pImpl->m_pSurface;
    if (m_pImpl->m_eKind != EKind::kImage || pSurface == nullptr) return CLR_INVALID;
    if (x < 0 || y < 0 || x >= m_pImpl->m_nWidth || y >= m_pImpl->m_nHeight) return CLR_INVALID;
    cairo_surface_flush(pSurface);
    const unsigned char* pData = cairo_image_surface_get_data(pSurface);
    if (pData == nullptr) return CLR_INVALID;
    auto nStride = static_cast<std::size_t>(cairo_image_surface_get_stride(pSurface));
    std::uint32_t nPixel;
    std::memcpy(&nPixel, pData + static_cast<std::size_t>(y) * nStride + static_cast<std::size_t>(x) * 4,
                sizeof nPixel);
    return RGB(static_cast<BYTE>(nPixel >> 16), static_cast<BYTE>(nPixel >> 8), static_cast<BYTE>(nPixel));
}

int CCairoDC::GetWidth() const {
    return m_pImpl->m_nWidth;
}
int CCairoDC::GetHeight() const {
    return m_pImpl->m_nHeight;
}

void CCairoDC::LineTo(int x, int y) {
    m_pImpl->Line(m_ptCurrent, {x, y}, m_pen);
    CStateDC::LineTo(x, y);
}

void CCairoDC::Ellipse(int nLeft, int nTop, int nRight, int nBottom) {
    m_pImpl->Ellipse(nLeft, nTop, nRight, nBottom, m_pen, m_brush);
}

void CCairoDC::Polygon(const POINT* pPoints, int nCount) {
    m_pImpl->Polygon(pPoints, nCount, m_pen, m_brush);
}

void CCairoDC::FillSolidRect(const RECT& rect, COLORREF crColor) {
    m_pImpl->FillRect(rect, crColor);
}

void CCairoDC::TextOut(int x, int y, const char* pText, int nCount) {
    if (!m_pImpl->CanDraw() || pText == nullptr || nCount <= 0) return;
    const CTextLayout::SLaidOut& text =
        m_pImpl->m_text.LayOut(pText, static_cast<std::size_t>(nCount), m_font, true, false, false);
    m_pImpl->DrawLines(text, x, x, y, DT_LEFT, m_crText, m_nBkMode == OPAQUE);
}

void CCairoDC::DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) {
    if (pRect == nullptr) return;
    std::size_t nBytes = 0;
    if (pText != nullptr) nBytes = nCount < 0 ? std::strlen(pText) : static_cast<std::size_t>(nCount);
    const bool bMeasure = (nFormat & DT_CALCRECT) != 0;
    if (nBytes == 0) {
        if (bMeasure) {
            pRect->right = pRect->left;
            pRect->bottom = pRect->top;
        }
        return;
    }
    if (!bMeasure && !m_pImpl->CanDraw()) return;

    // A measurement and the drawing after it share one layout, as do repeated labels.
    const CTextLayout::SLaidOut& text = m_pImpl->m_text.LayOut(
        pText, nBytes, m_font, false, (nFormat & DT_NOPREFIX) == 0, (nFormat & DT_EXPANDTABS) != 0);
    if (bMeasure) {
        double dWidth = 0.0;
        for (const SLine& line : text.arrLines) dWidth = std::max(dWidth, line.dWidth);
        const SLine& last = text.arrLines.back();
        double dHeight = last.dTop + last.dHeight;
        pRect->right = WrapAdd(pRect->left, CeilToInt(dWidth));
        pRect->bottom = WrapAdd(pRect->top, CeilToInt(dHeight));
    } else if ((nFormat & DT_NOCLIP) != 0) {
        m_pImpl->DrawLines(text, pRect->left, pRect->right, pRect->top, nFormat & (DT_CENTER | DT_RIGHT), m_crText,
                           m_nBkMode == OPAQUE);
    } else {
        // As on the platform, nothing of the text reaches beyond its rectangle.
        if (m_pImpl->ClipTo(*pRect)) {
            m_pImpl->DrawLines(text, pRect->left, pRect->right, pRect->top, nFormat & (DT_CENTER | DT_RIGHT), m_crText,
                               m_nBkMode == OPAQUE);
        }
        cairo_reset_clip(m_pImpl->m_pCr);
    }
}

}  // namespace vitalchart
