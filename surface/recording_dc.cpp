#include "vitalchart/surface/recording_dc.h"

#include <cstdio>
#include <cstring>

#include "platform/int_math.h"
#include "surface/text_extent.h"

namespace vitalchart {

namespace {

std::string Colour(COLORREF cr) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(cr), GetGValue(cr), GetBValue(cr));
    return buf;
}

std::string Num(long long n) {
    return std::to_string(n);
}

}  // namespace

std::string QuoteTraceText(const char* pText, std::size_t nCount) {
    std::string out = "\"";
    for (std::size_t i = 0; i < nCount; ++i) {
        auto b = static_cast<unsigned char>(pText[i]);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b >= 0x20 && b <= 0x7E) {
            out += static_cast<char>(b);
        } else {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02x", b);
            out += buf;
        }
    }
    out += '"';
    return out;
}

CRecordingDC::CRecordingDC(UINT nCodePage, BOOL bPrinting) : CStateDC(bPrinting, nCodePage) {}

CRecordingDC::~CRecordingDC() = default;

void CRecordingDC::Line(const std::string& line) {
    m_strTrace += line;
    m_strTrace += '\n';
}

CPen* CRecordingDC::SelectObject(CPen* pPen) {
    CPen* pOld = CStateDC::SelectObject(pPen);
    if (pOld != nullptr) {
        Line("pen " + Num(m_pen.m_nStyle) + " " + Num(m_pen.m_nWidth) + " " + Colour(m_pen.m_crColor));
    }
    return pOld;
}

CBrush* CRecordingDC::SelectObject(CBrush* pBrush) {
    CBrush* pOld = CStateDC::SelectObject(pBrush);
    if (pOld != nullptr) Line("brush " + Colour(m_brush.m_crColor));
    return pOld;
}

CFont* CRecordingDC::SelectObject(CFont* pFont) {
    CFont* pOld = CStateDC::SelectObject(pFont);
    if (pOld != nullptr) {
        const LOGFONT& lf = m_font.m_logFont;
        Line("font " + QuoteTraceText(lf.lfFaceName, ::strnlen(lf.lfFaceName, LF_FACESIZE)) + " " + Num(lf.lfHeight) +
             " " + Num(lf.lfWeight) + " " + Num(lf.lfItalic ? 1 : 0) + " " + Num(lf.lfUnderline ? 1 : 0));
    }
    return pOld;
}

COLORREF CRecordingDC::SetTextColor(COLORREF crColor) {
    COLORREF crOld = CStateDC::SetTextColor(crColor);
    Line("textcolor " + Colour(m_crText));
    return crOld;
}

int CRecordingDC::SetBkMode(int nMode) {
    int nOld = CStateDC::SetBkMode(nMode);
    Line("bkmode " + Num(nMode));
    return nOld;
}

POINT CRecordingDC::MoveTo(int x, int y) {
    Line("moveto " + Num(x) + " " + Num(y));
    return CStateDC::MoveTo(x, y);
}

void CRecordingDC::LineTo(int x, int y) {
    Line("lineto " + Num(x) + " " + Num(y));
    CStateDC::LineTo(x, y);
}

void CRecordingDC::Ellipse(int nLeft, int nTop, int nRight, int nBottom) {
    Line("ellipse " + Num(nLeft) + " " + Num(nTop) + " " + Num(nRight) + " " + Num(nBottom));
}

void CRecordingDC::Polygon(const POINT* pPoints, int nCount) {
    if (pPoints == nullptr || nCount <= 0) return;
    std::string line = "polygon";
    for (int i = 0; i < nCount; ++i) line += " " + Num(pPoints[i].x) + " " + Num(pPoints[i].y);
    Line(line);
}

void CRecordingDC::HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) {
    if (pPoints == nullptr || nCount < 3 || nSpacing < 1) return;
    std::string line = "hatch " + Num(nSpacing) + (bRising ? " rising" : " falling");
    for (int i = 0; i < nCount; ++i) line += " " + Num(pPoints[i].x) + " " + Num(pPoints[i].y);
    Line(line);
}

void CRecordingDC::FillSolidRect(const RECT& rect, COLORREF crColor) {
    Line("fillrect " + Num(rect.left) + " " + Num(rect.top) + " " + Num(rect.right) + " " + Num(rect.bottom) + " " +
         Colour(crColor));
}

void CRecordingDC::TextOut(int x, int y, const char* pText, int nCount) {
    std::size_t n = (pText == nullptr || nCount < 0) ? 0 : static_cast<std::size_t>(nCount);
    Line("textout " + Num(x) + " " + Num(y) + " " + QuoteTraceText(pText, n));
}

void CRecordingDC::DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) {
    if (pRect == nullptr) return;
    std::size_t n = 0;
    if (pText != nullptr) n = nCount < 0 ? std::strlen(pText) : static_cast<std::size_t>(nCount);
    if (nFormat & DT_CALCRECT) {
        TextExtent extent = MeasureFixedPitch(pText, n, m_font.m_logFont.lfHeight);
        pRect->right = WrapAdd(pRect->left, extent.nWidth);
        pRect->bottom = WrapAdd(pRect->top, extent.nHeight);
        return;
    }
    char format[16];
    std::snprintf(format, sizeof format, "0x%x", nFormat);
    Line("drawtext " + Num(pRect->left) + " " + Num(pRect->top) + " " + Num(pRect->right) + " " + Num(pRect->bottom) +
         " " + format + " " + QuoteTraceText(pText, n));
}

}  // namespace vitalchart
