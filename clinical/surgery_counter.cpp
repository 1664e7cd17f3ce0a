#include "clinical/surgery_counter.h"

namespace vitalchart::clinical {

std::string RomanNumeral(int n) {
    static const struct {
        int nValue;
        const char* pszText;
    } kNumerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                     {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string strOut;
    for (const auto& numeral : kNumerals) {
        while (n >= numeral.nValue && n < 4000) {
            strOut += numeral.pszText;
            n -= numeral.nValue;
        }
    }
    return strOut;
}

bool CSurgeryCounter::Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader) {
    if (!rReader.ExpectObject(v, strPointer, {"row", "countFrom", "dayOfSurgery", "days", "nextOperation"})) {
        return false;
    }
    rReader.ReadInt(v, strPointer, "countFrom", m_nCountFrom, 0, 1);
    rReader.ReadChartText(v, strPointer, "dayOfSurgery", m_strDayOfSurgery);
    rReader.ReadInt(v, strPointer, "days", m_nDays, 1, 366);
    int nNext = 0;
    if (rReader.ReadChoice(v, strPointer, "nextOperation", {"roman", "fraction"}, nNext)) {
        m_nNext = static_cast<ENextOperation>(nNext);
    }
    return true;
}

std::string CSurgeryCounter::Count(std::int64_t nDaysAfter) const {
    if (nDaysAfter == 0 && !m_strDayOfSurgery.empty()) return m_strDayOfSurgery;
    return std::to_string(nDaysAfter + m_nCountFrom);
}

std::string CSurgeryCounter::TextFor(std::int64_t nDay, const std::vector<std::int64_t>& arrOperationDays) const {
    // The operations up to this day, the latest last.
    std::size_t nDone = 0;
    while (nDone < arrOperationDays.size() && arrOperationDays[nDone] <= nDay) ++nDone;
    if (nDone == 0) return std::string();
    const std::int64_t nLatest = nDay - arrOperationDays[nDone - 1];
    if (nLatest > m_nDays) return std::string();
    if (nDone == 1 || (nLatest == 0 && !m_strDayOfSurgery.empty())) return Count(nLatest);
    if (m_nNext == kRoman) return RomanNumeral(static_cast<int>(nDone < 3999 ? nDone : 3999)) + "-" + Count(nLatest);
    // Every count still running, the newest first.
    std::string strOut = Count(nLatest);
    for (std::size_t i = nDone - 1; i > 0; --i) {
        const std::int64_t nAfter = nDay - arrOperationDays[i - 1];
        if (nAfter > m_nDays) break;
        strOut += "/" + Count(nAfter);
    }
    return strOut;
}

}  // namespace vitalchart::clinical
