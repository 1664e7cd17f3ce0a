#include "clinical/fhir_map.h"

#include "clinical/field_reader.h"

namespace vitalchart::clinical {

namespace {

bool ReadCoding(CFieldReader& rReader, const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                CCoding& rCoding, bool bRequired) {
    const CJsonValue* p = rReader.Member(object, strPointer, pszKey, bRequired);
    if (p == nullptr) return false;
    const std::string strHere = ChildPointer(strPointer, pszKey);
    if (!rReader.ExpectObject(*p, strHere, {"system", "code"})) return false;
    const bool bSystem = rReader.ReadString(*p, strHere, "system", rCoding.m_strSystem, true);
    const bool bCode = rReader.ReadString(*p, strHere, "code", rCoding.m_strCode, true);
    return bSystem && bCode;
}

// Each item of the array member through fnRead(item, pointer).
template <typename Fn>
void ForEachItem(CFieldReader& rReader, const CJsonValue& root, const char* pszKey, Fn fnRead) {
    const CJsonValue* p = rReader.Member(root, "", pszKey, false);
    const std::string strPointer = ChildPointer("", pszKey);
    if (p == nullptr || !rReader.ExpectArray(*p, strPointer)) return;
    for (std::size_t i = 0; i < p->m_arrItems.size(); ++i) fnRead(p->m_arrItems[i], ChildPointer(strPointer, i));
}

}  // namespace

bool HasCoding(const CJsonValue* pConcept, const CCoding& coding) {
    if (pConcept == nullptr || pConcept->m_nKind != CJsonValue::kObject) return false;
    auto matches = [&](const CJsonValue& c) {
        const CJsonValue* pSystem = c.Find("system");
        const CJsonValue* pCode = c.Find("code");
        return pSystem != nullptr && pCode != nullptr && pSystem->m_nKind == CJsonValue::kString &&
               pCode->m_nKind == CJsonValue::kString && pSystem->m_strText == coding.m_strSystem &&
               pCode->m_strText == coding.m_strCode;
    };
    if (matches(*pConcept)) return true;
    const CJsonValue* pCodings = pConcept->Find("coding");
    if (pCodings == nullptr || pCodings->m_nKind != CJsonValue::kArray) return false;
    for (const CJsonValue& c : pCodings->m_arrItems) {
        if (c.m_nKind == CJsonValue::kObject && matches(c)) return true;
    }
    return false;
}

bool CFhirMap::LoadMap(std::string_view bytes, const std::string& strFile, std::vector<CDiagnostic>& rDiagnostics) {
    *this = CFhirMap();
    CJsonValue root;
    if (!CJsonValue::Parse(bytes, strFile, root, rDiagnostics)) return false;
    CFieldReader reader(strFile, rDiagnostics);
    if (!reader.ExpectObject(root, "",
                             {"$schema", "observations", "sites", "absentReasons", "procedures", "locationTypes",
                              "dischargeDispositions", "inpatientNumberSystem"})) {
        return false;
    }
    if (reader.Member(root, "", "observations", true) == nullptr) return false;
    int nChoice = 0;
    ForEachItem(reader, root, "observations", [&](const CJsonValue& v, const std::string& strPointer) {
        if (!reader.ExpectObject(
                v, strPointer,
                {"code", "bodySite", "method", "ignore", "sign", "site", "row", "flag", "systolic", "diastolic"})) {
            return;
        }
        CObservationRule rule;
        ReadCoding(reader, v, strPointer, "code", rule.m_code, true);
        rule.m_bHasBodySite = ReadCoding(reader, v, strPointer, "bodySite", rule.m_bodySite, false);
        rule.m_bHasMethod = ReadCoding(reader, v, strPointer, "method", rule.m_method, false);
        reader.ReadBool(v, strPointer, "ignore", rule.m_bIgnore);
        if (!reader.ReadString(v, strPointer, "sign", rule.m_strSign, !rule.m_bIgnore) && !rule.m_bIgnore) return;
        if (reader.ReadChoice(v, strPointer, "site", {"axillary", "oral", "rectal", "ear"}, nChoice)) {
            rule.m_strSite = v.Find("site")->m_strText;
        }
        reader.ReadChartText(v, strPointer, "row", rule.m_strRow);
        reader.ReadInt(v, strPointer, "flag", rule.m_nFlag, 0, 2);
        const bool bSystolic = ReadCoding(reader, v, strPointer, "systolic", rule.m_systolic, false);
        const bool bDiastolic = ReadCoding(reader, v, strPointer, "diastolic", rule.m_diastolic, false);
        if (bSystolic != bDiastolic) reader.Error(strPointer, "gives systolic and diastolic together or neither");
        rule.m_bHasComponents = bSystolic && bDiastolic;
        m_arrObservations.push_back(rule);
    });
    ForEachItem(reader, root, "sites", [&](const CJsonValue& v, const std::string& strPointer) {
        if (!reader.ExpectObject(v, strPointer, {"coding", "site"})) return;
        CSiteRule rule;
        ReadCoding(reader, v, strPointer, "coding", rule.m_coding, true);
        if (reader.ReadChoice(v, strPointer, "site", {"axillary", "oral", "rectal", "ear"}, nChoice, true)) {
            rule.m_strSite = v.Find("site")->m_strText;
        }
        m_arrSites.push_back(rule);
    });
    ForEachItem(reader, root, "absentReasons", [&](const CJsonValue& v, const std::string& strPointer) {
        if (!reader.ExpectObject(v, strPointer, {"coding", "noteContains", "reason"})) return;
        CAbsentRule rule;
        ReadCoding(reader, v, strPointer, "coding", rule.m_coding, true);
        reader.ReadString(v, strPointer, "reason", rule.m_strReason, true);
        if (const CJsonValue* p = reader.Member(v, strPointer, "noteContains", false)) {
            const std::string strWords = ChildPointer(strPointer, "noteContains");
            if (reader.ExpectArray(*p, strWords)) {
                for (std::size_t i = 0; i < p->m_arrItems.size(); ++i) {
                    const CJsonValue& word = p->m_arrItems[i];
                    if (word.m_nKind == CJsonValue::kString && !word.m_strText.empty()) {
                        rule.m_arrNoteContains.push_back(word.m_strText);
                    } else {
                        reader.Error(ChildPointer(strWords, i), "must be a non-empty string");
                    }
                }
            }
        }
        m_arrAbsentReasons.push_back(rule);
    });
    ForEachItem(reader, root, "procedures", [&](const CJsonValue& v, const std::string& strPointer) {
        if (!reader.ExpectObject(v, strPointer, {"code", "category", "event"})) return;
        CProcedureRule rule;
        const bool bCode = ReadCoding(reader, v, strPointer, "code", rule.m_coding, false);
        rule.m_bCategory = ReadCoding(reader, v, strPointer, "category", rule.m_coding, false);
        if (bCode == rule.m_bCategory) reader.Error(strPointer, "gives a code or a category, one of the two");
        if (reader.ReadChoice(v, strPointer, "event", {"surgery", "delivery"}, nChoice, true)) {
            rule.m_nEvent = nChoice == 0 ? EEventKind::kSurgery : EEventKind::kDelivery;
        }
        m_arrProcedures.push_back(rule);
    });
    ForEachItem(reader, root, "locationTypes", [&](const CJsonValue& v, const std::string& strPointer) {
        if (!reader.ExpectObject(v, strPointer, {"coding", "part"})) return;
        CLocationRule rule;
        ReadCoding(reader, v, strPointer, "coding", rule.m_coding, true);
        if (reader.ReadChoice(v, strPointer, "part", {"ward", "bed"}, nChoice, true)) rule.m_bBed = nChoice == 1;
        m_arrLocationTypes.push_back(rule);
    });
    ForEachItem(reader, root, "dischargeDispositions", [&](const CJsonValue& v, const std::string& strPointer) {
        if (!reader.ExpectObject(v, strPointer, {"coding", "event"})) return;
        CDispositionRule rule;
        ReadCoding(reader, v, strPointer, "coding", rule.m_coding, true);
        if (reader.ReadChoice(v, strPointer, "event", {"discharge", "death"}, nChoice, true)) {
            rule.m_nEvent = nChoice == 0 ? EEventKind::kDischarge : EEventKind::kDeath;
        }
        m_arrDispositions.push_back(rule);
    });
    reader.ReadString(root, "", "inpatientNumberSystem", m_strInpatientNumberSystem);
    if (reader.HasErrors()) {
        *this = CFhirMap();
        return false;
    }
    return true;
}

}  // namespace vitalchart::clinical
