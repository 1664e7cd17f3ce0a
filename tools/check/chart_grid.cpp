#include "tools/check/chart_grid.h"

#include <algorithm>
#include <cmath>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/element_grammar.h"
#include "tools/check/messages.h"

namespace vitalchart {
namespace cli {

namespace {

UnitSpan Between(int a, int b) {
    return {std::min(a, b), std::max(a, b)};
}

// Reads a decimal as a painter does, in single precision; false when absent.
bool Decimal(const TagSeen& tag, const char* pszName, float& rValue) {
    const std::string* pValue = tag.Find(pszName);
    if (pValue == nullptr) return false;
    rValue = DoubleToFloat(crt::atof(pValue->c_str()));
    return true;
}

int Integer(const TagSeen& tag, const char* pszName, int nAbsent) {
    const std::string* pValue = tag.Find(pszName);
    return pValue == nullptr ? nAbsent : crt::atoi(pValue->c_str());
}

}  // namespace

void CChartGrid::SetChartSize(float fWidthMm, float fHeightMm) {
    const ScalePair unit{96, 96};
    const CChartGeometry scale(RECT{0, 0, 0, 0}, unit, unit);
    m_geometry = CChartGeometry(RECT{0, 0, scale.MmToDeviceX(fWidthMm), scale.MmToDeviceY(fHeightMm)}, unit, unit);
}

int CChartGrid::Position(const TagSeen& tag, const char* pszName) const {
    const std::string* pValue = tag.Find(pszName);
    if (pValue == nullptr) return 0;
    const ElementRule* pElement = FindElementRule(tag.nCode);
    const AttributeRule* pRule = pElement != nullptr ? pElement->Find(pszName) : nullptr;
    const BOOL bVertical = pRule != nullptr && pRule->axis == Axis::kY ? 1 : 0;
    return m_geometry.EvalPosition(*pValue, bVertical, m_nCodePage);
}

bool CChartGrid::ReadAxes(const TagSeen& tag, SeriesAxes& rAxes) const {
    rAxes.x0 = Position(tag, "x");
    rAxes.y0 = Position(tag, "y");
    rAxes.cx = Position(tag, "cx");
    rAxes.cy = Position(tag, "cy");
    return Decimal(tag, "scale", rAxes.fScale) && Decimal(tag, "base-value", rAxes.fBaseValue) && rAxes.IsPlottable();
}

void CChartGrid::Compute(const std::vector<TagSeen>& elements) {
    m_rules.clear();
    for (const TagSeen& tag : elements) {
        if (tag.nCode != kElementLine || tag.bClosing) continue;
        const int nLeft = Position(tag, "left");
        const int nTop = Position(tag, "top");
        const int nRight = Position(tag, "right");
        const int nBottom = Position(tag, "bottom");
        const int nTimes = Integer(tag, "times", 0);
        const std::string* pDirection = tag.Find("direction");
        if (pDirection != nullptr && EqualsNoCase(m_nCodePage, *pDirection, "y")) continue;  // horizontal lines
        if (nTimes <= 0) {
            if (nLeft == nRight) m_rules.push_back({{nLeft, nLeft}, Between(nTop, nBottom)});
            continue;
        }
        // A family of one cell draws no line; a longer one rules its cells
        // from its origin on, even where other elements draw the edges.
        if (nTimes == 1) continue;
        const int nCells = std::min(nTimes, kMaxRepeat + 1);
        const int nSpacing = WrapMul(nRight, Integer(tag, "multiple", 1));
        m_rules.push_back({Between(nLeft, WrapAdd(nLeft, WrapMul(nCells, nSpacing))), Between(nTop, nBottom)});
    }
}

bool CChartGrid::RuledAcross(int nTop, int nBottom, UnitSpan& rX) const {
    const UnitSpan band = Between(nTop, nBottom);
    bool bAny = false;
    for (const Rule& rule : m_rules) {
        const bool bCrosses =
            band.nFrom == band.nTo ? rule.y.Holds(band.nFrom) : rule.y.nFrom < band.nTo && rule.y.nTo > band.nFrom;
        if (!bCrosses) continue;
        rX = bAny ? UnitSpan{std::min(rX.nFrom, rule.x.nFrom), std::max(rX.nTo, rule.x.nTo)} : rule.x;
        bAny = true;
    }
    if (!bAny) rX = Between(0, m_geometry.GetRect().right);
    return bAny;
}

bool CChartGrid::ScaleArea(const SeriesAxes& axes, UnitSpan& rX, UnitSpan& rY) const {
    const int yBase = axes.y0;
    const int yStep = axes.ValueY(static_cast<double>(axes.fBaseValue) + static_cast<double>(axes.fScale));
    bool bAny = false;
    for (const Rule& rule : m_rules) {
        if (!rule.y.Holds(yBase) || !rule.y.Holds(yStep)) continue;
        rX = bAny ? UnitSpan{std::min(rX.nFrom, rule.x.nFrom), std::max(rX.nTo, rule.x.nTo)} : rule.x;
        rY = bAny ? UnitSpan{std::max(rY.nFrom, rule.y.nFrom), std::min(rY.nTo, rule.y.nTo)} : rule.y;
        bAny = true;
    }
    if (!bAny) {
        const RECT rect = m_geometry.GetRect();
        rX = Between(0, rect.right);
        rY = Between(0, rect.bottom);
    }
    return bAny;
}

std::string CChartGrid::Mm(int nUnits) {
    // A whole millimetre that lands on the unit reads best; else the nearest tenth.
    const double fMm = static_cast<double>(nUnits) * 25.4 / 96.0;
    const double fWhole = std::round(fMm);
    if (std::fabs(fWhole) < 1e6 && CChartGeometry::MmToDevice(static_cast<float>(fWhole)) == nUnits) {
        return FormatMm(fWhole);
    }
    return FormatMm(fMm);
}

}  // namespace cli
}  // namespace vitalchart
