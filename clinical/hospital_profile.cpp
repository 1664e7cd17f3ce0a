#include "clinical/hospital_profile.h"

#include <set>
#include <tuple>

#include "clinical/json_value.h"
#include "clinical/unit_converter.h"

namespace vitalchart::clinical {

namespace {

// Reads the name of a data-text row: a non-empty chart text.
bool ReadRowName(CFieldReader& rReader, const CJsonValue& v, const std::string& strPointer, const char* pszKey,
                 std::string& rName, bool bRequired) {
    std::string strName;
    if (!rReader.ReadChartText(v, strPointer, pszKey, strName, bRequired)) return false;
    if (strName.empty()) {
        rReader.Error(ChildPointer(strPointer, pszKey), "must name a row; it is empty");
        return false;
    }
    rName = strName;
    return true;
}

// {"row": NAME} sections: the row name, required inside the section.
bool ReadRowSection(CFieldReader& rReader, const CJsonValue& root, const char* pszKey, std::string& rRow,
                    const CJsonValue*& rSection) {
    rSection = rReader.Member(root, "", pszKey, false);
    if (rSection == nullptr) return false;
    const std::string strPointer = ChildPointer("", pszKey);
    if (rSection->m_nKind != CJsonValue::kObject) {
        rReader.Error(strPointer, std::string("must be an object, not ") + rSection->KindName());
        return false;
    }
    return ReadRowName(rReader, *rSection, strPointer, "row", rRow, true);
}

void ReadWordMap(CFieldReader& rReader, const CJsonValue& v, const std::string& strPointer,
                 std::map<std::string, std::string>& rMap) {
    if (v.m_nKind != CJsonValue::kObject) {
        rReader.Error(strPointer, std::string("must be an object, not ") + v.KindName());
        return;
    }
    for (std::size_t i = 0; i < v.m_arrKeys.size(); ++i) {
        std::string strWord;
        if (rReader.ReadChartText(v, strPointer, v.m_arrKeys[i].c_str(), strWord)) rMap[v.m_arrKeys[i]] = strWord;
    }
}

void ReadRows(CFieldReader& rReader, const CJsonValue& v, const std::string& strPointer,
              std::vector<CChartRow>& rRows) {
    if (!rReader.ExpectArray(v, strPointer)) return;
    for (std::size_t i = 0; i < v.m_arrItems.size(); ++i) {
        const CJsonValue& item = v.m_arrItems[i];
        const std::string strItem = ChildPointer(strPointer, i);
        if (!rReader.ExpectObject(item, strItem, {"row", "kind", "sameCell"})) continue;
        CChartRow row;
        if (!ReadRowName(rReader, item, strItem, "row", row.m_strName, true)) continue;
        int nChoice = 0;
        if (rReader.ReadChoice(item, strItem, "kind", {"slot", "half-day", "day", "header"}, nChoice, true)) {
            row.m_nKind = static_cast<ERowKind>(nChoice);
        }
        if (rReader.ReadChoice(item, strItem, "sameCell", {"all", "first", "last"}, nChoice)) {
            row.m_nSameCell = static_cast<ESameCell>(nChoice);
        }
        for (const CChartRow& other : rRows) {
            if (other.m_strName == row.m_strName) {
                rReader.Error(ChildPointer(strItem, "row"), QuoteForMessage(row.m_strName) + " is listed twice");
            }
        }
        rRows.push_back(row);
    }
}

void ReadSigns(CFieldReader& rReader, const CJsonValue& v, const std::string& strPointer,
               const CHospitalProfile& profile, std::vector<CSignRow>& rSigns) {
    if (!rReader.ExpectArray(v, strPointer)) return;
    std::set<std::tuple<std::string, std::string, bool>> setSeen;
    for (std::size_t i = 0; i < v.m_arrItems.size(); ++i) {
        const CJsonValue& item = v.m_arrItems[i];
        const std::string strItem = ChildPointer(strPointer, i);
        if (!rReader.ExpectObject(item, strItem,
                                  {"sign", "site", "cooling", "row", "flag", "unit", "decimals", "value", "words"})) {
            continue;
        }
        CSignRow sign;
        rReader.ReadString(item, strItem, "sign", sign.m_strSign, true);
        int nChoice = 0;
        if (rReader.ReadChoice(item, strItem, "site", {"axillary", "oral", "rectal", "ear"}, nChoice)) {
            sign.m_strSite = item.Find("site")->m_strText;
        }
        rReader.ReadBool(item, strItem, "cooling", sign.m_bCooling);
        if (ReadRowName(rReader, item, strItem, "row", sign.m_strRow, true) && profile.FindRow(sign.m_strRow) < 0) {
            rReader.Error(ChildPointer(strItem, "row"), QuoteForMessage(sign.m_strRow) + " is not one of the rows");
        }
        rReader.ReadInt(item, strItem, "flag", sign.m_nFlag, 0, 2);
        if (rReader.ReadString(item, strItem, "unit", sign.m_strUnit) && !CUnitConverter::IsKnown(sign.m_strUnit)) {
            rReader.Error(ChildPointer(strItem, "unit"),
                          QuoteForMessage(sign.m_strUnit) + " is not a unit vitalchart converts");
        }
        rReader.ReadInt(item, strItem, "decimals", sign.m_nDecimals, 0, 6);
        if (rReader.ReadChoice(item, strItem, "value", {"number", "pressure", "text"}, nChoice)) {
            sign.m_nValue = static_cast<EValueKind>(nChoice);
        }
        if (const CJsonValue* pWords = rReader.Member(item, strItem, "words", false)) {
            const std::string strWords = ChildPointer(strItem, "words");
            if (rReader.ExpectArray(*pWords, strWords)) {
                for (std::size_t k = 0; k < pWords->m_arrItems.size(); ++k) {
                    const CJsonValue& word = pWords->m_arrItems[k];
                    const std::string strWord = ChildPointer(strWords, k);
                    if (word.m_nKind != CJsonValue::kString || word.m_strText.empty()) {
                        rReader.Error(strWord, "must be a word");
                    } else if (rReader.CheckChartText(word.m_strText, strWord)) {
                        sign.m_arrWords.push_back(word.m_strText);
                    }
                }
            }
        }
        if (!setSeen.insert(std::make_tuple(sign.m_strSign, sign.m_strSite, sign.m_bCooling)).second) {
            rReader.Error(strItem, "repeats the sign, site and cooling of an earlier row, which would always win");
        }
        rSigns.push_back(sign);
    }
}

void ReadHeader(CFieldReader& rReader, const CJsonValue& v, const std::string& strPointer,
                std::vector<CHeaderEntry>& rHeader) {
    if (!rReader.ExpectArray(v, strPointer)) return;
    for (std::size_t i = 0; i < v.m_arrItems.size(); ++i) {
        const CJsonValue& item = v.m_arrItems[i];
        const std::string strItem = ChildPointer(strPointer, i);
        if (!rReader.ExpectObject(item, strItem, {"field", "row"})) continue;
        CHeaderEntry entry;
        int nField = 0;
        if (rReader.ReadChoice(item, strItem, "field",
                               {"name", "sex", "age", "ward", "bed", "inpatientNumber", "admissionDate", "page",
                                "hospital", "ageInDays"},
                               nField, true) &&
            ReadRowName(rReader, item, strItem, "row", entry.m_strRow, true)) {
            entry.m_nField = static_cast<EHeaderField>(nField);
            rHeader.push_back(entry);
        }
    }
}

}  // namespace

int CHospitalProfile::FindRow(const std::string& strName) const {
    for (std::size_t i = 0; i < m_arrRows.size(); ++i) {
        if (m_arrRows[i].m_strName == strName) return static_cast<int>(i);
    }
    return -1;
}

const CSignRow* CHospitalProfile::FindSign(const std::string& strSign, const std::string& strSite, bool bCooling,
                                           bool& rSiteMatched) const {
    const CSignRow* pGeneral = nullptr;
    bool bSites = false;
    for (const CSignRow& sign : m_arrSigns) {
        if (sign.m_strSign != strSign || sign.m_bCooling != bCooling) continue;
        if (!strSite.empty() && sign.m_strSite == strSite) {
            rSiteMatched = true;
            return &sign;
        }
        if (sign.m_strSite.empty()) pGeneral = &sign;
        bSites = bSites || !sign.m_strSite.empty();
    }
    // A profile that tells no sites apart takes every site in its general row.
    rSiteMatched = strSite.empty() || !bSites;
    return pGeneral;
}

bool CHospitalProfile::LoadProfile(std::string_view bytes, const std::string& strFile,
                                   std::vector<CDiagnostic>& rDiagnostics) {
    *this = CHospitalProfile();
    CJsonValue root;
    if (!CJsonValue::Parse(bytes, strFile, root, rDiagnostics)) return false;
    CFieldReader reader(strFile, rDiagnostics);
    if (!reader.ExpectObject(root, "",
                             {"$schema", "name", "hospital", "utcOffset", "daysPerPage", "timeSlots", "halfDay",
                              "header", "dateRow", "hospitalDays", "daysAfterSurgery", "daysOfLife", "events", "rows",
                              "signs", "reasons", "sexWords", "ageUnits"})) {
        return false;
    }
    reader.ReadString(root, "", "name", m_strName);
    reader.ReadChartText(root, "", "hospital", m_strHospital);
    std::string strOffset;
    if (reader.ReadString(root, "", "utcOffset", strOffset, true) && !ParseUtcOffset(strOffset, m_nUtcOffsetMinutes)) {
        reader.Error("/utcOffset", QuoteForMessage(strOffset) + " is not a UTC offset (+hh:mm, -hh:mm or Z)");
    }
    reader.ReadInt(root, "", "daysPerPage", m_nDaysPerPage, 1, 31);
    if (const CJsonValue* p = reader.Member(root, "", "timeSlots", true)) m_slots.Load(*p, "/timeSlots", reader);
    if (const CJsonValue* p = reader.Member(root, "", "halfDay", false)) {
        if (reader.ExpectObject(*p, "/halfDay", {"afternoonFrom"})) {
            std::string strTime;
            if (reader.ReadString(*p, "/halfDay", "afternoonFrom", strTime, true) &&
                (!ParseTimeOfDay(strTime, m_nAfternoonFrom) || m_nAfternoonFrom == 0)) {
                reader.Error("/halfDay/afternoonFrom",
                             QuoteForMessage(strTime) + " is not a time of day after 00:00:00");
            }
        }
    }
    if (const CJsonValue* p = reader.Member(root, "", "header", false)) ReadHeader(reader, *p, "/header", m_arrHeader);
    for (std::size_t i = 0; i < m_arrHeader.size(); ++i) {
        if (m_arrHeader[i].m_nField == EHeaderField::kHospital && m_strHospital.empty()) {
            reader.Error(ChildPointer(ChildPointer("/header", i), "field"),
                         "writes the hospital's name, but the profile gives no 'hospital'");
        }
    }
    const CJsonValue* pSection = nullptr;
    if (ReadRowSection(reader, root, "dateRow", m_strDateRow, pSection)) {
        m_dateFormat.Load(*pSection, "/dateRow", reader);
    }
    if (ReadRowSection(reader, root, "hospitalDays", m_strHospitalDayRow, pSection)) {
        reader.ExpectObject(*pSection, "/hospitalDays", {"row"});
    }
    if (ReadRowSection(reader, root, "daysAfterSurgery", m_strSurgeryRow, pSection)) {
        m_surgery.Load(*pSection, "/daysAfterSurgery", reader);
    }
    if (ReadRowSection(reader, root, "daysOfLife", m_strDayOfLifeRow, pSection) &&
        reader.ExpectObject(*pSection, "/daysOfLife", {"row", "countFrom"})) {
        reader.ReadInt(*pSection, "/daysOfLife", "countFrom", m_nDayOfLifeFrom, 0, 1);
    }
    if (ReadRowSection(reader, root, "events", m_strEventRow, pSection)) m_events.Load(*pSection, "/events", reader);
    if (const CJsonValue* p = reader.Member(root, "", "rows", true)) ReadRows(reader, *p, "/rows", m_arrRows);
    if (const CJsonValue* p = reader.Member(root, "", "signs", true))
        ReadSigns(reader, *p, "/signs", *this, m_arrSigns);
    if (const CJsonValue* p = reader.Member(root, "", "reasons", false))
        ReadWordMap(reader, *p, "/reasons", m_mapReasons);
    if (const CJsonValue* p = reader.Member(root, "", "sexWords", false)) {
        if (reader.ExpectObject(*p, "/sexWords", {"male", "female", "other", "unknown"})) {
            ReadWordMap(reader, *p, "/sexWords", m_mapSexWords);
        }
    }
    if (const CJsonValue* p = reader.Member(root, "", "ageUnits", false)) {
        if (reader.ExpectObject(*p, "/ageUnits", {"years", "months", "days"})) {
            reader.ReadChartText(*p, "/ageUnits", "years", m_strYears);
            reader.ReadChartText(*p, "/ageUnits", "months", m_strMonths);
            reader.ReadChartText(*p, "/ageUnits", "days", m_strDays);
        }
    }
    if (reader.HasErrors()) {
        *this = CHospitalProfile();
        return false;
    }
    return true;
}

}  // namespace vitalchart::clinical
