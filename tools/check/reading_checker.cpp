#include "tools/check/reading_checker.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

namespace {

int Integer(const TagSeen& tag, const char* pszName, int nAbsent) {
    const std::string* p = tag.Find(pszName);
    return p == nullptr ? nAbsent : crt::atoi(p->c_str());
}

}  // namespace

bool CReadingChecker::IsField(const TagSeen& drawer) const {
    if (drawer.nCode != kElementTextOut) return false;
    if (drawer.Find("columns") != nullptr) return Integer(drawer, "columns", 0) == 1;
    const auto it = m_beyondCellZero.find(FoldCaseKey(m_nCodePage, *drawer.Find("name")));
    return it == m_beyondCellZero.end() || !it->second;
}

const CReadingChecker::Placement& CReadingChecker::PlacementOf(const TagSeen& drawer, const CChartGrid& grid) {
    const auto found = m_placements.find(&drawer);
    if (found != m_placements.end()) return found->second;
    Placement placement;
    placement.nDeclared = std::max(0, Integer(drawer, "columns", 0));
    if (drawer.nCode == kElementTextOut) {
        placement.bField = IsField(drawer);
        placement.x0 = grid.Position(drawer, "x");
        placement.cx = grid.Position(drawer, "cx");
        const int y = grid.Position(drawer, "y");
        placement.bRuled = grid.RuledAcross(y, WrapAdd(y, grid.Position(drawer, "cy")), placement.grid);
    } else {
        placement.bPlots = grid.ReadAxes(drawer, placement.axes);
        if (placement.bPlots) placement.bRuled = grid.ScaleArea(placement.axes, placement.grid, placement.height);
    }
    return m_placements.emplace(&drawer, placement).first->second;
}

void CReadingChecker::CheckColumns(const TagSeen& reading, const std::string& strName,
                                   const std::vector<const TagSeen*>& drawers, const CChartGrid& grid) {
    struct Placed {
        int nCell;
        const char* pszIndex;
        const char* pszValue;
    };
    const int nOriginal = Integer(reading, "originalCellIndex", -1);
    for (const TagSeen* pDrawer : drawers) {
        const int nCode = pDrawer->nCode;
        if (nCode != kElementLineOut && nCode != kElementLineBlock && nCode != kElementTextOut) continue;
        const Placement& place = PlacementOf(*pDrawer, grid);
        const Placed columns[] = {{Integer(reading, "cellindex", 0), "cellindex", "vitalsignsvalues"},
                                  {nOriginal, "originalCellIndex", "vitalsignsoriginalvalues"}};
        const std::size_t nColumns = nCode == kElementLineBlock && nOriginal >= 0 ? 2 : 1;
        for (std::size_t i = 0; i < nColumns; ++i) {
            const Placed& column = columns[i];
            UnitSpan drawn;
            if (place.nDeclared >= 1) {
                if (column.nCell >= 0 && column.nCell < place.nDeclared) continue;
            } else if (nCode == kElementTextOut) {
                if (place.bField) continue;
                const int x = WrapAdd(place.x0, WrapMul(column.nCell, place.cx));
                drawn = {std::min(x, WrapAdd(x, place.cx)), std::max(x, WrapAdd(x, place.cx))};
                if (column.nCell >= 0 && place.grid.Holds(drawn)) continue;
            } else {
                // An empty value draws nothing in its column.
                const std::string* pValue = reading.Find(column.pszValue);
                if (!place.bPlots || pValue == nullptr || pValue->empty()) continue;
                drawn = {place.axes.ColumnX(column.nCell), place.axes.ColumnX(column.nCell)};
                if (column.nCell >= 0 && place.grid.Holds(drawn)) continue;
            }
            const std::string strWhat =
                std::string(column.pszIndex) + " " + std::to_string(column.nCell) + " of " + Show(m_nCodePage, strName);
            const std::string strElement = "the '" + ElementName(nCode) + "' on line " + std::to_string(pDrawer->nLine);
            std::string strMessage;
            if (place.nDeclared >= 1) {
                strMessage = strWhat + " is beyond the " +
                             Plural(static_cast<std::size_t>(place.nDeclared), "column", "columns") + " that " +
                             strElement + " declares (0 to " + std::to_string(place.nDeclared - 1) + ")";
            } else {
                const std::string strWhere = column.nCell < 0           ? "a column before the first"
                                             : nCode == kElementTextOut ? "a cell from " + CChartGrid::Mm(drawn.nFrom) +
                                                                              " to " + CChartGrid::Mm(drawn.nTo)
                                                                        : "x = " + CChartGrid::Mm(drawn.nFrom);
                strMessage = strWhat + " lies outside the " + (place.bRuled ? "grid it is drawn on" : "chart") + " (" +
                             CChartGrid::Mm(place.grid.nFrom) + " to " + CChartGrid::Mm(place.grid.nTo) +
                             "): " + strElement + " puts it at " + strWhere;
            }
            m_log.Warn(reading, reading.ValueColumn(column.pszIndex), "column-range", strMessage, pDrawer);
            return;
        }
    }
}

void CReadingChecker::CheckReadingValue(const TagSeen& reading, const std::string& strName,
                                        const std::vector<const TagSeen*>& drawers) {
    const TagSeen* pCurve = nullptr;
    bool bBlock = false;
    for (const TagSeen* pDrawer : drawers) {
        const bool bPlots = pDrawer->nCode == kElementLineOut || pDrawer->nCode == kElementLineBlock;
        if (bPlots && pCurve == nullptr) pCurve = pDrawer;
        bBlock = bBlock || pDrawer->nCode == kElementLineBlock;
    }
    if (pCurve == nullptr) return;
    const std::string* pValue = reading.Find("vitalsignsvalues");
    const std::string* pOriginalIndex = reading.Find("originalCellIndex");
    const bool bMarked = pOriginalIndex == nullptr || crt::atoi(pOriginalIndex->c_str()) < 0;
    const std::int32_t nColumn = reading.ValueColumn("vitalsignsvalues");
    if (pValue == nullptr || pValue->empty()) {
        // An empty value breaks a curve on purpose; a block's marker plots it at 0.
        if (bBlock && bMarked) {
            m_log.Warn(reading, nColumn, "number",
                       "the reading of " + Show(m_nCodePage, strName) +
                           " has no value: 'vitallineblock' marks it at the value 0",
                       pCurve);
        }
        return;
    }
    const std::string strPlot = " in 'vitalsignsvalues'";
    const NumberForm form = ClassifyNumber(*pValue, true);
    const std::string strAt =
        Show(m_nCodePage, *pValue) + strPlot + " is plotted at " + FormatNumber(crt::atof(pValue->c_str()));
    if (form == NumberForm::kNone) {
        m_log.Warn(reading, nColumn, "number",
                   Show(m_nCodePage, *pValue) + strPlot + " is not a number: the curve plots it at 0", pCurve);
    } else if (form == NumberForm::kLeading) {
        m_log.Note(reading, nColumn, "number", strAt + "; the rest is ignored", pCurve);
    } else if (form == NumberForm::kCut) {
        m_log.Warn(reading, nColumn, "number", strAt + ": the number" + DescribeCut(m_nCodePage, *pValue, true),
                   pCurve);
    } else if (form == NumberForm::kNotFinite) {
        m_log.Warn(reading, nColumn, "number", Show(m_nCodePage, *pValue) + strPlot + " is not a finite number",
                   pCurve);
    }
}

void CReadingChecker::CheckEachReading(const TagsSeen& seen, std::size_t nDataTexts, const CChartGrid& grid) {
    for (const TagSeen& reading : seen.readings) {
        for (const AttributeSeen& attribute : reading.attributes) {
            const AttributeRule* pRule = FindAttribute(kDataReading, attribute.strName);
            const std::string* pValue = reading.Find(attribute.strName.c_str());
            // Only the occurrence whose value the reader keeps.
            if (pRule != nullptr && pValue != nullptr &&
                attribute.nValueColumn == reading.ValueColumn(pRule->pszName)) {
                m_values.CheckValue(reading, *pRule, *pValue);
            }
        }
    }
    m_bDataTexts = nDataTexts > 0;
    if (!m_bDataTexts) return;

    std::vector<const TagSeen*>& drawers = m_drawers;
    drawers.clear();
    for (const TagSeen& tag : seen.elements) {
        const ElementRule* pRule = FindElementRule(tag.nCode);
        const bool bDrawsReadings = pRule != nullptr && pRule->role == ElementRole::kReadings;
        if (bDrawsReadings && !tag.bClosing && tag.Find("name") != nullptr) drawers.push_back(&tag);
    }
    std::vector<std::string>& drawnNames = m_drawnNames;
    drawnNames.clear();
    for (const TagSeen* pDrawer : drawers) drawnNames.push_back(*pDrawer->Find("name"));
    m_beyondCellZero.clear();
    m_placements.clear();
    for (const TagSeen& reading : seen.readings) {
        const std::string* pName = reading.Find("vitalsigns");
        bool& rBeyond = m_beyondCellZero[FoldCaseKey(m_nCodePage, pName == nullptr ? std::string() : *pName)];
        rBeyond = rBeyond || Integer(reading, "cellindex", 0) != 0;
    }

    // Readings that no element draws, one finding per name at its first
    // reading, told by CheckAcross.
    std::vector<Unused>& unused = m_unused;
    unused.clear();
    std::unordered_map<std::string, std::size_t> unusedByKey;
    std::vector<bool>& drawerUsed = m_drawerUsed;
    drawerUsed.assign(drawers.size(), false);
    std::unordered_map<std::string, std::vector<std::size_t>> drawersByKey;
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        drawersByKey[FoldCaseKey(m_nCodePage, drawnNames[i])].push_back(i);
    }
    for (const TagSeen& reading : seen.readings) {
        if (reading.bClosing) continue;  // told already: a reading with no name
        const std::string* pName = reading.Find("vitalsigns");
        const std::string strName = pName == nullptr ? std::string() : *pName;
        const std::string strKey = FoldCaseKey(m_nCodePage, strName);
        std::vector<const TagSeen*> matching;
        const auto found = drawersByKey.find(strKey);
        if (found != drawersByKey.end()) {
            for (std::size_t i : found->second) {
                if (!EqualsNoCase(m_nCodePage, drawnNames[i], strName)) continue;
                matching.push_back(drawers[i]);
                drawerUsed[i] = true;
            }
        }
        if (matching.empty()) {
            const auto it = unusedByKey.find(strKey);
            if (it == unusedByKey.end()) {
                unusedByKey.emplace(strKey, unused.size());
                unused.push_back({strName, &reading, 1});
            } else {
                ++unused[it->second].nCount;
            }
            continue;
        }
        CheckReadingValue(reading, strName, matching);
        CheckColumns(reading, strName, matching, grid);
    }
}

void CReadingChecker::CheckAcross(const TagsSeen& seen, const CChartGrid& grid) {
    if (!m_bDataTexts) return;
    const std::vector<const TagSeen*>& drawers = m_drawers;
    CheckAcrossReadings(seen, drawers, grid);
    for (const Unused& u : m_unused) {
        const std::string strCount = u.nCount > 1 ? " (" + Plural(u.nCount, "reading", "readings") + ")" : "";
        m_log.Warn(*u.pFirst, u.pFirst->ValueColumn("vitalsigns"), "unused-reading",
                   (u.pFirst->Find("vitalsigns") == nullptr
                        ? std::string("a reading without 'vitalsigns'")
                        : "no element of the template draws the vital sign " + Show(m_nCodePage, u.strName)) +
                       strCount + DidYouMean(SuggestName(m_nCodePage, u.strName, m_drawnNames)));
    }
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        if (m_drawerUsed[i]) continue;
        const TagSeen& tag = *drawers[i];
        m_log.Note(tag, tag.ValueColumn("name"), "no-readings",
                   "no reading of the data names " + Show(m_nCodePage, *tag.Find("name")) + ": this '" +
                       ElementName(tag.nCode) + "' draws nothing");
    }
}

}  // namespace cli
}  // namespace vitalchart
