#include "clinical/readings_document.h"

#include <tuple>
#include <unordered_map>
#include <utility>

#include "clinical/field_reader.h"
#include "clinical/json_value.h"

namespace vitalchart::clinical {

const char* EventKindName(EEventKind nKind) {
    switch (nKind) {
        case EEventKind::kAdmission:
            return "admission";
        case EEventKind::kTransfer:
            return "transfer";
        case EEventKind::kSurgery:
            return "surgery";
        case EEventKind::kDelivery:
            return "delivery";
        case EEventKind::kDischarge:
            return "discharge";
        case EEventKind::kDeath:
            return "death";
    }
    return "event";
}

namespace {

bool ReadTime(CFieldReader& reader, const CJsonValue& object, const std::string& strPointer, const char* pszKey,
              CClinicalTime& rTime, bool bRequired) {
    std::string strText;
    if (!reader.ReadString(object, strPointer, pszKey, strText, bRequired)) return false;
    std::string strWhy;
    if (!CClinicalTime::Parse(strText, rTime, strWhy)) {
        reader.Error(ChildPointer(strPointer, pszKey), QuoteForMessage(strText) + " " + strWhy);
        return false;
    }
    return true;
}

void ReadPatient(CFieldReader& reader, const CJsonValue& v, const std::string& strPointer, CPatient& rPatient) {
    if (!reader.ExpectObject(v, strPointer,
                             {"name", "sex", "age", "birthDate", "ward", "bed", "inpatientNumber", "admission"})) {
        return;
    }
    reader.ReadChartText(v, strPointer, "name", rPatient.m_strName, true);
    int nSex = 0;
    if (reader.ReadChoice(v, strPointer, "sex", {"male", "female", "other", "unknown"}, nSex)) {
        rPatient.m_strSex = v.Find("sex")->m_strText;
    }
    reader.ReadChartText(v, strPointer, "age", rPatient.m_strAge);
    CClinicalTime birth;
    if (ReadTime(reader, v, strPointer, "birthDate", birth, false)) {
        if (birth.HasTime()) {
            reader.Error(ChildPointer(strPointer, "birthDate"), "must be a date (yyyy-mm-dd)");
        } else {
            rPatient.m_bHasBirthDate = true;
            rPatient.m_nBirthDay = DayOf(birth.ToLocal(0));
        }
    }
    reader.ReadChartText(v, strPointer, "ward", rPatient.m_strWard);
    reader.ReadChartText(v, strPointer, "bed", rPatient.m_strBed);
    reader.ReadChartText(v, strPointer, "inpatientNumber", rPatient.m_strInpatientNumber);
    rPatient.m_strAdmissionPointer = ChildPointer(strPointer, "admission");
    if (ReadTime(reader, v, strPointer, "admission", rPatient.m_admission, true) && !rPatient.m_admission.HasTime()) {
        reader.Error(rPatient.m_strAdmissionPointer, "must give the time of day of the admission");
    }
}

void ReadEvent(CFieldReader& reader, const CJsonValue& v, const std::string& strPointer,
               std::vector<CStayEvent>& rEvents) {
    if (!reader.ExpectObject(v, strPointer, {"kind", "time", "ward", "bed"})) return;
    CStayEvent event;
    event.m_strPointer = strPointer;
    int nKind = 0;
    bool bOk = reader.ReadChoice(v, strPointer, "kind",
                                 {"admission", "transfer", "surgery", "delivery", "discharge", "death"}, nKind, true);
    event.m_nKind = static_cast<EEventKind>(nKind);
    bOk = ReadTime(reader, v, strPointer, "time", event.m_time, true) && bOk;
    if (bOk && !event.m_time.HasTime()) {
        reader.Error(ChildPointer(strPointer, "time"), "must give the time of day of the event");
        bOk = false;
    }
    event.m_bHasWard = reader.ReadChartText(v, strPointer, "ward", event.m_strWard);
    event.m_bHasBed = reader.ReadChartText(v, strPointer, "bed", event.m_strBed);
    if (bOk && event.m_nKind == EEventKind::kTransfer && !event.m_bHasWard && !event.m_bHasBed) {
        reader.Error(strPointer, "a transfer must give the new ward or bed");
    } else if (bOk && event.m_nKind != EEventKind::kTransfer && (v.Find("ward") || v.Find("bed"))) {
        reader.Error(strPointer, "only a transfer gives a ward or bed");
    }
    if (bOk) rEvents.push_back(std::move(event));
}

// A number as written, or a text; returns false after an error.
bool ReadValueText(CFieldReader& reader, const CJsonValue& v, const std::string& strPointer, std::string& rText,
                   bool& rNumeric) {
    if (v.m_nKind == CJsonValue::kNumber) {
        rText = v.m_strText;
        rNumeric = true;
        return true;
    }
    if (v.m_nKind == CJsonValue::kString) {
        if (v.m_strText.empty()) {
            reader.Error(strPointer, "is empty; give a reason for a reading not taken");
            return false;
        }
        rNumeric = false;
        rText = v.m_strText;
        return reader.CheckChartText(v.m_strText, strPointer);
    }
    reader.Error(strPointer, std::string("must be a number or a string, not ") + v.KindName());
    return false;
}

void ReadReading(CFieldReader& reader, const CJsonValue& v, const std::string& strPointer,
                 std::vector<CReading>& rReadings) {
    if (!reader.ExpectObject(v, strPointer,
                             {"id", "sign", "time", "value", "systolic", "diastolic", "unit", "site", "reason",
                              "comparator", "follows", "row", "flag"})) {
        return;
    }
    CReading reading;
    reading.m_strPointer = strPointer;
    bool bOk = reader.ReadString(v, strPointer, "sign", reading.m_strSign, true);
    bOk = ReadTime(reader, v, strPointer, "time", reading.m_time, true) && bOk;
    reader.ReadString(v, strPointer, "id", reading.m_strId);
    reader.ReadString(v, strPointer, "unit", reading.m_strUnit);
    int nChoice = 0;
    if (reader.ReadChoice(v, strPointer, "site", {"axillary", "oral", "rectal", "ear"}, nChoice)) {
        reading.m_strSite = v.Find("site")->m_strText;
    }
    if (reader.ReadChoice(v, strPointer, "comparator", {"<", "<=", ">", ">="}, nChoice)) {
        reading.m_strComparator = v.Find("comparator")->m_strText;
    }
    reader.ReadString(v, strPointer, "reason", reading.m_strReason);
    reader.ReadString(v, strPointer, "follows", reading.m_strFollows);
    reader.ReadChartText(v, strPointer, "row", reading.m_strRow);
    reader.ReadInt(v, strPointer, "flag", reading.m_nFlag, 0, 2);

    const CJsonValue* pValue = v.Find("value");
    const CJsonValue* pSystolic = v.Find("systolic");
    const CJsonValue* pDiastolic = v.Find("diastolic");
    if (pValue != nullptr) {
        reading.m_bHasValue =
            ReadValueText(reader, *pValue, ChildPointer(strPointer, "value"), reading.m_strValue, reading.m_bNumeric);
        bOk = reading.m_bHasValue && bOk;
        if (pSystolic != nullptr || pDiastolic != nullptr) {
            reader.Error(strPointer, "gives both a value and systolic/diastolic");
            bOk = false;
        }
    } else if (pSystolic != nullptr || pDiastolic != nullptr) {
        std::string strSystolic;
        std::string strDiastolic;
        for (auto [pszKey, pPart, pText] : {std::make_tuple("systolic", pSystolic, &strSystolic),
                                            std::make_tuple("diastolic", pDiastolic, &strDiastolic)}) {
            if (pPart == nullptr) {
                reader.Error(ChildPointer(strPointer, pszKey), "is missing");
                bOk = false;
            } else if (pPart->m_nKind != CJsonValue::kNumber) {
                reader.Error(ChildPointer(strPointer, pszKey),
                             std::string("must be a number, not ") + pPart->KindName());
                bOk = false;
            } else {
                *pText = pPart->m_strText;
            }
        }
        reading.m_bHasValue = true;
        reading.m_bNumeric = true;
        reading.m_strValue = strSystolic + "/" + strDiastolic;
    }
    if (bOk) rReadings.push_back(std::move(reading));
}

}  // namespace

bool CReadingsDocument::LoadReadings(std::string_view bytes, const std::string& strFile,
                                     std::vector<CDiagnostic>& rDiagnostics) {
    *this = CReadingsDocument();
    m_strFile = strFile;
    CJsonValue root;
    if (!CJsonValue::Parse(bytes, strFile, root, rDiagnostics)) return false;
    CFieldReader reader(strFile, rDiagnostics);
    if (!reader.ExpectObject(root, "", {"$schema", "patient", "events", "readings"})) return false;
    if (const CJsonValue* p = reader.Member(root, "", "patient", true)) ReadPatient(reader, *p, "/patient", m_patient);
    if (const CJsonValue* p = reader.Member(root, "", "events", false)) {
        if (reader.ExpectArray(*p, "/events")) {
            for (std::size_t i = 0; i < p->m_arrItems.size(); ++i) {
                ReadEvent(reader, p->m_arrItems[i], ChildPointer("/events", i), m_arrEvents);
            }
        }
    }
    if (const CJsonValue* p = reader.Member(root, "", "readings", true)) {
        if (reader.ExpectArray(*p, "/readings")) {
            for (std::size_t i = 0; i < p->m_arrItems.size(); ++i) {
                ReadReading(reader, p->m_arrItems[i], ChildPointer("/readings", i), m_arrReadings);
            }
        }
    }
    if (!Check(rDiagnostics) || reader.HasErrors()) {
        *this = CReadingsDocument();
        m_strFile = strFile;
        return false;
    }
    return true;
}

bool CReadingsDocument::Check(std::vector<CDiagnostic>& rDiagnostics) const {
    CFieldReader reader(m_strFile, rDiagnostics);
    std::unordered_map<std::string, const CReading*> mapIds;
    for (const CReading& reading : m_arrReadings) {
        if (reading.m_strId.empty()) continue;
        auto [it, bNew] = mapIds.emplace(reading.m_strId, &reading);
        if (!bNew) {
            reader.Error(ChildPointer(reading.m_strPointer, "id"),
                         QuoteForMessage(reading.m_strId) + " is already the id of " + it->second->m_strPointer);
        }
    }
    for (const CReading& reading : m_arrReadings) {
        if (reading.m_bHasValue == !reading.m_strReason.empty()) {
            reader.Error(reading.m_strPointer, reading.m_bHasValue ? "gives both a value and a reason"
                                                                   : "gives neither a value nor a reason");
        }
        if (!reading.m_strComparator.empty() && !reading.m_bHasValue) {
            reader.Error(ChildPointer(reading.m_strPointer, "comparator"), "needs a value to bound");
        }
        if (!reading.m_strFollows.empty()) {
            auto it = mapIds.find(reading.m_strFollows);
            if (it == mapIds.end()) {
                reader.Error(ChildPointer(reading.m_strPointer, "follows"),
                             "no reading has the id " + QuoteForMessage(reading.m_strFollows));
            } else if (it->second == &reading) {
                reader.Error(ChildPointer(reading.m_strPointer, "follows"), "a reading cannot follow itself");
            }
        }
    }
    return !reader.HasErrors();
}

}  // namespace vitalchart::clinical
