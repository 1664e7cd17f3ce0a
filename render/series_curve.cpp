#include <string>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/color_triple.h"
#include "render/series_axes.h"

namespace vitalchart {

namespace {

// Reads the element's name and axes; false when "name", "scale",
// "base-value" or "symbol" is missing.
bool ReadSeriesAxes(const CElementAttributes& attributes, std::string_view& rName, SeriesAxes& axes) {
    const std::string_view* pName = attributes.Find("name");
    if (pName == nullptr) return false;
    rName = *pName;
    axes.x0 = attributes.Position("x");
    axes.y0 = attributes.Position("y");
    axes.cx = attributes.Position("cx");
    axes.cy = attributes.Position("cy");
    if (!attributes.Decimal("scale", axes.fScale)) return false;
    if (!attributes.Decimal("base-value", axes.fBaseValue)) return false;
    if (attributes.Find("symbol") == nullptr) return false;
    axes.nSymbol = attributes.Integer("symbol");
    return true;
}

// The marker style a curve element gives readings of one kind: the kind, and
// the colour and shape attributes when present.
MarkerStyle ReadMarkerStyle(const CElementAttributes& attributes, int nKind, const char* pszColor,
                            const char* pszShape) {
    MarkerStyle style;
    style.nKind = nKind;
    if (const std::string_view* pColor = attributes.Find(pszColor)) {
        // Components that were not read stay 0, as for a pen.
        style.bHasColor = true;
        style.crColor = ParseColorTriple(*pColor).ToColorRef();
    }
    struct ShapeWord {
        const char* pszWord;
        MarkerShape shape;
    };
    static const ShapeWord kShapes[] = {{"cross", MarkerShape::kCross},
                                        {"dot", MarkerShape::kDot},
                                        {"circle", MarkerShape::kCircle},
                                        {"triangle", MarkerShape::kTriangle},
                                        {"filled-triangle", MarkerShape::kFilledTriangle},
                                        {"circle-dot", MarkerShape::kCircleDot}};
    for (const ShapeWord& word : kShapes) {
        if (attributes.IsWord(pszShape, word.pszWord)) style.shape = word.shape;
    }
    return style;
}

// What a curve does with a reading beyond its scale's bounds: nothing (it is
// plotted where it lies), a word written at the bound, or the point pinned
// at the bound with its value beside it.
struct BoundRule {
    bool bBounded = false;
    float fBound = 0.0f;
    const std::string_view* pWord = nullptr;
    bool bPin = false;
};

BoundRule ReadBoundRule(const CElementAttributes& attributes, const char* pszBound, const char* pszWord,
                        const char* pszPin) {
    BoundRule rule;
    rule.bBounded = attributes.Decimal(pszBound, rule.fBound);
    rule.pWord = attributes.Find(pszWord);
    rule.bPin = attributes.IsWord(pszPin, "true");
    return rule;
}

}  // namespace

void CChartRenderer::DrawVitalLineOut(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    std::string_view name;
    SeriesAxes axes;
    if (!ReadSeriesAxes(attributes, name, axes)) return;
    const int nSpecial = attributes.Integer("special-symbol");
    const int nSpecial2 = attributes.Integer("special-symbol2");
    if (const std::string_view* pPenId = attributes.Find("pen-id")) SelectPenById(*pPenId);
    const MarkerStyle ordinary = ReadMarkerStyle(attributes, axes.nSymbol, "symbol-color", "symbol-shape");
    const MarkerStyle special = ReadMarkerStyle(attributes, nSpecial >= 0 ? nSpecial : axes.nSymbol,
                                                "special-symbol-color", "special-symbol-shape");
    const MarkerStyle special2 = ReadMarkerStyle(attributes, nSpecial2 >= 0 ? nSpecial2 : axes.nSymbol,
                                                 "special-symbol2-color", "special-symbol2-shape");
    const BoundRule below = ReadBoundRule(attributes, "min-value", "below-word", "below-pin");
    const BoundRule above = ReadBoundRule(attributes, "max-value", "above-word", "above-pin");
    const std::string_view* pOffscaleFont = attributes.Find("offscale-font-id");
    // The pen stays selected for later elements even when no reading can be
    // placed on this scale.
    if (!axes.IsPlottable()) return;

    const std::string strKey = FoldCaseKey(GetCodePage(), name);
    bool bFontSelected = false;
    auto selectFont = [&]() {
        if (pOffscaleFont != nullptr && !bFontSelected) SelectFontById(*pOffscaleFont);
        bFontSelected = true;
    };
    bool bHasPrevious = false;
    POINT ptPrevious = {0, 0};
    // Readings of other vital signs in between do not break the curve.
    for (const CVitalRecord* pRecord : Readings().Find(name)) {
        // A reading without a value breaks it: nothing is plotted there.
        if (pRecord->m_strValues.empty()) {
            m_plotted.Add(strKey, {pRecord->m_nCellIndex, {0, 0}, ordinary, true});
            bHasPrevious = false;
            continue;
        }
        MarkerStyle style = ordinary;
        if (pRecord->m_nSpecialSymbolFlag == 1) style = special;
        if (pRecord->m_nSpecialSymbolFlag == 2) style = special2;

        const int x = axes.ColumnX(pRecord->m_nCellIndex);
        // A value that is only a bound ("< 35") lies beyond the scale when the
        // bound does; one exactly on the scale's bound is on the scale.
        const double fValue = crt::atof(pRecord->m_strValues);
        const bool bBelow =
            below.bBounded && (fValue < below.fBound || (pRecord->m_chComparator == '<' && fValue <= below.fBound));
        const bool bAbove =
            above.bBounded && (fValue > above.fBound || (pRecord->m_chComparator == '>' && fValue >= above.fBound));
        const BoundRule* pBeyond = bBelow ? &below : bAbove ? &above : nullptr;
        int y = axes.ValueY(pRecord->m_strValues);
        if (pBeyond != nullptr && pBeyond->pWord != nullptr && !pBeyond->bPin) {
            // The word at the bound, written downwards in the column; no point,
            // and the curve breaks on both sides.
            selectFont();
            DrawWordAtBound(*pBeyond->pWord, x, axes.ValueY(static_cast<double>(pBeyond->fBound)), pBeyond == &below);
            m_plotted.Add(strKey, {pRecord->m_nCellIndex, {x, y}, style, true});
            bHasPrevious = false;
            continue;
        }
        if (pBeyond != nullptr && pBeyond->bPin) {
            y = axes.ValueY(static_cast<double>(pBeyond->fBound));
            selectFont();
            // The hospital's word, when it has one, in place of the figure.
            DrawValueBeside(pBeyond->pWord != nullptr ? *pBeyond->pWord : pRecord->m_strValues, x, y);
        }

        const POINT pt = {x, y};
        DrawMarker(pt.x, pt.y, style);
        m_plotted.Add(strKey, {pRecord->m_nCellIndex, pt, style});
        // The joining line goes on top of the markers at both its ends.
        if (bHasPrevious) {
            if (!m_budget.SpendLine()) return;
            m_pDC->MoveTo(ptPrevious.x, ptPrevious.y);
            m_pDC->LineTo(pt.x, pt.y);
        }
        ptPrevious = pt;
        bHasPrevious = true;
    }
}

void CChartRenderer::DrawVitalLineBlock(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    std::string_view name;
    SeriesAxes axes;
    if (!ReadSeriesAxes(attributes, name, axes)) return;
    if (const std::string_view* pPenId = attributes.Find("pen-id")) SelectPenById(*pPenId);
    const MarkerStyle style = ReadMarkerStyle(attributes, axes.nSymbol, "symbol-color", "symbol-shape");
    if (!axes.IsPlottable()) return;

    const std::string strKey = FoldCaseKey(GetCodePage(), name);
    for (const CVitalRecord* pRecord : Readings().Find(name)) {
        const int nColumn = pRecord->m_nCellIndex;
        // Only a reading that stands in its own column gets a marker; one
        // carried over from another column is shown by its link alone.
        if (pRecord->m_nOriginalCellIndex < 0) {
            const POINT pt = {axes.ColumnX(nColumn), axes.ValueY(pRecord->m_strValues)};
            DrawMarker(pt.x, pt.y, style);
            m_plotted.Add(strKey, {nColumn, pt, style});
        }
        if (!pRecord->m_strOriginalValues.empty()) {
            if (!m_budget.SpendLine()) return;
            const int nOriginalColumn = pRecord->m_nOriginalCellIndex >= 0 ? pRecord->m_nOriginalCellIndex : nColumn;
            m_pDC->MoveTo(axes.ColumnX(nOriginalColumn), axes.ValueY(pRecord->m_strOriginalValues));
            m_pDC->LineTo(axes.ColumnX(nColumn), axes.ValueY(pRecord->m_strValues));
        }
    }
}

}  // namespace vitalchart
