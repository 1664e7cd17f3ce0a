#include "clinical/fhir_bundle_reader.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

#include "clinical/data_text_writer.h"
#include "clinical/field_reader.h"
#include "clinical/json_value.h"

namespace vitalchart::clinical {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr const char* kUcum = "http://unitsofmeasure.org";

const CJsonValue* Get(const CJsonValue* p, const char* pszKey) {
    return p == nullptr ? nullptr : p->Find(pszKey);
}

std::string Text(const CJsonValue* p) {
    return p != nullptr && p->m_nKind == CJsonValue::kString ? p->m_strText : std::string();
}

// The items of an array member; none when it is absent or no array.
const std::vector<CJsonValue>& Items(const CJsonValue* p, const char* pszKey) {
    static const std::vector<CJsonValue> kEmpty;
    const CJsonValue* pArray = Get(p, pszKey);
    return pArray != nullptr && pArray->m_nKind == CJsonValue::kArray ? pArray->m_arrItems : kEmpty;
}

// The codes of a CodeableConcept, "8310-5, 8331-1", for the report.
std::string Codes(const CJsonValue* pConcept) {
    std::string strOut;
    for (const CJsonValue& coding : Items(pConcept, "coding")) {
        const std::string strCode = Text(Get(&coding, "code"));
        if (!strCode.empty()) strOut += (strOut.empty() ? "" : ", ") + strCode;
    }
    return strOut;
}

struct CEntry {
    const CJsonValue* m_pResource = nullptr;
    std::string m_strType;
    std::string m_strKey;
    std::string m_strPointer;
};

class CBundleWalker {
public:
    CBundleWalker(const std::string& strFile, const CFhirMap& map, CReadingsDocument& rDocument,
                  std::vector<CDiagnostic>& rDiagnostics)
        : m_map(map), m_rDocument(rDocument), m_reader(strFile, rDiagnostics) {}

    bool Run(const CJsonValue& root);

private:
    std::size_t Resolve(const CJsonValue* pReference) const;
    bool ForPatient(const CEntry& entry);
    void Skip(const CEntry& entry, const std::string& strWhat, const std::string& strWhy, bool bWarning) {
        m_rDocument.m_arrSkipped.push_back(CSkippedEntry{entry.m_strPointer, strWhat, strWhy, bWarning});
    }
    bool Time(const CJsonValue* pText, CClinicalTime& rTime) const {
        std::string strWhy;
        return pText != nullptr && pText->m_nKind == CJsonValue::kString &&
               CClinicalTime::Parse(pText->m_strText, rTime, strWhy);
    }
    void ReadPatient(const CEntry& entry);
    bool ReadEncounter(const CEntry& entry);
    void ReadLocations(const CEntry& entry);
    void ReadProcedure(const CEntry& entry);
    void ReadObservation(const CEntry& entry, std::size_t nEntry);
    bool ReadQuantity(const CJsonValue* pQuantity, std::string& rValue, std::string& rUnit, std::string& rWhy) const;
    void LinkDerived();

    const CFhirMap& m_map;
    CReadingsDocument& m_rDocument;
    CFieldReader m_reader;
    std::vector<CEntry> m_arrEntries;
    std::unordered_map<std::string, std::size_t> m_mapReferences;
    std::size_t m_nPatient = kNone;
    // For each entry that became a reading: its index in the document.
    std::unordered_map<std::size_t, std::size_t> m_mapReadingOf;
};

std::size_t CBundleWalker::Resolve(const CJsonValue* pReference) const {
    std::string strReference = Text(Get(pReference, "reference"));
    if (strReference.empty()) return kNone;
    auto it = m_mapReferences.find(strReference);
    if (it != m_mapReferences.end()) return it->second;
    // An absolute URL ending in Type/id.
    const std::size_t nSlash = strReference.rfind('/');
    if (nSlash == std::string::npos || nSlash == 0) return kNone;
    const std::size_t nTypeSlash = strReference.rfind('/', nSlash - 1);
    if (nTypeSlash == std::string::npos) return kNone;
    it = m_mapReferences.find(strReference.substr(nTypeSlash + 1));
    return it == m_mapReferences.end() ? kNone : it->second;
}

// True unless the resource names a subject other than the bundle's patient.
bool CBundleWalker::ForPatient(const CEntry& entry) {
    const CJsonValue* pSubject = Get(entry.m_pResource, "subject");
    if (pSubject == nullptr || m_nPatient == kNone) return true;
    return Resolve(pSubject) == m_nPatient;
}

void CBundleWalker::ReadPatient(const CEntry& entry) {
    CPatient& patient = m_rDocument.m_patient;
    const std::vector<CJsonValue>& arrNames = Items(entry.m_pResource, "name");
    const CJsonValue* pName = arrNames.empty() ? nullptr : &arrNames.front();
    for (const CJsonValue& name : arrNames) {
        if (Text(Get(&name, "use")) == "official") {
            pName = &name;
            break;
        }
    }
    std::string strName = Text(Get(pName, "text"));
    if (strName.empty() && pName != nullptr) {
        // Family name first, as the chart writes it; Chinese names without spaces.
        std::vector<std::string> arrParts;
        if (!Text(Get(pName, "family")).empty()) arrParts.push_back(Text(Get(pName, "family")));
        for (const CJsonValue& given : Items(pName, "given")) {
            if (!Text(&given).empty()) arrParts.push_back(Text(&given));
        }
        bool bAscii = true;
        for (const std::string& strPart : arrParts) {
            for (char c : strPart) bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
        }
        for (const std::string& strPart : arrParts) strName += (strName.empty() || !bAscii ? "" : " ") + strPart;
    }
    if (m_reader.CheckChartText(strName, ChildPointer(entry.m_strPointer, "name"))) patient.m_strName = strName;
    const std::string strGender = Text(Get(entry.m_pResource, "gender"));
    if (strGender == "male" || strGender == "female" || strGender == "other" || strGender == "unknown") {
        patient.m_strSex = strGender;
    }
    CClinicalTime birth;
    if (Time(Get(entry.m_pResource, "birthDate"), birth) && !birth.HasTime()) {
        patient.m_bHasBirthDate = true;
        patient.m_nBirthDay = DayOf(birth.ToLocal(0));
    }
}

bool CBundleWalker::ReadEncounter(const CEntry& entry) {
    const CJsonValue* pPeriod = Get(entry.m_pResource, "period");
    CPatient& patient = m_rDocument.m_patient;
    patient.m_strAdmissionPointer = ChildPointer(ChildPointer(entry.m_strPointer, "period"), "start");
    if (!Time(Get(pPeriod, "start"), patient.m_admission) || !patient.m_admission.HasTime()) {
        m_reader.Error(patient.m_strAdmissionPointer,
                       "the encounter must give its start, the admission, to the minute");
        return false;
    }
    m_rDocument.m_arrEvents.push_back(
        CStayEvent{EEventKind::kAdmission, patient.m_admission, false, "", false, "", patient.m_strAdmissionPointer});
    CClinicalTime end;
    if (Time(Get(pPeriod, "end"), end) && end.HasTime()) {
        EEventKind nKind = EEventKind::kDischarge;
        const CJsonValue* pDisposition = Get(Get(entry.m_pResource, "hospitalization"), "dischargeDisposition");
        for (const CDispositionRule& rule : m_map.m_arrDispositions) {
            if (HasCoding(pDisposition, rule.m_coding)) {
                nKind = rule.m_nEvent;
                break;
            }
        }
        m_rDocument.m_arrEvents.push_back(CStayEvent{nKind, end, false, "", false, "",
                                                     ChildPointer(ChildPointer(entry.m_strPointer, "period"), "end")});
    }
    for (const CJsonValue& identifier : Items(entry.m_pResource, "identifier")) {
        if (m_map.m_strInpatientNumberSystem.empty() ||
            Text(Get(&identifier, "system")) == m_map.m_strInpatientNumberSystem) {
            const std::string strNumber = Text(Get(&identifier, "value"));
            if (m_reader.CheckChartText(strNumber, ChildPointer(entry.m_strPointer, "identifier"))) {
                patient.m_strInpatientNumber = strNumber;
            }
            break;
        }
    }
    ReadLocations(entry);
    return true;
}

// The encounter's locations, grouped by the time each began: the first gives
// the ward and bed of the admission, each later one a transfer.
void CBundleWalker::ReadLocations(const CEntry& entry) {
    struct CPlace {
        CClinicalTime m_start;
        std::string m_strWard;
        std::string m_strBed;
        std::string m_strPointer;
    };
    std::vector<CPlace> arrPlaces;
    // Entries that begin at the same moment (a ward and a bed) make one place.
    std::map<std::int64_t, std::size_t> mapPlaceAt;
    const std::vector<CJsonValue>& arrLocations = Items(entry.m_pResource, "location");
    const std::string strLocations = ChildPointer(entry.m_strPointer, "location");
    const int nOffset = 0;
    for (std::size_t i = 0; i < arrLocations.size(); ++i) {
        const CJsonValue& item = arrLocations[i];
        const std::string strPointer = ChildPointer(strLocations, i);
        CClinicalTime start = m_rDocument.m_patient.m_admission;
        Time(Get(Get(&item, "period"), "start"), start);
        const CJsonValue* pLocation = Get(&item, "location");
        const std::size_t nLocation = Resolve(pLocation);
        std::string strWard;
        std::string strBed;
        if (nLocation != kNone && m_arrEntries[nLocation].m_strType == "Location") {
            const CJsonValue* pResource = m_arrEntries[nLocation].m_pResource;
            bool bBed = false;
            for (const CLocationRule& rule : m_map.m_arrLocationTypes) {
                if (HasCoding(Get(pResource, "physicalType"), rule.m_coding)) {
                    bBed = rule.m_bBed;
                    break;
                }
            }
            if (bBed) {
                strBed = Text(Get(pResource, "name"));
                const std::size_t nParent = Resolve(Get(pResource, "partOf"));
                if (nParent != kNone) strWard = Text(Get(m_arrEntries[nParent].m_pResource, "name"));
            } else {
                strWard = Text(Get(pResource, "name"));
            }
        } else {
            strWard = Text(Get(pLocation, "display"));
        }
        if (!m_reader.CheckChartText(strWard, strPointer) || !m_reader.CheckChartText(strBed, strPointer)) continue;
        auto [it, bNew] = mapPlaceAt.emplace(start.ToLocal(nOffset).count(), arrPlaces.size());
        if (bNew) {
            arrPlaces.push_back(CPlace{start, strWard, strBed, strPointer});
        } else {
            CPlace& place = arrPlaces[it->second];
            if (!strWard.empty()) place.m_strWard = strWard;
            if (!strBed.empty()) place.m_strBed = strBed;
        }
    }
    std::stable_sort(arrPlaces.begin(), arrPlaces.end(), [&](const CPlace& a, const CPlace& b) {
        return a.m_start.ToLocal(nOffset) < b.m_start.ToLocal(nOffset);
    });
    for (std::size_t i = 0; i < arrPlaces.size(); ++i) {
        const CPlace& place = arrPlaces[i];
        if (i == 0 || place.m_start.ToLocal(nOffset) <= m_rDocument.m_patient.m_admission.ToLocal(nOffset)) {
            m_rDocument.m_patient.m_strWard = place.m_strWard;
            m_rDocument.m_patient.m_strBed = place.m_strBed;
            continue;
        }
        m_rDocument.m_arrEvents.push_back(CStayEvent{EEventKind::kTransfer, place.m_start, !place.m_strWard.empty(),
                                                     place.m_strWard, !place.m_strBed.empty(), place.m_strBed,
                                                     place.m_strPointer});
    }
}

void CBundleWalker::ReadProcedure(const CEntry& entry) {
    const CJsonValue* pResource = entry.m_pResource;
    const std::string strWhat = "Procedure " + Codes(Get(pResource, "code"));
    if (!ForPatient(entry)) {
        Skip(entry, strWhat, "belongs to another patient", true);
        return;
    }
    if (Text(Get(pResource, "status")) != "completed") {
        Skip(entry, strWhat, "not completed", false);
        return;
    }
    const CProcedureRule* pRule = nullptr;
    for (const CProcedureRule& rule : m_map.m_arrProcedures) {
        bool bMatch = false;
        if (rule.m_bCategory) {
            bMatch = HasCoding(Get(pResource, "category"), rule.m_coding);
            for (const CJsonValue& category : Items(pResource, "category")) {
                bMatch = bMatch || HasCoding(&category, rule.m_coding);
            }
        } else {
            bMatch = HasCoding(Get(pResource, "code"), rule.m_coding);
        }
        if (bMatch) {
            pRule = &rule;
            break;
        }
    }
    if (pRule == nullptr) {
        Skip(entry, strWhat, "the mapping table marks no event for this procedure", false);
        return;
    }
    CClinicalTime time;
    const CJsonValue* pTime = Get(pResource, "performedDateTime");
    if (pTime == nullptr) pTime = Get(Get(pResource, "performedPeriod"), "start");
    if (!Time(pTime, time) || !time.HasTime()) {
        Skip(entry, strWhat, "gives no time it was performed", true);
        return;
    }
    m_rDocument.m_arrEvents.push_back(CStayEvent{pRule->m_nEvent, time, false, "", false, "", entry.m_strPointer});
}

bool CBundleWalker::ReadQuantity(const CJsonValue* pQuantity, std::string& rValue, std::string& rUnit,
                                 std::string& rWhy) const {
    const CJsonValue* pValue = Get(pQuantity, "value");
    if (pValue == nullptr || pValue->m_nKind != CJsonValue::kNumber) {
        rWhy = "its quantity has no number";
        return false;
    }
    rValue = pValue->m_strText;
    const std::string strSystem = Text(Get(pQuantity, "system"));
    const std::string strCode = Text(Get(pQuantity, "code"));
    if (!strCode.empty() && (strSystem.empty() || strSystem == kUcum)) {
        rUnit = strCode;
    } else if (!strCode.empty() || !Text(Get(pQuantity, "unit")).empty()) {
        rWhy = "its unit is not a UCUM code";
        return false;
    }
    return true;
}

void CBundleWalker::ReadObservation(const CEntry& entry, std::size_t nEntry) {
    const CJsonValue* pResource = entry.m_pResource;
    const CJsonValue* pCode = Get(pResource, "code");
    std::string strWhat = "Observation " + Codes(pCode);
    const CJsonValue* pTime = Get(pResource, "effectiveDateTime");
    if (pTime == nullptr) pTime = Get(pResource, "effectiveInstant");
    if (pTime == nullptr) pTime = Get(Get(pResource, "effectivePeriod"), "start");
    if (!Text(pTime).empty()) strWhat += " " + Text(pTime);
    if (!ForPatient(entry)) {
        Skip(entry, strWhat, "belongs to another patient", true);
        return;
    }
    const std::string strStatus = Text(Get(pResource, "status"));
    if (strStatus != "final" && strStatus != "amended" && strStatus != "corrected" && strStatus != "preliminary") {
        Skip(entry, strWhat, "its status is " + QuoteForMessage(strStatus), false);
        return;
    }
    const CObservationRule* pRule = nullptr;
    for (const CObservationRule& rule : m_map.m_arrObservations) {
        if (HasCoding(pCode, rule.m_code) &&
            (!rule.m_bHasBodySite || HasCoding(Get(pResource, "bodySite"), rule.m_bodySite)) &&
            (!rule.m_bHasMethod || HasCoding(Get(pResource, "method"), rule.m_method))) {
            pRule = &rule;
            break;
        }
    }
    if (pRule == nullptr) {
        // A vital sign the table does not know is a gap in the chart; other
        // observations (laboratory results, say) are simply not charted.
        bool bVitalSign = false;
        for (const CJsonValue& category : Items(pResource, "category")) {
            for (const CJsonValue& coding : Items(&category, "coding")) {
                bVitalSign = bVitalSign || Text(Get(&coding, "code")) == "vital-signs";
            }
        }
        Skip(entry, strWhat,
             bVitalSign ? "the mapping table knows none of its codes" : "not a vital sign the mapping table knows",
             bVitalSign);
        return;
    }
    if (pRule->m_bIgnore) {
        Skip(entry, strWhat, "left out by the mapping table (a panel's members are read on their own)", false);
        return;
    }
    CReading reading;
    reading.m_strPointer = entry.m_strPointer;
    reading.m_strId = entry.m_strKey;
    reading.m_strSign = pRule->m_strSign;
    reading.m_strSite = pRule->m_strSite;
    reading.m_strRow = pRule->m_strRow;
    reading.m_nFlag = pRule->m_nFlag;
    if (reading.m_strSite.empty()) {
        for (const CSiteRule& rule : m_map.m_arrSites) {
            if (HasCoding(Get(pResource, "bodySite"), rule.m_coding) ||
                HasCoding(Get(pResource, "method"), rule.m_coding)) {
                reading.m_strSite = rule.m_strSite;
                break;
            }
        }
    }
    if (!Time(pTime, reading.m_time)) {
        Skip(entry, strWhat, "gives no time it was taken", true);
        return;
    }
    std::string strWhy;
    if (const CJsonValue* pAbsent = Get(pResource, "dataAbsentReason")) {
        std::string strNotes;
        for (const CJsonValue& note : Items(pResource, "note")) strNotes += Text(Get(&note, "text")) + "\n";
        for (const CAbsentRule& rule : m_map.m_arrAbsentReasons) {
            if (!HasCoding(pAbsent, rule.m_coding)) continue;
            bool bNote = rule.m_arrNoteContains.empty();
            for (const std::string& strWord : rule.m_arrNoteContains) {
                bNote = bNote || strNotes.find(strWord) != std::string::npos;
            }
            if (bNote) {
                reading.m_strReason = rule.m_strReason;
                break;
            }
        }
        if (reading.m_strReason.empty()) {
            Skip(entry, strWhat, "the mapping table has no reason for its dataAbsentReason " + Codes(pAbsent), true);
            return;
        }
    } else if (pRule->m_bHasComponents) {
        std::string arrParts[2];
        std::string arrUnits[2];
        const CCoding* arrCodes[2] = {&pRule->m_systolic, &pRule->m_diastolic};
        for (int i = 0; i < 2; ++i) {
            const CJsonValue* pQuantity = nullptr;
            for (const CJsonValue& component : Items(pResource, "component")) {
                if (HasCoding(Get(&component, "code"), *arrCodes[i])) pQuantity = Get(&component, "valueQuantity");
            }
            if (!ReadQuantity(pQuantity, arrParts[i], arrUnits[i], strWhy)) {
                Skip(entry, strWhat, (i == 0 ? "systolic: " : "diastolic: ") + strWhy, true);
                return;
            }
        }
        if (arrUnits[0] != arrUnits[1]) {
            Skip(entry, strWhat, "systolic and diastolic are in different units", true);
            return;
        }
        reading.m_bHasValue = true;
        reading.m_bNumeric = true;
        reading.m_strValue = arrParts[0] + "/" + arrParts[1];
        reading.m_strUnit = arrUnits[0];
    } else if (const CJsonValue* pQuantity = Get(pResource, "valueQuantity")) {
        if (!ReadQuantity(pQuantity, reading.m_strValue, reading.m_strUnit, strWhy)) {
            Skip(entry, strWhat, strWhy, true);
            return;
        }
        const std::string strComparator = Text(Get(pQuantity, "comparator"));
        if (!strComparator.empty() && strComparator != "<" && strComparator != "<=" && strComparator != ">" &&
            strComparator != ">=") {
            Skip(entry, strWhat, "its comparator " + QuoteForMessage(strComparator) + " is not a bound", true);
            return;
        }
        reading.m_strComparator = strComparator;
        reading.m_bHasValue = true;
        reading.m_bNumeric = true;
    } else if (const CJsonValue* pInteger = Get(pResource, "valueInteger");
               pInteger != nullptr && pInteger->m_nKind == CJsonValue::kNumber) {
        reading.m_bHasValue = true;
        reading.m_bNumeric = true;
        reading.m_strValue = pInteger->m_strText;
    } else if (const std::string strValue = Text(Get(pResource, "valueString")); !strValue.empty()) {
        if (!CDataTextWriter::IsSafeText(strValue)) {
            Skip(entry, strWhat, "its text holds a double quote, a semicolon or a control character", true);
            return;
        }
        reading.m_bHasValue = true;
        reading.m_strValue = strValue;
    } else {
        Skip(entry, strWhat, "has no value and no dataAbsentReason", true);
        return;
    }
    m_mapReadingOf[nEntry] = m_rDocument.m_arrReadings.size();
    m_rDocument.m_arrReadings.push_back(std::move(reading));
}

// derivedFrom: a reading taken again from one of the same sign (after
// cooling) follows it; other derivations are no links the chart draws.
void CBundleWalker::LinkDerived() {
    for (const auto& [nEntry, nReading] : m_mapReadingOf) {
        CReading& reading = m_rDocument.m_arrReadings[nReading];
        for (const CJsonValue& reference : Items(m_arrEntries[nEntry].m_pResource, "derivedFrom")) {
            auto it = m_mapReadingOf.find(Resolve(&reference));
            if (it == m_mapReadingOf.end()) continue;
            const CReading& original = m_rDocument.m_arrReadings[it->second];
            if (it->second != nReading && original.m_strSign == reading.m_strSign) {
                reading.m_strFollows = original.m_strId;
                break;
            }
        }
    }
}

bool CBundleWalker::Run(const CJsonValue& root) {
    if (root.m_nKind != CJsonValue::kObject || Text(root.Find("resourceType")) != "Bundle") {
        m_reader.Error("", "is not a FHIR Bundle (resourceType \"Bundle\")");
        return false;
    }
    const CJsonValue* pEntries = root.Find("entry");
    if (pEntries != nullptr && !m_reader.ExpectArray(*pEntries, "/entry")) return false;
    const std::vector<CJsonValue>& arrEntries = Items(&root, "entry");
    for (std::size_t i = 0; i < arrEntries.size(); ++i) {
        CEntry entry;
        entry.m_strPointer = ChildPointer(ChildPointer("/entry", i), "resource");
        entry.m_pResource = Get(&arrEntries[i], "resource");
        if (entry.m_pResource == nullptr || entry.m_pResource->m_nKind != CJsonValue::kObject) {
            m_rDocument.m_arrSkipped.push_back(
                CSkippedEntry{ChildPointer("/entry", i), "entry", "holds no resource", true});
            entry.m_pResource = nullptr;
        } else {
            entry.m_strType = Text(Get(entry.m_pResource, "resourceType"));
            const std::string strId = Text(Get(entry.m_pResource, "id"));
            const std::string strFullUrl = Text(Get(&arrEntries[i], "fullUrl"));
            if (!strId.empty()) m_mapReferences.emplace(entry.m_strType + "/" + strId, i);
            if (!strFullUrl.empty()) m_mapReferences.emplace(strFullUrl, i);
            entry.m_strKey = !strFullUrl.empty() ? strFullUrl
                             : !strId.empty()    ? entry.m_strType + "/" + strId
                                                 : "entry/" + std::to_string(i);
        }
        m_arrEntries.push_back(entry);
    }
    std::size_t nEncounter = kNone;
    for (std::size_t i = 0; i < m_arrEntries.size(); ++i) {
        const CEntry& entry = m_arrEntries[i];
        if (entry.m_strType == "Patient") {
            if (m_nPatient == kNone) {
                m_nPatient = i;
                ReadPatient(entry);
            } else {
                Skip(entry, "Patient", "a second patient; the bundle's first Patient is charted", true);
            }
        }
    }
    for (std::size_t i = 0; i < m_arrEntries.size(); ++i) {
        const CEntry& entry = m_arrEntries[i];
        if (entry.m_strType != "Encounter") continue;
        if (nEncounter != kNone || !ForPatient(entry)) {
            Skip(entry, "Encounter", "another encounter; the first of the patient's is charted", true);
        } else {
            nEncounter = i;
            if (!ReadEncounter(entry)) return false;
        }
    }
    if (nEncounter == kNone) {
        m_reader.Error("/entry", "holds no Encounter, so the admission is unknown");
        return false;
    }
    for (std::size_t i = 0; i < m_arrEntries.size(); ++i) {
        const CEntry& entry = m_arrEntries[i];
        if (entry.m_strType == "Procedure") {
            ReadProcedure(entry);
        } else if (entry.m_strType == "Observation") {
            ReadObservation(entry, i);
        }
    }
    LinkDerived();
    return !m_reader.HasErrors();
}

}  // namespace

bool CFhirBundleReader::ReadBundle(std::string_view bytes, const std::string& strFile, const CFhirMap& map,
                                   CReadingsDocument& rDocument, std::vector<CDiagnostic>& rDiagnostics) {
    rDocument = CReadingsDocument();
    rDocument.m_strFile = strFile;
    CJsonValue root;
    if (!CJsonValue::Parse(bytes, strFile, root, rDiagnostics)) return false;
    CBundleWalker walker(strFile, map, rDocument, rDiagnostics);
    if (!walker.Run(root) || !rDocument.Check(rDiagnostics)) {
        rDocument = CReadingsDocument();
        rDocument.m_strFile = strFile;
        return false;
    }
    return true;
}

}  // namespace vitalchart::clinical
