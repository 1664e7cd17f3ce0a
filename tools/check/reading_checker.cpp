#include "tools/check/reading_checker.h"

#include <cmath>
#include <unordered_map>
#include <utility>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

namespace {

// A reading's position lies this close to the edge of the ruling (in
// millimetres) and still counts as on it: figures are written to a tenth.
constexpr double kEdgeSlackMm = 0.05;

}  // namespace

void CReadingChecker::CheckColumns(const TagSeen& reading, const std::string& strName,
                                   const std::vector<const TagSeen*>& drawers, const CChartRuling& ruling) {
    const std::string* pCell = reading.Find("cellindex");
    const std::string* pOriginal = reading.Find("originalCellIndex");
    const int nCell = pCell == nullptr ? 0 : crt::atoi(pCell->c_str());
    const int nOriginal = pOriginal == nullptr ? -1 : crt::atoi(pOriginal->c_str());
    for (const TagSeen* pDrawer : drawers) {
        const std::string* pCx = pDrawer->Find("cx");
        if (pCx == nullptr) continue;
        const double fX = ruling.PositionMm(pDrawer->Find("x"));
        const double fCx = ruling.PositionMm(pCx);
        if (fCx == 0.0 || !std::isfinite(fX) || !std::isfinite(fCx)) continue;
        const bool bCell = pDrawer->nCode == kElementTextOut;
        std::vector<std::pair<int, const char*>> columns = {{nCell, "cellindex"}};
        if (pDrawer->nCode == kElementLineBlock && nOriginal >= 0) columns.emplace_back(nOriginal, "originalCellIndex");
        for (const auto& column : columns) {
            double fFrom = fX + column.first * fCx;
            double fTo = bCell ? fFrom + fCx : fFrom;
            if (fFrom > fTo) std::swap(fFrom, fTo);
            if (column.first >= 0 && fFrom >= ruling.GetLeftMm() - kEdgeSlackMm &&
                fTo <= ruling.GetRightMm() + kEdgeSlackMm) {
                continue;
            }
            const std::string strWhere = column.first < 0 ? "a column before the first"
                                         : bCell          ? "a cell from " + FormatMm(fFrom) + " to " + FormatMm(fTo)
                                                          : "x = " + FormatMm(fFrom);
            m_log.Warn(reading, reading.ValueColumn(column.second), "column-range",
                       std::string(column.second) + " " + std::to_string(column.first) + " of " +
                           Show(m_nCodePage, strName) + " lies outside the chart's ruling (" +
                           FormatMm(ruling.GetLeftMm()) + " to " + FormatMm(ruling.GetRightMm()) + "): the '" +
                           ElementName(pDrawer->nCode) + "' on line " + std::to_string(pDrawer->nLine) +
                           " puts it at " + strWhere);
            return;
        }
    }
}

void CReadingChecker::CheckReadingValue(const TagSeen& reading, const std::string& strName,
                                        const std::vector<const TagSeen*>& drawers) {
    bool bCurve = false;
    bool bBlock = false;
    for (const TagSeen* pDrawer : drawers) {
        bCurve = bCurve || pDrawer->nCode == kElementLineOut;
        bBlock = bBlock || pDrawer->nCode == kElementLineBlock;
    }
    if (!bCurve && !bBlock) return;
    const std::string* pValue = reading.Find("vitalsignsvalues");
    const std::string* pOriginalIndex = reading.Find("originalCellIndex");
    const bool bMarked = pOriginalIndex == nullptr || crt::atoi(pOriginalIndex->c_str()) < 0;
    const std::int32_t nColumn = reading.ValueColumn("vitalsignsvalues");
    if (pValue == nullptr || pValue->empty()) {
        // An empty value breaks a curve on purpose; a block's marker plots it at 0.
        if (bBlock && bMarked) {
            m_log.Warn(reading, nColumn, "number",
                       "the reading of " + Show(m_nCodePage, strName) +
                           " has no value: 'vitallineblock' marks it at the value 0");
        }
        return;
    }
    const std::string strPlot = " in 'vitalsignsvalues'";
    const NumberForm form = ClassifyNumber(*pValue, true);
    if (form == NumberForm::kNone) {
        m_log.Warn(reading, nColumn, "number",
                   Show(m_nCodePage, *pValue) + strPlot + " is not a number: the curve plots it at 0");
    } else if (form == NumberForm::kLeading) {
        m_log.Note(reading, nColumn, "number",
                   Show(m_nCodePage, *pValue) + strPlot + " is plotted at " + FormatNumber(crt::atof(pValue->c_str())) +
                       "; the rest is ignored");
    } else if (form == NumberForm::kNotFinite) {
        m_log.Warn(reading, nColumn, "number", Show(m_nCodePage, *pValue) + strPlot + " is not a finite number");
    }
}

void CReadingChecker::CheckReadings(const TagsSeen& seen, std::size_t nDataTexts, const CChartRuling& ruling) {
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
    if (nDataTexts == 0) return;

    std::vector<const TagSeen*> drawers;
    for (const TagSeen& tag : seen.elements) {
        const ElementRule* pRule = FindElementRule(tag.nCode);
        const bool bDrawsReadings = pRule != nullptr && pRule->role == ElementRole::kReadings;
        if (bDrawsReadings && !tag.bClosing && tag.Find("name") != nullptr) drawers.push_back(&tag);
    }
    std::vector<std::string> drawnNames;
    for (const TagSeen* pDrawer : drawers) drawnNames.push_back(*pDrawer->Find("name"));

    // Readings that no element draws, one finding per name at its first reading.
    struct Unused {
        std::string strName;
        const TagSeen* pFirst;
        std::size_t nCount;
    };
    std::vector<Unused> unused;
    std::unordered_map<std::string, std::size_t> unusedByKey;
    std::vector<bool> drawerUsed(drawers.size(), false);
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
        CheckColumns(reading, strName, matching, ruling);
    }
    CheckAcrossReadings(seen, drawers, ruling);
    for (const Unused& u : unused) {
        const std::string strCount = u.nCount > 1 ? " (" + Plural(u.nCount, "reading", "readings") + ")" : "";
        m_log.Warn(*u.pFirst, u.pFirst->ValueColumn("vitalsigns"), "unused-reading",
                   (u.pFirst->Find("vitalsigns") == nullptr
                        ? std::string("a reading without 'vitalsigns'")
                        : "no element of the template draws the vital sign " + Show(m_nCodePage, u.strName)) +
                       strCount + DidYouMean(SuggestName(m_nCodePage, u.strName, drawnNames)));
    }
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        if (drawerUsed[i]) continue;
        const TagSeen& tag = *drawers[i];
        m_log.Note(tag, tag.ValueColumn("name"), "no-readings",
                   "no reading of the data names " + Show(m_nCodePage, *tag.Find("name")) + ": this '" +
                       ElementName(tag.nCode) + "' draws nothing");
    }
}

}  // namespace cli
}  // namespace vitalchart
