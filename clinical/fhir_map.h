#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "clinical/diagnostic.h"
#include "clinical/json_value.h"
#include "clinical/stay_records.h"

namespace vitalchart::clinical {

// A code in a code system, as FHIR codings carry it.
struct CCoding {
    std::string m_strSystem;
    std::string m_strCode;
};

// Observation codes (with a body site or method where they matter) to the
// reading they hold. The first rule that matches wins.
struct CObservationRule {
    CCoding m_code;
    bool m_bHasBodySite = false;
    CCoding m_bodySite;
    bool m_bHasMethod = false;
    CCoding m_method;
    // Not charted (a panel whose members are separate observations).
    bool m_bIgnore = false;
    std::string m_strSign;
    std::string m_strSite;
    std::string m_strRow;
    int m_nFlag = -1;
    // Blood pressure: the components' codes.
    bool m_bHasComponents = false;
    CCoding m_systolic;
    CCoding m_diastolic;
};

struct CSiteRule {
    CCoding m_coding;
    std::string m_strSite;
};

// A dataAbsentReason (and words its note may hold) to a reading's reason.
struct CAbsentRule {
    CCoding m_coding;
    std::vector<std::string> m_arrNoteContains;
    std::string m_strReason;
};

// A procedure code or category to the event it marks.
struct CProcedureRule {
    bool m_bCategory = false;
    CCoding m_coding;
    EEventKind m_nEvent = EEventKind::kSurgery;
};

struct CLocationRule {
    CCoding m_coding;
    bool m_bBed = false;
};

struct CDispositionRule {
    CCoding m_coding;
    EEventKind m_nEvent = EEventKind::kDischarge;
};

// The editable table that turns FHIR codes into readings (see
// docs/readings.md and schemas/fhir-map.schema.json). What the program knows
// of codes is only what this table says.
class CFhirMap {
public:
    std::vector<CObservationRule> m_arrObservations;
    std::vector<CSiteRule> m_arrSites;
    std::vector<CAbsentRule> m_arrAbsentReasons;
    std::vector<CProcedureRule> m_arrProcedures;
    std::vector<CLocationRule> m_arrLocationTypes;
    std::vector<CDispositionRule> m_arrDispositions;
    // The identifier system of inpatient numbers; empty takes the encounter's first identifier.
    std::string m_strInpatientNumberSystem;

    // Reads a mapping table from its bytes; strFile names it in messages.
    // Replaces the contents. False, with at least one error, when it cannot be used.
    bool LoadMap(std::string_view bytes, const std::string& strFile, std::vector<CDiagnostic>& rDiagnostics);
};

// True when any coding of the CodeableConcept (or the Coding itself) has the
// system and code.
bool HasCoding(const CJsonValue* pConcept, const CCoding& coding);

}  // namespace vitalchart::clinical
