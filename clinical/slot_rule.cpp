#include "clinical/slot_rule.h"

#include <cstdio>
#include <cstdlib>

#include "clinical/clinical_time.h"

namespace vitalchart::clinical {

namespace {

constexpr int kMaxSlots = 24;
constexpr int kLastSecond = 86399;

bool ReadSecond(CFieldReader& rReader, const CJsonValue& v, const std::string& strPointer, const char* pszKey,
                int& rSecond) {
    std::string strText;
    if (!rReader.ReadString(v, strPointer, pszKey, strText, true)) return false;
    if (!ParseTimeOfDay(strText, rSecond)) {
        rReader.Error(ChildPointer(strPointer, pszKey), QuoteForMessage(strText) + " is not a time of day (hh:mm:ss)");
        return false;
    }
    return true;
}

std::string Clock(int nSecond) {
    char sz[40];
    std::snprintf(sz, sizeof sz, "%02d:%02d:%02d", nSecond / 3600, nSecond / 60 % 60, nSecond % 60);
    return sz;
}

}  // namespace

bool CSlotRule::Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader) {
    if (!rReader.ExpectObject(v, strPointer, {"rule", "slots", "ties"})) return false;
    int nRule = 0;
    if (!rReader.ReadChoice(v, strPointer, "rule", {"intervals", "nearest"}, nRule, true)) return false;
    m_bNearest = nRule == 1;
    int nTies = 0;
    if (rReader.ReadChoice(v, strPointer, "ties", {"earlier", "later"}, nTies)) {
        if (!m_bNearest) rReader.Error(ChildPointer(strPointer, "ties"), "applies to the nearest rule only");
        m_bTiesLater = nTies == 1;
    }
    const CJsonValue* pSlots = rReader.Member(v, strPointer, "slots", true);
    const std::string strSlots = ChildPointer(strPointer, "slots");
    if (pSlots == nullptr || !rReader.ExpectArray(*pSlots, strSlots)) return false;
    if (pSlots->m_arrItems.empty() || pSlots->m_arrItems.size() > static_cast<std::size_t>(kMaxSlots)) {
        rReader.Error(strSlots, "must list 1 to " + std::to_string(kMaxSlots) + " slots");
        return false;
    }
    bool bOk = true;
    int nNext = 0;
    for (std::size_t i = 0; i < pSlots->m_arrItems.size(); ++i) {
        const CJsonValue& slot = pSlots->m_arrItems[i];
        const std::string strSlot = ChildPointer(strSlots, i);
        const bool bObject = m_bNearest ? rReader.ExpectObject(slot, strSlot, {"label", "centre"})
                                        : rReader.ExpectObject(slot, strSlot, {"label", "from", "to"});
        if (!bObject) {
            bOk = false;
            continue;
        }
        std::string strLabel;
        bOk = rReader.ReadString(slot, strSlot, "label", strLabel, true) && bOk;
        if (m_bNearest) {
            int nCentre = 0;
            if (!ReadSecond(rReader, slot, strSlot, "centre", nCentre)) {
                bOk = false;
            } else if (!m_arrSeconds.empty() && nCentre <= m_arrSeconds.back()) {
                rReader.Error(ChildPointer(strSlot, "centre"), "must come after the previous slot's centre");
                bOk = false;
            }
            m_arrLabels.push_back(strLabel);
            m_arrSeconds.push_back(nCentre);
            continue;
        }
        int nFrom = 0;
        int nTo = 0;
        if (!ReadSecond(rReader, slot, strSlot, "from", nFrom) || !ReadSecond(rReader, slot, strSlot, "to", nTo)) {
            bOk = false;
            continue;
        }
        if (nFrom != nNext) {
            rReader.Error(ChildPointer(strSlot, "from"), "must be " + Clock(nNext) +
                                                             ", one second after the previous slot ends, so no time is "
                                                             "left out or counted twice");
            bOk = false;
        } else if (nTo < nFrom) {
            rReader.Error(ChildPointer(strSlot, "to"), "must not come before the slot's start");
            bOk = false;
        }
        m_arrLabels.push_back(strLabel);
        m_arrSeconds.push_back(nFrom);
        nNext = nTo + 1;
    }
    if (bOk && !m_bNearest && nNext != kLastSecond + 1) {
        rReader.Error(ChildPointer(ChildPointer(strSlots, pSlots->m_arrItems.size() - 1), "to"),
                      "the last slot must end at 23:59:59");
        bOk = false;
    }
    if (!bOk || m_arrLabels.size() != pSlots->m_arrItems.size()) {
        // A rule that failed keeps no slots, so nothing can be placed by it.
        m_arrLabels.clear();
        m_arrSeconds.clear();
        return false;
    }
    return true;
}

int CSlotRule::SlotOf(int nSecondOfDay) const {
    const int n = GetSlotCount();
    if (!m_bNearest) {
        int nSlot = 0;
        while (nSlot + 1 < n && m_arrSeconds[static_cast<std::size_t>(nSlot) + 1] <= nSecondOfDay) ++nSlot;
        return nSlot;
    }
    int nBest = 0;
    for (int i = 1; i < n; ++i) {
        const int nDistance = std::abs(m_arrSeconds[static_cast<std::size_t>(i)] - nSecondOfDay);
        const int nBestDistance = std::abs(m_arrSeconds[static_cast<std::size_t>(nBest)] - nSecondOfDay);
        if (nDistance < nBestDistance || (nDistance == nBestDistance && m_bTiesLater)) nBest = i;
    }
    return nBest;
}

}  // namespace vitalchart::clinical
