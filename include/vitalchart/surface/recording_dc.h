#pragma once

#include <string>

#include "vitalchart/export.h"
#include "vitalchart/surface/state_dc.h"

namespace vitalchart {

// A surface that draws nothing and writes one trace line per call that draws
// or changes drawing state, in call order:
//
//   pen STYLE WIDTH #rrggbb          brush #rrggbb
//   font "FACE" HEIGHT WEIGHT ITALIC UNDERLINE
//   textcolor #rrggbb                bkmode MODE
//   moveto X Y                       lineto X Y
//   ellipse LEFT TOP RIGHT BOTTOM    polygon X1 Y1 X2 Y2 ...
//   fillrect LEFT TOP RIGHT BOTTOM #rrggbb
//   hatch SPACING rising|falling X1 Y1 X2 Y2 ...   (in the current pen)
//   textout X Y "TEXT"               drawtext LEFT TOP RIGHT BOTTOM 0xFORMAT "TEXT"
//
// Queries and DT_CALCRECT measurements write nothing. Quoted text keeps bytes
// 0x20 to 0x7E except '"' and '\' (escaped with '\'); every other byte is
// written \xhh, so a trace is plain ASCII in any code page.
//
// Text metric: with h the absolute height of the selected font (16 when 0),
// every byte is max(1, h / 2) wide and every line (split at line feeds) h high.
class VITALCHART_API CRecordingDC : public CStateDC {
public:
    explicit CRecordingDC(UINT nCodePage = CP_UTF8, BOOL bPrinting = 0);
    ~CRecordingDC() override;

    const std::string& GetTrace() const { return m_strTrace; }

    CPen* SelectObject(CPen* pPen) override;
    CBrush* SelectObject(CBrush* pBrush) override;
    CFont* SelectObject(CFont* pFont) override;
    COLORREF SetTextColor(COLORREF crColor) override;
    int SetBkMode(int nMode) override;
    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void FillSolidRect(const RECT& rect, COLORREF crColor) override;
    void HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

private:
    void Line(const std::string& line);

    std::string m_strTrace;
};

// Writes the text quoted and escaped as the trace does.
VITALCHART_API std::string QuoteTraceText(const char* pText, std::size_t nCount);

}  // namespace vitalchart
