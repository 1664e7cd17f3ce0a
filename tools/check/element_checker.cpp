#include "tools/check/element_checker.h"

#include <algorithm>
#include <string>

#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/tag_explainer.h"
#include "vitalchart/plugin.h"

namespace vitalchart {
namespace cli {

void CElementChecker::CheckElements(const std::vector<TagSeen>& elements) {
    // The size query reads the first vitalsize that begins a line.
    const TagSeen* pSizeTag = nullptr;
    std::size_t nSizeOrder = 0;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].nCode == kElementSize && elements[i].bLineFirst) {
            pSizeTag = &elements[i];
            nSizeOrder = i;
            break;
        }
    }
    float fWidthMm = GetPluginWidth();
    float fHeightMm = GetPluginHeight();
    if (pSizeTag != nullptr) {
        const std::string* pWidth = pSizeTag->Find("width");
        const std::string* pHeight = pSizeTag->Find("height");
        if (pWidth != nullptr && DoubleToFloat(crt::atof(pWidth->c_str())) > 0.0f) {
            fWidthMm = DoubleToFloat(crt::atof(pWidth->c_str()));
        }
        if (pHeight != nullptr && DoubleToFloat(crt::atof(pHeight->c_str())) > 0.0f) {
            fHeightMm = DoubleToFloat(crt::atof(pHeight->c_str()));
        }
    } else {
        m_log.Add(0, 1, 1, Severity::kWarning, "no-size",
                  "no 'vitalsize' element begins a line: the size query finds none, and the host uses its default "
                  "size of " +
                      FormatNumber(GetPluginWidth()) + " by " + FormatNumber(GetPluginHeight()) + " mm");
    }
    m_grid.SetChartSize(fWidthMm, fHeightMm);
    m_grid.Compute(elements);

    // Declarations first, so that a drawing element can be told of a pen
    // declared after it; closing tags are told already and have no attributes.
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const TagSeen& tag = elements[i];
        if (tag.bClosing) continue;
        if (tag.nCode == kElementPen || tag.nCode == kElementFont) m_declarations.CheckDeclaration(tag, i);
        if (tag.nCode == kElementSize) m_declarations.CheckSize(tag, i, pSizeTag, nSizeOrder);
    }
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const TagSeen& tag = elements[i];
        if (tag.bClosing || tag.nCode == kElementPen || tag.nCode == kElementFont || tag.nCode == kElementSize) {
            continue;
        }
        CheckDrawing(tag, i);
    }
    m_declarations.Finish();
    for (const TagSeen& tag : elements) TellUnknownAttributes(m_log, tag, m_declarations.ToldColumn(tag));
}

void CElementChecker::CheckDrawing(const TagSeen& tag, std::size_t nOrder) {
    const std::string strElement = ElementName(tag.nCode);
    std::vector<std::string> missing;
    std::vector<std::string> coordinates;
    for (const AttributeRule& attr : AttributesOf(tag.nCode)) {
        if (tag.Find(attr.pszName) != nullptr) continue;
        if (attr.need == AttributeNeed::kDraws) missing.push_back(attr.pszName);
        if (attr.need == AttributeNeed::kCoordinate) coordinates.push_back(attr.pszName);
    }
    if (!missing.empty()) {
        m_log.Warn(tag, tag.nColumn, "draws-nothing",
                   "'" + strElement + "' without " + ListNames(missing) + " draws nothing");
        return;
    }
    if (!coordinates.empty()) {
        m_log.Warn(tag, tag.nColumn, "missing-coordinate",
                   "'" + strElement + "' without " + ListNames(coordinates) + ": the renderer reads " +
                       (coordinates.size() == 1 ? "it" : "them") + " as 0");
    }
    m_values.CheckValues(tag);
    m_declarations.CheckReferences(tag, nOrder);
    m_values.CheckRepeat(tag);
    m_values.CheckScale(tag);
    CheckDeclaredColumns(tag);
}

void CElementChecker::CheckDeclaredColumns(const TagSeen& tag) {
    const std::string* pColumns = tag.Find("columns");
    if (pColumns == nullptr || FindAttribute(tag.nCode, "columns") == nullptr) return;
    const std::int32_t nColumn = tag.ValueColumn("columns");
    const int nCount = crt::atoi(pColumns->c_str());
    if (nCount < 1) {
        m_log.Warn(tag, nColumn, "column-range",
                   "'columns' of " + std::to_string(nCount) +
                       " leaves the readings no column: give the number of columns they take (1 for a field of "
                       "one cell)");
        return;
    }
    const bool bRow = tag.nCode == kElementTextOut;
    if (bRow && nCount == 1) return;  // a field, not a row of the grid
    UnitSpan grid;
    UnitSpan drawn;
    bool bRuled = false;
    if (bRow) {
        const int x0 = m_grid.Position(tag, "x");
        const int cx = m_grid.Position(tag, "cx");
        const int y = m_grid.Position(tag, "y");
        bRuled = m_grid.RuledAcross(y, WrapAdd(y, m_grid.Position(tag, "cy")), grid);
        const int xEnd = WrapAdd(x0, WrapMul(nCount, cx));
        drawn = {std::min(x0, xEnd), std::max(x0, xEnd)};
    } else {
        SeriesAxes axes;
        if (!m_grid.ReadAxes(tag, axes)) return;
        UnitSpan height;
        bRuled = m_grid.ScaleArea(axes, grid, height);
        const int xLast = axes.ColumnX(nCount - 1);
        drawn = {std::min(axes.x0, xLast), std::max(axes.x0, xLast)};
    }
    if (grid.Holds(drawn)) return;
    m_log.Warn(tag, nColumn, "column-range",
               "the " + std::to_string(nCount) + (bRow ? " cells" : " columns") + " of this '" +
                   ElementName(tag.nCode) + "' run from " + CChartGrid::Mm(drawn.nFrom) + " to " +
                   CChartGrid::Mm(drawn.nTo) + ", beyond the " + (bRuled ? "grid it is drawn on" : "chart") + " (" +
                   CChartGrid::Mm(grid.nFrom) + " to " + CChartGrid::Mm(grid.nTo) + ")");
}

}  // namespace cli
}  // namespace vitalchart
