#pragma once

#include <array>
#include <string>

#include "clinical/clinical_time.h"
#include "clinical/field_reader.h"
#include "clinical/stay_records.h"

namespace vitalchart::clinical {

// How the top band writes an event: its word, then for the kinds that carry a
// time the separator and the time, in Arabic 24-hour figures ("入院于10时20分")
// or in Chinese numerals ("入院｜十时二十分"); on the hour the minutes can be
// left out ("出院｜十四时").
class CEventWording {
public:
    // Reads {"row", "words", "timed", "numerals", "separator", "zeroMinutes"}.
    bool Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader);

    // The event's text at the local time.
    std::string Format(EEventKind nKind, LocalSeconds t) const;

private:
    std::array<std::string, kEventKinds> m_arrWords = {"入院", "转入", "手术", "分娩", "出院", "死亡"};
    std::array<bool, kEventKinds> m_arrTimed = {true, true, false, false, true, true};
    bool m_bChinese = false;
    std::string m_strSeparator = "于";
    bool m_bOmitZeroMinutes = false;
};

// 0 to 99 in Chinese numerals as a clock reads them: 零, 九, 十, 十四, 二十三.
std::string ChineseNumber(int n);

}  // namespace vitalchart::clinical
