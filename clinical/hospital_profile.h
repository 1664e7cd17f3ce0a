#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "clinical/date_row_format.h"
#include "clinical/diagnostic.h"
#include "clinical/event_wording.h"
#include "clinical/slot_rule.h"
#include "clinical/surgery_counter.h"

namespace vitalchart::clinical {

// How a chart row's columns are counted: by time slot, by half day, by day,
// or a header field (column 0 of every page from the reading's page on).
enum class ERowKind { kSlot, kHalfDay, kDay, kHeader };
// Which readings of one row a single cell keeps: all (in time order, the
// renderer draws each), the earliest or the latest.
enum class ESameCell { kAll, kFirst, kLast };
// What a reading's value must be: a decimal number, systolic/diastolic, or any text.
enum class EValueKind { kNumber, kPressure, kText };
// Header fields a profile can place: the patient's, the page number, and the
// hospital's own name (a profile property, not the patient's).
enum class EHeaderField {
    kName,
    kSex,
    kAge,
    kWard,
    kBed,
    kInpatientNumber,
    kAdmissionDate,
    kPage,
    kHospital,
    kAgeInDays
};

// A row of the chart template the readings fill, by its data-text name.
struct CChartRow {
    std::string m_strName;
    ERowKind m_nKind = ERowKind::kSlot;
    ESameCell m_nSameCell = ESameCell::kAll;
};

// Which row a reading of a sign (and site, and cooling re-measurement or not)
// goes to, with which marker flag, in which unit and to how many decimals.
struct CSignRow {
    std::string m_strSign;
    std::string m_strSite;
    bool m_bCooling = false;
    std::string m_strRow;
    int m_nFlag = 0;
    std::string m_strUnit;
    int m_nDecimals = -1;
    EValueKind m_nValue = EValueKind::kNumber;
    // Words accepted in place of a number (卧床 for a weight not taken).
    std::vector<std::string> m_arrWords;
};

struct CHeaderEntry {
    EHeaderField m_nField = EHeaderField::kName;
    std::string m_strRow;
};

// A hospital's charting rules, as data (see docs/readings.md and
// schemas/profile.schema.json): its clock, time slots, pages, the rows of its
// template and how readings, events and counters are written into them.
class CHospitalProfile {
public:
    std::string m_strName;
    // The hospital's name, as the header's hospital field writes it.
    std::string m_strHospital;
    int m_nUtcOffsetMinutes = 0;
    int m_nDaysPerPage = 7;
    CSlotRule m_slots;
    int m_nAfternoonFrom = 12 * 3600;
    std::vector<CHeaderEntry> m_arrHeader;
    std::string m_strDateRow;
    CDateRowFormat m_dateFormat;
    std::string m_strHospitalDayRow;
    std::string m_strSurgeryRow;
    CSurgeryCounter m_surgery;
    // The day-of-life row: days since the birth date, the day of birth
    // counting m_nDayOfLifeFrom.
    std::string m_strDayOfLifeRow;
    int m_nDayOfLifeFrom = 0;
    std::string m_strEventRow;
    CEventWording m_events;
    std::vector<CChartRow> m_arrRows;
    std::vector<CSignRow> m_arrSigns;
    std::map<std::string, std::string> m_mapReasons;
    std::map<std::string, std::string> m_mapSexWords;
    std::string m_strYears = "岁";
    std::string m_strMonths = "个月";
    std::string m_strDays = "天";

    // Reads a profile from its bytes; strFile names it in messages. Replaces
    // the contents. False, with at least one error, when it cannot be used.
    bool LoadProfile(std::string_view bytes, const std::string& strFile, std::vector<CDiagnostic>& rDiagnostics);

    // The index of the row named strName in m_arrRows, or -1.
    int FindRow(const std::string& strName) const;
    // The sign row for a reading: the one for its site, else the one without
    // a site. rSiteMatched is false when the reading's site fell back to the
    // general row although the profile tells other sites of the sign apart.
    // Null when the profile has neither.
    const CSignRow* FindSign(const std::string& strSign, const std::string& strSite, bool bCooling,
                             bool& rSiteMatched) const;
};

}  // namespace vitalchart::clinical
