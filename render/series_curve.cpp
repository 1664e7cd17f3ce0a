#include <cmath>
#include <string>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

// The geometry of one curve element: where column 0 and the base value lie,
// and how far apart columns and values are.
struct SeriesAxes {
    int x0 = 0;
    int y0 = 0;
    int cx = 0;
    int cy = 0;
    float fScale = 0.0f;
    float fBaseValue = 0.0f;
    int nSymbol = 0;

    int ColumnX(int nColumn) const { return WrapAdd(x0, WrapMul(nColumn, cx)); }

    // Larger values lie higher on the page. The arithmetic runs in double
    // from the single-precision scale and base, subtract, multiply, divide,
    // then truncates: 37.2 over a base of 35 at 8 units per 0.2 lies 87 units
    // up, not 88.
    int ValueY(std::string_view value) const {
        const double t = (crt::atof(value) - static_cast<double>(fBaseValue)) * static_cast<double>(cy) /
                         static_cast<double>(fScale);
        return WrapSub(y0, DoubleToInt(t));
    }

    // A scale of 0, or a scale or base that is not a finite number, leaves no
    // height a reading could be plotted at.
    bool IsPlottable() const {
        return fScale != 0.0f && std::isfinite(fScale) && std::isfinite(fBaseValue) &&
               std::isfinite(static_cast<double>(cy) / static_cast<double>(fScale));
    }
};

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

}  // namespace

void CChartRenderer::DrawVitalLineOut(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    std::string_view name;
    SeriesAxes axes;
    if (!ReadSeriesAxes(attributes, name, axes)) return;
    const int nSpecial = attributes.Integer("special-symbol");
    const int nSpecial2 = attributes.Integer("special-symbol2");
    if (const std::string_view* pPenId = attributes.Find("pen-id")) SelectPenById(*pPenId);
    // The pen stays selected for later elements even when no reading can be
    // placed on this scale.
    if (!axes.IsPlottable()) return;

    bool bHasPrevious = false;
    POINT ptPrevious = {0, 0};
    // Readings of other vital signs in between do not break the curve.
    for (const CVitalRecord* pRecord : Readings().Find(name)) {
        // A reading without a value breaks it: nothing is plotted there.
        if (pRecord->m_strValues.empty()) {
            bHasPrevious = false;
            continue;
        }

        int nKind = axes.nSymbol;
        if (pRecord->m_nSpecialSymbolFlag == 1 && nSpecial >= 0) nKind = nSpecial;
        if (pRecord->m_nSpecialSymbolFlag == 2 && nSpecial2 >= 0) nKind = nSpecial2;

        const POINT pt = {axes.ColumnX(pRecord->m_nCellIndex), axes.ValueY(pRecord->m_strValues)};
        DrawSymbol(pt.x, pt.y, nKind);
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
    if (!axes.IsPlottable()) return;

    for (const CVitalRecord* pRecord : Readings().Find(name)) {
        const int nColumn = pRecord->m_nCellIndex;
        // Only a reading that stands in its own column gets a marker; one
        // carried over from another column is shown by its link alone.
        if (pRecord->m_nOriginalCellIndex < 0) {
            DrawSymbol(axes.ColumnX(nColumn), axes.ValueY(pRecord->m_strValues), axes.nSymbol);
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
