#include "clinical/event_wording.h"

#include <cstdio>

namespace vitalchart::clinical {

std::string ChineseNumber(int n) {
    static const char* const kDigits[10] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (n < 0 || n > 99) return std::to_string(n);
    if (n < 10) return kDigits[n];
    std::string strOut = n >= 20 ? std::string(kDigits[n / 10]) + "十" : std::string("十");
    if (n % 10 != 0) strOut += kDigits[n % 10];
    return strOut;
}

bool CEventWording::Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader) {
    if (!rReader.ExpectObject(v, strPointer, {"row", "words", "timed", "numerals", "separator", "zeroMinutes"})) {
        return false;
    }
    if (const CJsonValue* pWords = rReader.Member(v, strPointer, "words", false)) {
        const std::string strWords = ChildPointer(strPointer, "words");
        if (rReader.ExpectObject(*pWords, strWords,
                                 {"admission", "transfer", "surgery", "delivery", "discharge", "death"})) {
            for (int i = 0; i < kEventKinds; ++i) {
                rReader.ReadChartText(*pWords, strWords, EventKindName(static_cast<EEventKind>(i)),
                                      m_arrWords[static_cast<std::size_t>(i)]);
            }
        }
    }
    if (const CJsonValue* pTimed = rReader.Member(v, strPointer, "timed", false)) {
        const std::string strTimed = ChildPointer(strPointer, "timed");
        if (rReader.ExpectArray(*pTimed, strTimed)) {
            m_arrTimed.fill(false);
            for (std::size_t i = 0; i < pTimed->m_arrItems.size(); ++i) {
                const CJsonValue& item = pTimed->m_arrItems[i];
                bool bKnown = false;
                for (int k = 0; k < kEventKinds; ++k) {
                    if (item.m_nKind == CJsonValue::kString &&
                        item.m_strText == EventKindName(static_cast<EEventKind>(k))) {
                        m_arrTimed[static_cast<std::size_t>(k)] = true;
                        bKnown = true;
                    }
                }
                if (!bKnown) rReader.Error(ChildPointer(strTimed, i), "is not an event kind");
            }
        }
    }
    int nChoice = 0;
    if (rReader.ReadChoice(v, strPointer, "numerals", {"arabic", "chinese"}, nChoice)) m_bChinese = nChoice == 1;
    rReader.ReadChartText(v, strPointer, "separator", m_strSeparator);
    if (rReader.ReadChoice(v, strPointer, "zeroMinutes", {"write", "omit"}, nChoice)) {
        m_bOmitZeroMinutes = nChoice == 1;
    }
    return true;
}

std::string CEventWording::Format(EEventKind nKind, LocalSeconds t) const {
    const auto nIndex = static_cast<std::size_t>(nKind);
    std::string strOut = m_arrWords[nIndex];
    if (!m_arrTimed[nIndex]) return strOut;
    const int nSecond = SecondOfDay(t);
    const int nHour = nSecond / 3600;
    const int nMinute = nSecond / 60 % 60;
    strOut += m_strSeparator;
    if (m_bChinese) {
        strOut += ChineseNumber(nHour) + "时";
        if (nMinute != 0 || !m_bOmitZeroMinutes) {
            strOut += (nMinute < 10 ? "零" : "") + (nMinute == 0 ? std::string() : ChineseNumber(nMinute)) + "分";
        }
    } else {
        strOut += std::to_string(nHour) + "时";
        if (nMinute != 0 || !m_bOmitZeroMinutes) {
            char sz[40];
            std::snprintf(sz, sizeof sz, "%02d", nMinute);
            strOut += std::string(sz) + "分";
        }
    }
    return strOut;
}

}  // namespace vitalchart::clinical
