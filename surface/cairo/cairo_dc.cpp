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
#include <new>
#include <utility>

#include "platform/int_math.h"
#include "surface/cairo/cairo_impl.h"
#include "surface/cairo/font_config.h"
#include "surface/cairo/png_writer.h"

namespace vitalchart {

namespace {

// A measured length rounded up to whole device units, held within int.
std::int32_t CeilToInt(double v) {
    v = std::ceil(v);
    if (!(v < 2147483647.0)) return 2147483647;
    if (v < -2147483648.0) return -2147483647 - 1;
    return static_cast<std::int32_t>(v);
}

// Why an image of nWidth by nHeight cannot be made; empty when it can.
std::string ImageSizeError(int nWidth, int nHeight) {
    if (nWidth < 1 || nHeight < 1 || nWidth > CCairoDC::kMaxImageSide || nHeight > CCairoDC::kMaxImageSide ||
        static_cast<long long>(nWidth) * nHeight > CCairoDC::kMaxImagePixels) {
        return "image size " + std::to_string(nWidth) + " x " + std::to_string(nHeight) + " is outside 1 to " +
               std::to_string(CCairoDC::kMaxImageSide) + " pixels a side or above " +
               std::to_string(CCairoDC::kMaxImagePixels) + " pixels";
    }
    return std::string();
}
}  // namespace

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

cairo_status_t CCairoDC::CImpl::WriteToMemory(void* pClosure, const unsigned char* pData, unsigned int nLength) {
    auto* pImpl = static_cast<CImpl*>(pClosure);
    try {
        pImpl->m_strDocument.append(reinterpret_cast<const char*>(pData), nLength);
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
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
    m_pText = CTextLayout::For(m_nCodePage, m_pCr, m_eKind == ESurfaceKind::kImage);
}

void CCairoDC::CImpl::LayPaper() {
    // A PDF page is white paper under the chart, as the printed sheet is,
    // laid when the page gets its first drawing so that a page begun and
    // never drawn on stays out of the file. Covering the page first also
    // keeps Cairo's record of where the page is drawn on to one rectangle;
    // without it, every line's box was merged into that record, which took
    // a third of a PDF page's time.
    m_bPaperDue = false;
    cairo_save(m_pCr);
    cairo_reset_clip(m_pCr);
    cairo_set_source_rgb(m_pCr, 1.0, 1.0, 1.0);
    cairo_paint(m_pCr);
    cairo_restore(m_pCr);
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
        if (m_eKind == ESurfaceKind::kImage) {
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
    if (!m_strError.empty()) std::string().swap(m_strDocument);
    return m_strError.empty();
}

CCairoDC::CCairoDC(std::unique_ptr<CImpl> pImpl, UINT nCodePage, BOOL bPrinting)
    : CStateDC(bPrinting, nCodePage), m_pImpl(std::move(pImpl)) {}

CCairoDC::~CCairoDC() {
    m_pImpl->Finish();
}

bool CCairoDC::ShareFontsWithProcess() {
    return MakeSharedFontConfigCurrent();
}

void CCairoDC::BeginSharingFontsWithProcess() {
    BeginSharedFontConfig();
}

std::unique_ptr<CCairoDC> CCairoDC::CreatePng(int nWidth, int nHeight, UINT nCodePage, BOOL bPrinting) {
    auto pImpl = std::make_unique<CImpl>(ESurfaceKind::kImage, nCodePage);
    pImpl->m_nWidth = nWidth;
    pImpl->m_nHeight = nHeight;
    std::string strError = ImageSizeError(nWidth, nHeight);
    if (!strError.empty()) {
        pImpl->Fail(strError);
    } else {
        pImpl->m_pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, nWidth, nHeight);
    }
    pImpl->Start(1.0, true);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC> CCairoDC::CreatePngOn(unsigned char* pPixels, int nStride, int nWidth, int nHeight,
                                                UINT nCodePage, BOOL bPrinting) {
    auto pImpl = std::make_unique<CImpl>(ESurfaceKind::kImage, nCodePage);
    pImpl->m_nWidth = nWidth;
    pImpl->m_nHeight = nHeight;
    std::string strError = ImageSizeError(nWidth, nHeight);
    if (strError.empty() && pPixels == nullptr) strError = "no pixels lent for the image";
    // Cairo takes a stride that is a whole number of pixels wide enough for
    // a row; anything else would read or write past the caller's rows.
    if (strError.empty() && (nStride < cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, nWidth) || nStride % 4 != 0)) {
        strError = "row stride " + std::to_string(nStride) + " does not fit an image " + std::to_string(nWidth) +
                   " pixels wide";
    }
    if (!strError.empty()) {
        pImpl->Fail(strError);
    } else {
        pImpl->m_pSurface = cairo_image_surface_create_for_data(pPixels, CAIRO_FORMAT_RGB24, nWidth, nHeight, nStride);
    }
    pImpl->Start(1.0, true);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC::CImpl> CCairoDC::CImpl::CreateDocument(ESurfaceKind eKind, const std::string* pPath,
                                                                 int nWidth, int nHeight, int nDpi, UINT nCodePage) {
    auto pImpl = std::make_unique<CImpl>(eKind, nCodePage);
    pImpl->m_nWidth = nWidth;
    pImpl->m_nHeight = nHeight;
    pImpl->m_bInMemory = pPath == nullptr;
    if (pPath != nullptr) pImpl->m_strPath = *pPath;
    double dScale = 1.0;
    if (nWidth < 1 || nHeight < 1 || nWidth > CCairoDC::kMaxPageSide || nHeight > CCairoDC::kMaxPageSide) {
        pImpl->Fail("page size " + std::to_string(nWidth) + " x " + std::to_string(nHeight) + " is outside 1 to " +
                    std::to_string(CCairoDC::kMaxPageSide) + " device units");
    } else if (nDpi < CCairoDC::kMinDpi || nDpi > CCairoDC::kMaxDpi) {
        pImpl->Fail("resolution " + std::to_string(nDpi) + " dpi is outside " + std::to_string(CCairoDC::kMinDpi) +
                    " to " + std::to_string(CCairoDC::kMaxDpi));
    } else if (pPath != nullptr && (pImpl->m_pFile = std::fopen(pPath->c_str(), "wb")) == nullptr) {
        pImpl->Fail("cannot write " + *pPath + ": " + std::strerror(errno));
    } else {
        // One device unit is 1/dpi inch, and the page is measured in points.
        dScale = 72.0 / nDpi;
        double w = nWidth * dScale;
        double h = nHeight * dScale;
        cairo_write_func_t pfnWrite = pPath != nullptr ? CImpl::WriteToFile : CImpl::WriteToMemory;
        pImpl->m_pSurface = eKind == ESurfaceKind::kPdf
                                ? cairo_pdf_surface_create_for_stream(pfnWrite, pImpl.get(), w, h)
                                : cairo_svg_surface_create_for_stream(pfnWrite, pImpl.get(), w, h);
    }
    pImpl->Start(dScale, eKind == ESurfaceKind::kSvg);
    pImpl->m_bPaperDue = eKind == ESurfaceKind::kPdf;
    return pImpl;
}

std::unique_ptr<CCairoDC> CCairoDC::CreatePdf(const std::string& strPath, int nWidth, int nHeight, int nDpi,
                                              UINT nCodePage, BOOL bPrinting) {
    auto pImpl = CImpl::CreateDocument(ESurfaceKind::kPdf, &strPath, nWidth, nHeight, nDpi, nCodePage);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC> CCairoDC::CreateSvg(const std::string& strPath, int nWidth, int nHeight, int nDpi,
                                              UINT nCodePage, BOOL bPrinting) {
    auto pImpl = CImpl::CreateDocument(ESurfaceKind::kSvg, &strPath, nWidth, nHeight, nDpi, nCodePage);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC> CCairoDC::CreatePdfInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                                      BOOL bPrinting) {
    auto pImpl = CImpl::CreateDocument(ESurfaceKind::kPdf, nullptr, nWidth, nHeight, nDpi, nCodePage);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

std::unique_ptr<CCairoDC> CCairoDC::CreateSvgInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                                      BOOL bPrinting) {
    auto pImpl = CImpl::CreateDocument(ESurfaceKind::kSvg, nullptr, nWidth, nHeight, nDpi, nCodePage);
    return std::unique_ptr<CCairoDC>(new CCairoDC(std::move(pImpl), nCodePage, bPrinting));
}

bool CCairoDC::ShowPage() {
    if (m_pImpl->m_eKind != ESurfaceKind::kPdf || m_pImpl->m_bFinished) return false;
    if (m_pImpl->CanDraw()) {
        cairo_show_page(m_pImpl->m_pCr);
        m_pImpl->CheckStatus(cairo_status(m_pImpl->m_pCr));
        m_pImpl->m_bPaperDue = true;
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
    if (m_pImpl->m_eKind != ESurfaceKind::kImage || pSurface == nullptr) return false;
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

std::string CCairoDC::TakeDocument() {
    std::string strDocument;
    if (m_pImpl->m_bFinished && m_pImpl->m_strError.empty()) strDocument.swap(m_pImpl->m_strDocument);
    return strDocument;
}

const std::string& CCairoDC::GetError() const {
    return m_pImpl->m_strError;
}

COLORREF CCairoDC::GetPixel(int x, int y) {
    cairo_surface_t* pSurface = m_pImpl->m_pSurface;
    if (m_pImpl->m_eKind != ESurfaceKind::kImage || pSurface == nullptr) return CLR_INVALID;
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
    if (pText == nullptr || nCount <= 0 || !m_pImpl->BeginDrawing()) return;
    const CTextLayout::SLaidOut& text =
        m_pImpl->m_pText->LayOut(pText, static_cast<std::size_t>(nCount), m_font, true, false, false);
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
    if (!bMeasure && !m_pImpl->BeginDrawing()) return;

    // A measurement and the drawing after it share one layout, as do repeated labels.
    const CTextLayout::SLaidOut& text = m_pImpl->m_pText->LayOut(
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
        // Most labels lie well inside theirs and are drawn uncut, which paints
        // the same: Cairo carries a cut through every drawing operation of a
        // PDF page, and a page of labels each cut to its cell took a tenth
        // longer to draw and write.
        SBox box;
        if (!m_pImpl->TextBox(*pRect, box)) return;
        const UINT nAlign = nFormat & (DT_CENTER | DT_RIGHT);
        const bool bOpaque = m_nBkMode == OPAQUE;
        const bool bCut = !m_pImpl->LinesFitIn(text, pRect->left, pRect->right, pRect->top, nAlign, bOpaque, box);
        if (bCut) m_pImpl->ClipTo(box);
        m_pImpl->DrawLines(text, pRect->left, pRect->right, pRect->top, nAlign, m_crText, bOpaque);
        if (bCut) cairo_reset_clip(m_pImpl->m_pCr);
    }
}

}  // namespace vitalchart