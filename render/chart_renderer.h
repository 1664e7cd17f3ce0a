#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "markup/byte_buffer.h"
#include "markup/vital_record.h"
#include "render/chart_geometry.h"
#include "render/chart_template.h"
#include "render/drawing_budget.h"
#include "render/element_attributes.h"
#include "render/font_entry.h"
#include "render/item_array.h"
#include "render/marker_style.h"
#include "render/pen_entry.h"
#include "render/plotted_points.h"
#include "render/reading_index.h"
#include "render/record_store.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {

class CWalkObserver;

// Most lines or captions one element draws, however large its repeat count:
// far above any real chart, and a bound on the time one element can take.
constexpr int kMaxRepeat = 10000;

// Placement of a text in a box, from the "align" word.
enum class TextPlacement { kLeft, kCenter, kRight, kVertical };

// The renderer of one host call: the lent surface and the chart's geometry,
// the pens, fonts and readings it owns, the two flags that change printing,
// and the drawing budget of the call.
class CChartRenderer {
public:
    // A renderer without a surface, for the size query: it draws nothing.
    CChartRenderer();
    // A renderer that draws on pDC (lent, not owned) into the geometry's
    // rectangle. The template path is settled by the drawing pass; the
    // caller's text is kept for the call and read by nothing.
    CChartRenderer(CDC* pDC, const CChartGeometry& geometry, std::string strTemplatePath = std::string(),
                   std::string strCallerText = std::string());
    virtual ~CChartRenderer();
    CChartRenderer(const CChartRenderer&) = delete;
    CChartRenderer& operator=(const CChartRenderer&) = delete;

    // Millimetres to reference units (96 per inch), through whole tenths.
    int MmToDevice(float fMillimetres) const;
    // A template position as a device coordinate on the x axis (bVertical 0)
    // or the y axis (1); see CChartGeometry::EvalPosition.
    int EvalPosition(std::string_view expression, BOOL bVertical) const;
    // Colours are kept on screen, and in print while print colour is on.
    BOOL IsColorAllowed() const;
    // The code page of the surface's text (UTF-8 without a surface).
    UINT GetCodePage() const;
    const CChartGeometry& GetGeometry() const { return m_geometry; }
    const CDrawingBudget& GetBudget() const { return m_budget; }
    const CGrammarUse& GetGrammarUse() const { return m_grammarUse; }
    // The settled template path after the drawing pass.
    const std::string& GetTemplatePath() const { return m_strTemplatePath; }
    BOOL IsResumePrint() const { return m_bResumePrint; }
    int GetRecordCount() const { return m_arrRecords.GetCount(); }
    const CVitalRecord* GetRecord(int nIndex) const { return m_arrRecords.GetAt(nIndex); }

    // Reads the data text into the readings and the continuation flag; 1, or
    // 0 when there was nothing to read.
    BOOL ReadVitalRecords(const char* pszData, std::int32_t nLength);
    // Appends one reading with copies of its texts; 0 when the list cannot
    // take it (the reading is then lost).
    BOOL AddRecord(std::string_view name, std::string_view values, std::string_view originalValues,
                   std::int32_t nCellIndex, std::int32_t nOriginalCellIndex = -1, std::int32_t nSpecialSymbolFlag = 0,
                   std::string_view reason = {}, std::string_view comparator = {});

    // The drawing pass: loads the template from disk, saves the surface's
    // state, fills the rectangle black when asked (not in print), draws, and
    // restores the state.
    void DrawChart(BOOL bFillBackground);
    // The drawing pass over a template already in memory.
    void DrawChart(const CChartTemplate& chartTemplate, BOOL bFillBackground);
    // The size declared by the template's first vitalsize element; 1 when
    // there is one, else 0 with both sizes 0.
    BOOL GetSizeByTemplet(float* pWidth, float* pHeight, const char* lpszTemplatePath);
    BOOL GetSizeByTemplet(float* pWidth, float* pHeight, const CChartTemplate& chartTemplate);

    // Walks the template element by element and acts on each; always 1.
    BOOL DrawTemplate(const CByteBuffer* pBuffer);
    // Acts on the elements of a template scanned before, in order.
    void DrawScannedTemplate(const CTemplateScan& scan);
    // Tells pObserver (lent; null: nobody) of each element the walk meets.
    void SetWalkObserver(CWalkObserver* pObserver) { m_pObserver = pObserver; }

    // What the elements and data tags do (the grammar's actions).
    void DeclarePen(const CElementAttributes& attributes);
    void DeclareFont(const CElementAttributes& attributes);
    void ApplySize(const CElementAttributes& attributes);
    void DrawVitalLine(const CElementAttributes& attributes);
    void DrawVitalText(const CElementAttributes& attributes);
    void DrawVitalLineOut(const CElementAttributes& attributes);
    void DrawVitalLineBlock(const CElementAttributes& attributes);
    void DrawVitalTextOut(const CElementAttributes& attributes);
    void DrawVitalRing(const CElementAttributes& attributes);
    void DrawVitalHatch(const CElementAttributes& attributes);
    void DrawVitalReason(const CElementAttributes& attributes);
    void ReadReading(const CElementAttributes& attributes);
    void ReadPrintTag(const CElementAttributes& attributes);

    // Selects the first declared pen or font whose id matches.
    void SelectPenById(std::string_view id);
    void SelectFontById(std::string_view id);
    // One marker of the kind (1 to 8) centred on (x, y), with its own pen and brush.
    void DrawSymbol(int x, int y, int nKind);
    // One marker as the style says: the kind's, or a shape and colour a
    // curve element asks for.
    void DrawMarker(int x, int y, const MarkerStyle& style);
    // A ring of lines (nothing filled) around (x, y) in a one-unit pen of the colour.
    void DrawRing(int x, int y, int nRadius, COLORREF crColor);
    // A filled dot of the colour centred on (x, y).
    void DrawDot(int x, int y, int nRadius, COLORREF crColor);
    // A text placed in a box: measured, centred vertically, and placed
    // horizontally by the mode (vertical is placed like left). False when the
    // drawing budget is spent and nothing was drawn.
    bool DrawLabel(std::string_view text, const RECT& box, TextPlacement placement, UINT nBaseFormat);
    // A text one character under the other from the box's top-left, moving
    // down by nSpans per character; stops when the drawing budget is spent.
    void DrawVerticalText(std::string_view text, const RECT& box, int nSpans);

    // A word for a reading beyond a curve's bound, written downwards in the
    // column of x: under the bound at yBound (bBelow), or from it.
    void DrawWordAtBound(std::string_view word, int x, int yBound, bool bBelow);
    // A reading's value written beside its marker at (x, y), to the right.
    void DrawValueBeside(std::string_view value, int x, int y);

    // The element's attributes as its operation reads them, for a tag the
    // scanner read.
    CElementAttributes Attributes(const ElementRule& rule, const CTagAttributes& attributes);

private:
    // The readings by vital-sign name; indexed at the first look and again
    // whenever readings were added since.
    const CReadingIndex& Readings();
    // Where the walk of a text begins: past a UTF-8 byte-order mark when the
    // surface's text is UTF-8.
    std::int32_t TextStart(const CByteBuffer& buffer) const;
    // Whether the ruled form is drawn: not on a continuation page in print.
    bool IsFormDrawn() const;
    void WriteMessage(const std::string& strText);

    CDC* m_pDC = nullptr;
    CChartGeometry m_geometry;
    std::string m_strTemplatePath;
    std::string m_strCallerText;
    BOOL m_bPrintColor = 1;
    BOOL m_bResumePrint = 0;
    CItemArray<CFontEntry> m_arrFonts;
    CItemArray<CPenEntry> m_arrPens;
    CItemArray<CVitalRecord> m_arrRecords;  // the readings in data order, kept in m_records
    CRecordStore m_records;
    CPlottedPoints m_plotted;
    COLORREF m_crSavedText = 0;
    CDrawingBudget m_budget;
    CGrammarUse m_grammarUse;
    std::unique_ptr<CReadingIndex> m_pReadings;
    int m_nIndexedRecords = -1;
    CWalkObserver* m_pObserver = nullptr;
};

}  // namespace vitalchart
