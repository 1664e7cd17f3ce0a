#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "markup/byte_buffer.h"
#include "markup/vital_record.h"
#include "platform/string_map.h"
#include "render/font_entry.h"
#include "render/item_array.h"
#include "render/pen_entry.h"
#include "render/reading_index.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {

// Most lines or captions one element draws, however large its repeat count:
// far above any real chart, and a bound on the time one element can take.
constexpr int kMaxRepeat = 10000;

// The drawing work one call may do. A template of many elements, each
// within kMaxRepeat, or of many curves over many readings, could otherwise
// hold the host for minutes and fill its memory with output; the bundled
// week chart needs about 1% of this on screen and 1.5% on a 600 dpi
// printer. Only what is drawn is charged: looking at readings is free, so a
// long data text never costs the form its grid.
constexpr std::int64_t kMaxDrawWork = 4000000;
// The cost of a line (plus one unit per device unit of pen width), of a
// marker (plus four per device unit of its size), and of a text call (plus,
// per byte, the area of a character over that of a 16-unit one, from 1 to
// 1024): a picture surface pays for the area it covers.
constexpr std::int64_t kLineWork = 16;
constexpr std::int64_t kSymbolWork = 64;
constexpr std::int64_t kTextWork = 64;
// Widths and marker sizes beyond this cost no more: they cover the page.
constexpr int kMaxWorkExtent = 4096;

// The work of one line drawn with the pen (the host's or a declared one).
std::int64_t LineWork(const CPen* pPen);
// The work of one text call of nBytes in the font.
std::int64_t TextWork(const CFont* pFont, std::size_t nBytes);

// Placement of a text in a box, from the "align" word.
enum class TextPlacement { kLeft, kCenter, kRight, kVertical };

// The renderer of one host call: the lent surface, the chart rectangle and
// scale pairs, the pens, fonts and readings it owns, and the two flags that
// change printing.
class CChartRenderer {
public:
    CChartRenderer();
    virtual ~CChartRenderer();
    CChartRenderer(const CChartRenderer&) = delete;
    CChartRenderer& operator=(const CChartRenderer&) = delete;

    // Millimetres to reference units (96 per inch), through whole tenths.
    int MmToDevice(float fMillimetres) const;
    // A template position ("left"/"top"/"right"/"bottom", "+N" relative to
    // the rectangle, or N from the device origin, in millimetres) as a device
    // coordinate on the x axis (bVertical 0) or the y axis (1).
    int EvalPosition(std::string strExpression, BOOL bVertical) const;
    // Colours are kept on screen, and in print while print colour is on.
    BOOL IsColorAllowed() const;
    // Charges nUnits of drawing work to this call; false, and the painter
    // draws nothing of it, when that is more than the call has left.
    bool SpendWork(std::int64_t nUnits);
    // Whether some drawing was refused and the chart is drawn in part.
    bool IsDrawnInPart() const { return m_bDrawnInPart; }
    // The code page of the surface's text (UTF-8 without a surface).
    UINT GetCodePage() const;
    // The readings by vital-sign name; indexed at the first look and again
    // whenever readings were added since.
    const CReadingIndex& Readings();

    // Reads the data text into m_arrRecords and the continuation flag; 1, or
    // 0 when there was nothing to read.
    BOOL ReadVitalRecords(const char* pszData, std::int32_t nLength);

    // The drawing pass: loads the template, saves the surface's state, fills
    // the rectangle black when asked (not in print), draws, restores.
    void DrawChart(BOOL bFillBackground);
    // The size declared by the template's first vitalsize element; 1 when
    // there is one, else 0 with both sizes 0.
    BOOL GetSizeByTemplet(float* pWidth, float* pHeight, const char* lpszTemplatePath);

    // Walks the template element by element and draws it; always 1.
    BOOL DrawTemplate(CByteBuffer* pBuffer);
    // Acts on one template element with a known code (pen, font, size or a painter).
    void HandleElement(int nCode, const CMapStringToString& mapAttributes);

    // Selects the first declared pen or font whose id matches.
    void SelectPenById(const std::string& strId);
    void SelectFontById(const std::string& strId);

    // The painters, one per drawing element.
    void DrawVitalLine(const CMapStringToString& mapAttributes);
    void DrawVitalText(const CMapStringToString& mapAttributes);
    void DrawSymbol(int x, int y, int nKind);
    void DrawVitalLineOut(const CMapStringToString& mapAttributes);
    void DrawVitalLineBlock(const CMapStringToString& mapAttributes);
    void DrawVitalTextOut(const CMapStringToString& mapAttributes);

    // A text placed in a box: measured, centred vertically, and placed
    // horizontally by the mode (vertical is placed like left). False when the
    // drawing budget is spent and nothing was drawn.
    bool DrawLabel(const std::string& strText, const RECT& box, TextPlacement placement, UINT nBaseFormat);
    // A text one character under the other from the box's top-left, moving
    // down by nSpans per character; stops when the drawing budget is spent.
    void DrawVerticalText(const std::string& strText, const RECT& box, int nSpans);

    CDC* m_pDC = nullptr;
    int m_nTop = 0;
    int m_nLeft = 0;
    int m_nBottom = 0;
    int m_nRight = 0;
    int m_nDenY = 0;
    int m_nDenX = 0;
    int m_nNumY = 0;
    int m_nNumX = 0;
    std::string m_strTemplatePath;
    std::string m_strCallerText;
    BOOL m_bPrintColor = 1;
    BOOL m_bResumePrint = 0;
    CItemArray<CFontEntry> m_arrFonts;
    CItemArray<CPenEntry> m_arrPens;
    CItemArray<CVitalRecord> m_arrRecords;
    COLORREF m_crSavedText = 0;
    std::int64_t m_nWorkLeft = kMaxDrawWork;
    bool m_bDrawnInPart = false;
    // The work of a line with the pen selected now, and of a text byte in
    // the font selected now.
    std::int64_t m_nLineWork = kLineWork;
    const CFont* m_pWorkFont = nullptr;
    std::unique_ptr<CReadingIndex> m_pReadings;
    int m_nIndexedRecords = -1;
};

// The template path with white space trimmed, or "vitalsign.xml" when nothing is left.
std::string SettleTemplatePath(const char* pszPath);

}  // namespace vitalchart
