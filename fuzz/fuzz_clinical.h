#pragma once

// What the clinical-readings fuzz targets share: a small profile, mapping
// table, readings document and FHIR bundle to pair with the fuzzed input, and
// the properties every pagination keeps.

#include <string>
#include <vector>

#include "clinical/fhir_bundle_reader.h"
#include "clinical/paginator.h"
#include "fuzz/fuzz_support.h"

namespace vitalchart::fuzz {

inline const char* const kProfile = R"({
  "utcOffset": "+08:00", "daysPerPage": 7,
  "timeSlots": {"rule": "nearest", "ties": "later", "slots": [{"label": "6", "centre": "06:00:00"},
    {"label": "14", "centre": "14:00:00"}, {"label": "22", "centre": "22:00:00"}]},
  "header": [{"field": "name", "row": "姓名"}, {"field": "ward", "row": "科别"}, {"field": "bed", "row": "床号"},
             {"field": "age", "row": "年龄"}, {"field": "sex", "row": "性别"}, {"field": "page", "row": "页码"}],
  "dateRow": {"row": "日期", "otherDays": "d"},
  "hospitalDays": {"row": "住院天数"},
  "daysAfterSurgery": {"row": "术后天数", "dayOfSurgery": "手术", "days": 7, "nextOperation": "fraction"},
  "events": {"row": "事件", "numerals": "chinese", "separator": "｜"},
  "rows": [{"row": "体温", "kind": "slot"}, {"row": "物理降温", "kind": "slot"}, {"row": "脉搏", "kind": "slot"},
           {"row": "血压", "kind": "half-day", "sameCell": "first"}, {"row": "体重", "kind": "day", "sameCell": "last"},
           {"row": "身高", "kind": "header"}],
  "signs": [{"sign": "temperature", "site": "oral", "row": "体温", "flag": 1, "unit": "Cel", "decimals": 1},
            {"sign": "temperature", "row": "体温", "unit": "Cel", "decimals": 1},
            {"sign": "temperature", "cooling": true, "row": "物理降温", "unit": "Cel"},
            {"sign": "pulse", "row": "脉搏", "unit": "/min", "decimals": 0},
            {"sign": "blood-pressure", "row": "血压", "value": "pressure", "unit": "mm[Hg]"},
            {"sign": "weight", "row": "体重", "unit": "kg", "decimals": 1, "words": ["卧床"]},
            {"sign": "height", "row": "身高", "unit": "cm"}],
  "reasons": {"refused": "拒测", "out": "外出", "not-measured": ""},
  "sexWords": {"male": "男", "female": "女"}
})";

inline const char* const kReadings = R"({
  "patient": {"name": "甲", "sex": "female", "birthDate": "2024-11-20", "ward": "儿科", "bed": "3",
              "admission": "2024-12-30T23:10:00+08:00"},
  "events": [{"kind": "admission", "time": "2024-12-30T23:10:00+08:00"},
             {"kind": "surgery", "time": "2025-01-02T09:00:00+08:00"},
             {"kind": "transfer", "time": "2025-01-06T10:00:00+08:00", "ward": "监护室"},
             {"kind": "death", "time": "2025-01-09T03:00:00+08:00"}],
  "readings": [
    {"id": "a", "sign": "temperature", "time": "2024-12-31T06:00:00", "value": 39.2},
    {"sign": "temperature", "time": "2024-12-31T06:40:00", "value": 38.4, "follows": "a"},
    {"sign": "temperature", "time": "2024-12-31T14:00:00Z", "value": 101.3, "unit": "[degF]", "site": "oral"},
    {"sign": "temperature", "time": "2025-01-01T22:00:00", "reason": "refused"},
    {"sign": "temperature", "time": "2025-01-02T06:00:00", "value": 35, "comparator": "<"},
    {"sign": "pulse", "time": "2025-01-02T06:00:00", "value": 181, "comparator": ">"},
    {"sign": "blood-pressure", "time": "2025-01-03T08:00:00", "systolic": 16, "diastolic": 10, "unit": "kPa"},
    {"sign": "weight", "time": "2025-01-03", "value": "卧床"},
    {"sign": "height", "time": "2025-01-03T10:00:00", "value": 50.5},
    {"sign": "unknown", "time": "2025-01-03T10:00:00", "value": 1}
  ]
})";

inline const char* const kMap = R"({
  "observations": [
    {"code": {"system": "http://loinc.org", "code": "85353-1"}, "ignore": true},
    {"code": {"system": "http://loinc.org", "code": "8331-1"}, "sign": "temperature", "site": "oral"},
    {"code": {"system": "http://loinc.org", "code": "8310-5"}, "sign": "temperature"},
    {"code": {"system": "http://snomed.info/sct", "code": "8499008"}, "sign": "pulse"},
    {"code": {"system": "http://loinc.org", "code": "85354-9"}, "sign": "blood-pressure",
     "systolic": {"system": "http://loinc.org", "code": "8480-6"},
     "diastolic": {"system": "http://loinc.org", "code": "8462-4"}}],
  "sites": [{"coding": {"system": "http://snomed.info/sct", "code": "74262004"}, "site": "oral"}],
  "absentReasons": [{"coding": {"system": "http://terminology.hl7.org/CodeSystem/data-absent-reason",
                                "code": "not-performed"}, "noteContains": ["外出"], "reason": "out"}],
  "procedures": [{"category": {"system": "http://snomed.info/sct", "code": "387713003"}, "event": "surgery"}],
  "locationTypes": [{"coding": {"system": "http://terminology.hl7.org/CodeSystem/location-physical-type",
                                "code": "bd"}, "part": "bed"}],
  "dischargeDispositions": [{"coding": {"system": "http://terminology.hl7.org/CodeSystem/discharge-disposition",
                                        "code": "exp"}, "event": "death"}]
})";

inline const char* const kBundle = R"({"resourceType": "Bundle", "type": "collection", "entry": [
  {"fullUrl": "urn:uuid:p", "resource": {"resourceType": "Patient", "name": [{"family": "李", "given": ["明"]}],
                                         "gender": "male", "birthDate": "1979-05-02"}},
  {"fullUrl": "urn:uuid:w", "resource": {"resourceType": "Location", "name": "普外科"}},
  {"fullUrl": "urn:uuid:b", "resource": {"resourceType": "Location", "name": "12", "partOf": {"reference": "urn:uuid:w"},
     "physicalType": {"coding": [{"system": "http://terminology.hl7.org/CodeSystem/location-physical-type", "code": "bd"}]}}},
  {"resource": {"resourceType": "Encounter", "subject": {"reference": "urn:uuid:p"},
                "period": {"start": "2024-12-01T10:20:00+08:00", "end": "2024-12-03T14:00:00+08:00"},
                "location": [{"location": {"reference": "urn:uuid:b"}},
                             {"location": {"display": "外科监护室"}, "period": {"start": "2024-12-02T08:00:00+08:00"}}]}},
  {"resource": {"resourceType": "Procedure", "status": "completed", "performedDateTime": "2024-12-02T09:00:00+08:00",
                "category": {"coding": [{"system": "http://snomed.info/sct", "code": "387713003"}]}}},
  {"fullUrl": "urn:uuid:t1", "resource": {"resourceType": "Observation", "status": "final",
     "code": {"coding": [{"system": "http://loinc.org", "code": "8310-5"}]}, "effectiveDateTime": "2024-12-01T14:00:00+08:00",
     "valueQuantity": {"value": 39.4, "system": "http://unitsofmeasure.org", "code": "Cel"}}},
  {"resource": {"resourceType": "Observation", "status": "final", "derivedFrom": [{"reference": "urn:uuid:t1"}],
     "code": {"coding": [{"system": "http://loinc.org", "code": "8310-5"}]}, "effectiveDateTime": "2024-12-01T14:30:00+08:00",
     "valueQuantity": {"value": 38.3, "system": "http://unitsofmeasure.org", "code": "Cel"}}},
  {"resource": {"resourceType": "Observation", "status": "final",
     "code": {"coding": [{"system": "http://loinc.org", "code": "85354-9"}]}, "effectiveDateTime": "2024-12-02T08:00:00+08:00",
     "component": [{"code": {"coding": [{"system": "http://loinc.org", "code": "8480-6"}]}, "valueQuantity": {"value": 120, "system": "http://unitsofmeasure.org", "code": "mm[Hg]"}},
                   {"code": {"coding": [{"system": "http://loinc.org", "code": "8462-4"}]}, "valueQuantity": {"value": 80, "system": "http://unitsofmeasure.org", "code": "mm[Hg]"}}]}},
  {"resource": {"resourceType": "Observation", "status": "final", "note": [{"text": "外出"}],
     "code": {"coding": [{"system": "http://loinc.org", "code": "8310-5"}]}, "effectiveDateTime": "2024-12-02T14:00:00+08:00",
     "dataAbsentReason": {"coding": [{"system": "http://terminology.hl7.org/CodeSystem/data-absent-reason", "code": "not-performed"}]}}}
]})";

// Pages and report of a pagination that succeeded or failed, as they must be.
inline void CheckPagination(const clinical::CReadingsDocument& document, const clinical::CHospitalProfile& profile) {
    for (bool bStrict : {false, true}) {
        clinical::CPagination pagination;
        const bool bOk = clinical::CPaginator::Paginate(document, profile, bStrict, pagination);
        Require(bOk || pagination.m_arrPages.empty(), "a failed pagination kept pages");
        Require(bOk != clinical::HasErrors(pagination.m_arrDiagnostics), "success and errors disagree");
        if (!bOk) continue;
        Require(pagination.m_arrReport.size() ==
                    document.m_arrEvents.size() + document.m_arrReadings.size() + document.m_arrSkipped.size(),
                "the report does not list every input once");
        Require(pagination.m_arrPages.size() <= static_cast<std::size_t>(clinical::kMaxStayDays), "too many pages");
        for (const std::string& strPage : pagination.m_arrPages) {
            std::size_t nStart = 0;
            while (nStart < strPage.size()) {
                const std::size_t nEnd = strPage.find('\n', nStart);
                Require(nEnd != std::string::npos, "a data text line without its line feed");
                const std::string strLine = strPage.substr(nStart, nEnd - nStart);
                Require(strLine.compare(0, 15, "<d vitalsigns=\"") == 0 && strLine.size() >= 17 &&
                            strLine.compare(strLine.size() - 2, 2, "/>") == 0,
                        "a data text line that is no d tag", strLine);
                Require(strLine.find(';') == std::string::npos && strLine.find('\r') == std::string::npos,
                        "a data text line that a reader would cut", strLine);
                nStart = nEnd + 1;
            }
        }
        (void)clinical::FormatReport(pagination.m_arrReport);
    }
}

// Loads one of the embedded texts, which always load.
template <typename T, typename Fn>
T LoadEmbedded(Fn fnLoad) {
    T value;
    std::vector<clinical::CDiagnostic> arrDiagnostics;
    Require(fnLoad(value, arrDiagnostics), "an embedded fuzz companion does not load");
    return value;
}

}  // namespace vitalchart::fuzz
