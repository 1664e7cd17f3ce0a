#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/reading_checker.h"

namespace vitalchart {
namespace cli {

namespace {

// One reading as the comparisons need it; the strings are the tag's own.
struct ReadingAt {
    const TagSeen* pTag;
    const std::string& strName;
    int nCell;
    const std::string& strValue;
    const std::string& strComparator;
};

// The readings of one data text by vital sign, each name once however it is cased.
using PageReadings = std::unordered_map<std::string, std::vector<ReadingAt>>;

// The attribute's value, or an empty one when it is absent.
const std::string& Text(const TagSeen& tag, const char* pszName) {
    static const std::string s_strAbsent;
    const std::string* p = tag.Find(pszName);
    return p == nullptr ? s_strAbsent : *p;
}

int Integer(const TagSeen& tag, const char* pszName, int nAbsent) {
    const std::string* p = tag.Find(pszName);
    return p == nullptr ? nAbsent : crt::atoi(p->c_str());
}

// Whether a value is a number a curve plots where it lies.
bool IsNumber(const std::string& strValue) {
    return ClassifyNumber(strValue, true) == NumberForm::kWhole;
}

// Whether a curve plots the value at a number it reads from it, whole or in part.
bool IsPlotted(const std::string& strValue) {
    const NumberForm form = ClassifyNumber(strValue, true);
    return form == NumberForm::kWhole || form == NumberForm::kLeading || form == NumberForm::kCut;
}

}  // namespace

void CReadingChecker::CheckAcrossReadings(const TagsSeen& seen, const std::vector<const TagSeen*>& drawers,
                                          const CChartGrid& grid) {
    // Each data text is a page of its own: its readings are compared with
    // one another only.
    std::map<int, PageReadings> pages;
    for (const TagSeen& tag : seen.readings) {
        if (tag.bClosing) continue;
        const std::string& strName = Text(tag, "vitalsigns");
        pages[tag.nSource][FoldCaseKey(m_nCodePage, strName)].push_back(
            {&tag, strName, Integer(tag, "cellindex", 0), Text(tag, "vitalsignsvalues"), Text(tag, "comparator")});
    }
    for (const auto& page : pages) {
        auto readingsOf = [&](const std::string& strName) -> const std::vector<ReadingAt>& {
            static const std::vector<ReadingAt> kNone;
            const auto it = page.second.find(FoldCaseKey(m_nCodePage, strName));
            return it == page.second.end() ? kNone : it->second;
        };

        // Two readings of one vital sign in one column are drawn over each other.
        std::map<std::string, bool> checkedNames;
        for (const TagSeen* pDrawer : drawers) {
            if (pDrawer->nCode != kElementLineOut && pDrawer->nCode != kElementTextOut &&
                pDrawer->nCode != kElementLineBlock) {
                continue;
            }
            const std::string strName = Text(*pDrawer, "name");
            if (!checkedNames.emplace(FoldCaseKey(m_nCodePage, strName), true).second) continue;
            std::map<int, const ReadingAt*> firstInColumn;
            for (const ReadingAt& reading : readingsOf(strName)) {
                const auto placed = firstInColumn.emplace(reading.nCell, &reading);
                if (placed.second) continue;
                m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("cellindex"), "same-column",
                           "a second reading of " + Show(m_nCodePage, strName) + " in column " +
                               std::to_string(reading.nCell) + " (the first is on line " +
                               std::to_string(placed.first->second->pTag->nLine) +
                               "): both are drawn, one over the other",
                           pDrawer);
            }
        }

        // Values beyond a curve's scale: a rule (a word or a pin) for them,
        // or a bound the template has not given, for a value plotted beyond
        // the grid the curve is drawn in.
        for (const TagSeen* pDrawer : drawers) {
            const bool bCurve = pDrawer->nCode == kElementLineOut;
            if (!bCurve && pDrawer->nCode != kElementLineBlock) continue;
            const Placement& place = PlacementOf(*pDrawer, grid);
            if (!place.bPlots) continue;
            const std::string strElement =
                "the '" + ElementName(pDrawer->nCode) + "' on line " + std::to_string(pDrawer->nLine);
            struct Side {
                const char* pszBound;
                const char* pszWord;
                const char* pszPin;
                const char* pszComparator;
                const char* pszWhere;
            };
            const Side sides[] = {{"min-value", "below-word", "below-pin", "<", "below"},
                                  {"max-value", "above-word", "above-pin", ">", "above"}};
            for (const ReadingAt& reading : readingsOf(Text(*pDrawer, "name"))) {
                if (!IsPlotted(reading.strValue)) continue;
                const double fValue = crt::atof(reading.strValue.c_str());
                const std::int32_t nColumn = reading.pTag->ValueColumn("vitalsignsvalues");
                bool bBeyondBound = false;
                bool bComparatorBound = false;
                for (const Side& side : sides) {
                    const std::string* pBound = bCurve ? pDrawer->Find(side.pszBound) : nullptr;
                    if (pBound == nullptr) continue;
                    const double fBound = crt::atof(pBound->c_str());
                    const bool bBelow = side.pszComparator[0] == '<';
                    const bool bBeyond = bBelow
                                             ? (fValue < fBound || (reading.strComparator == "<" && fValue <= fBound))
                                             : (fValue > fBound || (reading.strComparator == ">" && fValue >= fBound));
                    bComparatorBound = bComparatorBound || reading.strComparator == side.pszComparator;
                    if (!bBeyond) continue;
                    bBeyondBound = true;
                    if (pDrawer->Find(side.pszWord) != nullptr || pDrawer->Find(side.pszPin) != nullptr) continue;
                    m_log.Warn(*reading.pTag, nColumn, "off-scale",
                               Show(m_nCodePage, reading.strName) + " " + reading.strValue + " lies " + side.pszWhere +
                                   " '" + side.pszBound + "' " + *pBound + " of " + strElement + ", which has no '" +
                                   side.pszWord + "' or '" + side.pszPin + "': it is plotted beyond the scale",
                               pDrawer);
                }
                if (bCurve && !reading.strComparator.empty() && !bComparatorBound && !bBeyondBound) {
                    m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("comparator"), "off-scale",
                               strElement + " gives no bound for 'comparator' " +
                                   Show(m_nCodePage, reading.strComparator) + ": " + reading.strValue +
                                   " is plotted as if it were measured",
                               pDrawer);
                    continue;
                }
                // A value no bound rules: where the curve plots it, against
                // the grid it is drawn in (the chart when no rule runs through
                // its scale).
                const int y = place.axes.ValueY(fValue);
                if (bBeyondBound || place.height.Holds(y)) continue;
                const bool bLow = fValue < static_cast<double>(place.axes.fBaseValue);
                m_log.Warn(*reading.pTag, nColumn, "off-scale",
                           Show(m_nCodePage, reading.strName) + " " + reading.strValue +
                               " is plotted at y = " + CChartGrid::Mm(y) + ", " +
                               (place.bRuled ? "beyond the grid " + strElement + " is drawn on"
                                             : std::string("off the chart")) +
                               " (" + CChartGrid::Mm(place.height.nFrom) + " to " + CChartGrid::Mm(place.height.nTo) +
                               ")" +
                               (bCurve ? std::string("; give it a '") + (bLow ? "min-value" : "max-value") +
                                             "' with '" + (bLow ? "below-word" : "above-word") + "' or '" +
                                             (bLow ? "below-pin" : "above-pin") + "'"
                                       : std::string()),
                           pDrawer);
            }
        }

        // Heart rate below pulse: the template's hatching names which is which.
        for (const TagSeen& tag : seen.elements) {
            if (tag.nCode != kElementHatch || tag.bClosing) continue;
            const std::string strUpper = Text(tag, "upper");
            const std::string strLower = Text(tag, "lower");
            std::map<int, const ReadingAt*> lower;
            for (const ReadingAt& reading : readingsOf(strLower)) {
                if (IsNumber(reading.strValue)) lower.emplace(reading.nCell, &reading);
            }
            for (const ReadingAt& reading : readingsOf(strUpper)) {
                const auto it = lower.find(reading.nCell);
                if (!IsNumber(reading.strValue) || it == lower.end()) continue;
                if (crt::atof(reading.strValue.c_str()) >= crt::atof(it->second->strValue.c_str())) continue;
                m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("vitalsignsvalues"), "rates-swapped",
                           Show(m_nCodePage, strUpper) + " " + reading.strValue + " is below " +
                               Show(m_nCodePage, strLower) + " " + it->second->strValue + " in column " +
                               std::to_string(reading.nCell) + " (line " + std::to_string(it->second->pTag->nLine) +
                               "): the two are likely swapped",
                           &tag);
            }
        }

        // A cooling re-measurement links back to the reading it was taken
        // after: its link starts where a curve plots a reading of the
        // original column, at the original value.
        for (const TagSeen* pBlock : drawers) {
            if (pBlock->nCode != kElementLineBlock || !PlacementOf(*pBlock, grid).bPlots) continue;
            const SeriesAxes& block = PlacementOf(*pBlock, grid).axes;
            for (const ReadingAt& reading : readingsOf(Text(*pBlock, "name"))) {
                const std::string& strOriginal = Text(*reading.pTag, "vitalsignsoriginalvalues");
                const int nOriginalCell = Integer(*reading.pTag, "originalCellIndex", -1);
                const int nFrom = nOriginalCell >= 0 ? nOriginalCell : reading.nCell;
                if (strOriginal.empty()) {
                    m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("vitalsigns"), "cooling-link",
                               "the re-measurement of " + Show(m_nCodePage, reading.strName) + " in column " +
                                   std::to_string(reading.nCell) +
                                   " has no 'vitalsignsoriginalvalues': nothing links it to the reading it follows",
                               pBlock);
                    continue;
                }
                const int xFrom = block.ColumnX(nFrom);
                const int yFrom = block.ValueY(strOriginal);
                bool bFound = false;
                std::vector<std::string> inColumn;
                for (const TagSeen* pCurve : drawers) {
                    if (pCurve->nCode != kElementLineOut || !PlacementOf(*pCurve, grid).bPlots) continue;
                    const SeriesAxes& curve = PlacementOf(*pCurve, grid).axes;
                    if (curve.ColumnX(nFrom) != xFrom) continue;
                    for (const ReadingAt& measured : readingsOf(Text(*pCurve, "name"))) {
                        if (measured.nCell != nFrom || !IsPlotted(measured.strValue)) continue;
                        bFound = bFound || curve.ValueY(measured.strValue) == yFrom;
                        const std::string strCurve = Show(m_nCodePage, measured.strName);
                        if (std::find(inColumn.begin(), inColumn.end(), strCurve) == inColumn.end()) {
                            inColumn.push_back(strCurve);
                        }
                    }
                }
                if (bFound) continue;
                std::string strNames;
                for (std::size_t i = 0; i < inColumn.size(); ++i) {
                    strNames += (i == 0 ? "" : i + 1 == inColumn.size() ? " or " : ", ") + inColumn[i];
                }
                m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("vitalsignsoriginalvalues"), "cooling-link",
                           "the re-measurement of " + Show(m_nCodePage, reading.strName) + " links from " +
                               strOriginal + " in column " + std::to_string(nFrom) + ", but " +
                               (inColumn.empty() ? std::string("no curve has a reading in that column")
                                                 : "no reading of " + strNames + " there is plotted at that value") +
                               ": the link starts at an empty point",
                           pBlock);
            }
        }
    }

    // Days after surgery (a row named with 术后) counted with no surgery
    // (手术) in the readings of any page given: the count runs on from the
    // page of the surgery. The words in the texts' own code page.
    const bool bUtf8 = m_nCodePage == CP_UTF8;
    const std::string strCounted = bUtf8 ? "\xE6\x9C\xAF\xE5\x90\x8E" : "\xCA\xF5\xBA\xF3";
    const std::string strSurgery = bUtf8 ? "\xE6\x89\x8B\xE6\x9C\xAF" : "\xCA\xD6\xCA\xF5";
    bool bSurgery = false;
    for (const TagSeen& tag : seen.readings) {
        bSurgery = bSurgery || Text(tag, "vitalsignsvalues").find(strSurgery) != std::string::npos;
    }
    for (const TagSeen* pDrawer : drawers) {
        if (bSurgery || pDrawer->nCode != kElementTextOut) continue;
        const std::string strName = Text(*pDrawer, "name");
        if (strName.find(strCounted) == std::string::npos) continue;
        const auto first = std::find_if(seen.readings.begin(), seen.readings.end(), [&](const TagSeen& tag) {
            return !tag.bClosing && EqualsNoCase(m_nCodePage, Text(tag, "vitalsigns"), strName);
        });
        if (first == seen.readings.end()) continue;
        m_log.Warn(*first, first->ValueColumn("vitalsigns"), "surgery-count",
                   Show(m_nCodePage, strName) + " counts days after surgery, but no reading of the data names " +
                       Show(m_nCodePage, strSurgery),
                   pDrawer);
    }
}

}  // namespace cli
}  // namespace vitalchart
