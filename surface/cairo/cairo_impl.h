#pragma once

// The Cairo surface's inner state, shared by its files: cairo_dc.cpp makes
// the surface and writes its output, cairo_drawing.cpp draws on it.

#include <cairo.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "surface/cairo/clip_geometry.h"
#include "surface/cairo/text_layout.h"
#include "vitalchart/surface/cairo_dc.h"

namespace vitalchart {

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

enum class ESurfaceKind { kImage, kPdf, kSvg };

class CCairoDC::CImpl {
public:
    CImpl(ESurfaceKind eKind, UINT nCodePage) : m_eKind(eKind), m_nCodePage(nCodePage) {}
    ~CImpl();
    CImpl(const CImpl&) = delete;
    CImpl& operator=(const CImpl&) = delete;

    void Fail(const std::string& strMessage) {
        // Don't overwrite an existing error: the first one is the most significant.
        if (m_strError.empty()) m_strError = strMessage;
    }
    bool CanDraw() const { return m_pCr != nullptr && !m_bFinished && m_strError.empty(); }
    // CanDraw, with a PDF page's paper laid first when the page has none yet.
    bool BeginDrawing() {
        if (!CanDraw()) return false;
        if (m_bPaperDue) LayPaper();
        return true;
    }
    void LayPaper();
    // A PDF or SVG document written to the file at *pPath, or kept in
    // memory when pPath is null; failures are kept, not thrown.
    static std::unique_ptr<CImpl> CreateDocument(ESurfaceKind eKind, const std::string* pPath, int nWidth, int nHeight,
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
    // The part of the rectangle on the page, which a text is cut to; false
    // when nothing of it lies on the page.
    bool TextBox(const RECT& rect, SBox& rBox) const;
    // Whether all that DrawLines paints of the text lies well inside the box,
    // so that cutting it to the box would change nothing.
    bool LinesFitIn(const CTextLayout::SLaidOut& text, double dLeft, double dRight, double dTop, UINT nAlign,
                    bool bOpaque, const SBox& box) const;
    // Cuts later drawing to the box.
    void ClipTo(const SBox& box);

    void DrawLines(const CTextLayout::SLaidOut& text, double dLeft, double dRight, double dTop, UINT nAlign,
                   COLORREF crText, bool bOpaque);

    static cairo_status_t WriteToFile(void* pClosure, const unsigned char* pData, unsigned int nLength);
    static cairo_status_t WriteToMemory(void* pClosure, const unsigned char* pData, unsigned int nLength);

    ESurfaceKind m_eKind;
    int m_nWidth = 0;
    int m_nHeight = 0;
    SBox m_box = {0.0, 0.0, 0.0, 0.0};
    cairo_surface_t* m_pSurface = nullptr;
    cairo_t* m_pCr = nullptr;
    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
    int m_nWriteErrno = 0;
    bool m_bInMemory = false;
    std::string m_strDocument;  // a document kept in memory
    bool m_bFinished = false;
    bool m_bPaperDue = false;  // a PDF page with nothing drawn on it yet
    std::string m_strError;

    UINT m_nCodePage;
    std::shared_ptr<CTextLayout> m_pText;  // from Start on
};

}  // namespace vitalchart
