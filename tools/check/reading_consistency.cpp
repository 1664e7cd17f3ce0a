#include <cmath>
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

// One reading as the comparisons need it.
struct ReadingAt {
    const TagSeen* pTag;
    std::string strName;
    int nCell;
    std::string strValue;
    std::string strComparator;
};

std::string Text(const TagSeen& tag, const char* pszName) {
    const std::string* p = tag.Find(pszName);
    return p == nullptr ? std::string() : *p;
}

int Integer(const TagSeen& tag, const char* pszName, int nAbsent) {
    const std::string* p = tag.Find(pszName);
    return p == nullptr ? nAbsent : crt::atoi(p->c_str());
}

// Whether a value is a number a curve plots where it lies.
bool IsNumber(const std::string& strValue) {
    return ClassifyNumber(strValue, true) == NumberForm::kWhole;
}

// The axes two curve elements share when they plot on one scale.
std::string AxesKey(const TagSeen& tag) {
    std::string strKey;
    for (const char* pszName : {"x", "y", "cx", "cy", "scale", "base-value"}) strKey += Text(tag, pszName) + "|";
    return strKey;
}

}  // namespace

void CReadingChecker::CheckAcrossReadings(const TagsSeen& seen, const std::vector<const TagSeen*>& drawers,
                                          const CChartRuling& ruling) {
    // The readings by vital sign, each name once however it is cased.
    std::unordered_map<std::string, std::vector<ReadingAt>> byName;
    for (const TagSeen& tag : seen.readings) {
        if (tag.bClosing) continue;
        const std::string strName = Text(tag, "vitalsigns");
        byName[FoldCaseKey(m_nCodePage, strName)].push_back(
            {&tag, strName, Integer(tag, "cellindex", 0), Text(tag, "vitalsignsvalues"), Text(tag, "comparator")});
    }
    auto readingsOf = [&](const std::string& strName) -> const std::vector<ReadingAt>& {
        static const std::vector<ReadingAt> kNone;
        const auto it = byName.find(FoldCaseKey(m_nCodePage, strName));
        return it == byName.end() ? kNone : it->second;
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
                           std::to_string(placed.first->second->pTag->nLine) + "): both are drawn, one over the other");
        }
    }

    // Values beyond a curve's scale: a rule (a word or a pin) for them, or a
    // bound the template has not given.
    for (const TagSeen* pDrawer : drawers) {
        if (pDrawer->nCode != kElementLineOut) continue;
        const std::string* pScale = pDrawer->Find("scale");
        const std::string* pBase = pDrawer->Find("base-value");
        if (pScale == nullptr || pBase == nullptr) continue;
        const double fScale = crt::atof(pScale->c_str());
        const double fBase = crt::atof(pBase->c_str());
        const double fY = ruling.PositionMm(pDrawer->Find("y"));
        const double fCy = ruling.PositionMm(pDrawer->Find("cy"));
        if (fScale == 0.0 || !std::isfinite(fScale) || !std::isfinite(fBase)) continue;
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
            if (!IsNumber(reading.strValue)) continue;
            const double fValue = crt::atof(reading.strValue.c_str());
            const std::int32_t nColumn = reading.pTag->ValueColumn("vitalsignsvalues");
            bool bRuled = false;
            for (const Side& side : sides) {
                const std::string* pBound = pDrawer->Find(side.pszBound);
                if (pBound == nullptr) continue;
                const double fBound = crt::atof(pBound->c_str());
                const bool bBelow = side.pszComparator[0] == '<';
                const bool bBeyond = bBelow ? (fValue < fBound || (reading.strComparator == "<" && fValue <= fBound))
                                            : (fValue > fBound || (reading.strComparator == ">" && fValue >= fBound));
                bRuled = bRuled || reading.strComparator == side.pszComparator;
                if (!bBeyond) continue;
                bRuled = true;
                if (pDrawer->Find(side.pszWord) != nullptr || pDrawer->Find(side.pszPin) != nullptr) continue;
                m_log.Warn(*reading.pTag, nColumn, "off-scale",
                           Show(m_nCodePage, reading.strName) + " " + reading.strValue + " lies " + side.pszWhere +
                               " '" + side.pszBound + "' " + *pBound + " of the '" + ElementName(pDrawer->nCode) +
                               "' on line " + std::to_string(pDrawer->nLine) + ", which has no '" + side.pszWord +
                               "' or '" + side.pszPin + "': it is plotted beyond the scale");
            }
            if (!reading.strComparator.empty() && !bRuled) {
                m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("comparator"), "off-scale",
                           "the '" + ElementName(pDrawer->nCode) + "' on line " + std::to_string(pDrawer->nLine) +
                               " gives no bound for 'comparator' " + Show(m_nCodePage, reading.strComparator) + ": " +
                               reading.strValue + " is plotted as if it were measured");
                continue;
            }
            // Without a bound, a value the chart cannot hold at all.
            const double fAt = fY - (fValue - fBase) * fCy / fScale;
            if (!bRuled && ruling.GetChartHeightMm() > 0.0 && (fAt < 0.0 || fAt > ruling.GetChartHeightMm())) {
                m_log.Warn(*reading.pTag, nColumn, "off-scale",
                           Show(m_nCodePage, reading.strName) + " " + reading.strValue +
                               " is plotted at y = " + FormatMm(fAt) + ", off the chart; give the '" +
                               ElementName(pDrawer->nCode) + "' on line " + std::to_string(pDrawer->nLine) +
                               " a 'min-value' or 'max-value' with a word or a pin");
            }
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
                           "): the two are likely swapped");
        }
    }

    // A cooling re-measurement links back to the reading it was taken after:
    // a reading of a curve on the same axes, in the original column, with the
    // original value.
    for (const TagSeen* pBlock : drawers) {
        if (pBlock->nCode != kElementLineBlock) continue;
        std::vector<const TagSeen*> curves;
        for (const TagSeen* pDrawer : drawers) {
            if (pDrawer->nCode == kElementLineOut && AxesKey(*pDrawer) == AxesKey(*pBlock)) curves.push_back(pDrawer);
        }
        for (const ReadingAt& reading : readingsOf(Text(*pBlock, "name"))) {
            const std::string strOriginal = Text(*reading.pTag, "vitalsignsoriginalvalues");
            const int nOriginalCell = Integer(*reading.pTag, "originalCellIndex", -1);
            const int nFrom = nOriginalCell >= 0 ? nOriginalCell : reading.nCell;
            if (strOriginal.empty()) {
                m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("vitalsigns"), "cooling-link",
                           "the re-measurement of " + Show(m_nCodePage, reading.strName) + " in column " +
                               std::to_string(reading.nCell) +
                               " has no 'vitalsignsoriginalvalues': nothing links it to the reading it follows");
                continue;
            }
            bool bFound = curves.empty();  // no curve on these axes: nothing to compare with
            for (const TagSeen* pCurve : curves) {
                for (const ReadingAt& measured : readingsOf(Text(*pCurve, "name"))) {
                    bFound = bFound || (measured.nCell == nFrom && IsNumber(measured.strValue) &&
                                        crt::atof(measured.strValue.c_str()) == crt::atof(strOriginal.c_str()));
                }
            }
            if (bFound) continue;
            m_log.Warn(*reading.pTag, reading.pTag->ValueColumn("vitalsignsoriginalvalues"), "cooling-link",
                       "the re-measurement of " + Show(m_nCodePage, reading.strName) + " links from " + strOriginal +
                           " in column " + std::to_string(nFrom) + ", but no reading of " +
                           Show(m_nCodePage, Text(*curves.front(), "name")) + " there has that value");
        }
    }

    // Days after surgery (a row named with 术后) counted with no surgery
    // (手术) in the readings; the words in the texts' own code page.
    const bool bUtf8 = m_nCodePage == CP_UTF8;
    const std::string strCounted = bUtf8 ? "\xE6\x9C\xAF\xE5\x90\x8E" : "\xCA\xF5\xBA\xF3";
    const std::string strSurgery = bUtf8 ? "\xE6\x89\x8B\xE6\x9C\xAF" : "\xCA\xD6\xCA\xF5";
    for (const TagSeen* pDrawer : drawers) {
        if (pDrawer->nCode != kElementTextOut) continue;
        const std::string strName = Text(*pDrawer, "name");
        if (strName.find(strCounted) == std::string::npos) continue;
        const std::vector<ReadingAt>& counts = readingsOf(strName);
        if (counts.empty()) continue;
        bool bSurgery = false;
        for (const TagSeen& tag : seen.readings) {
            bSurgery = bSurgery || Text(tag, "vitalsignsvalues").find(strSurgery) != std::string::npos;
        }
        if (bSurgery) continue;
        m_log.Warn(*counts.front().pTag, counts.front().pTag->ValueColumn("vitalsigns"), "surgery-count",
                   Show(m_nCodePage, strName) + " counts days after surgery, but no reading of the data text names " +
                       Show(m_nCodePage, strSurgery));
    }
}

}  // namespace cli
}  // namespace vitalchart
