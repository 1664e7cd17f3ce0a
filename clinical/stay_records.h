#pragma once

#include <cstdint>
#include <string>

#include "clinical/clinical_time.h"

namespace vitalchart::clinical {

// What happens to the patient during the stay, as the top band of the grid
// records it.
enum class EEventKind { kAdmission, kTransfer, kSurgery, kDelivery, kDischarge, kDeath };
constexpr int kEventKinds = 6;
// "admission", "transfer", ... as documents and profiles write the kinds.
const char* EventKindName(EEventKind nKind);

// The patient as the chart's header shows them. Texts are as given; the sex
// is a code (male, female, other, unknown) the profile words.
struct CPatient {
    std::string m_strName;
    std::string m_strSex;
    std::string m_strAge;
    bool m_bHasBirthDate = false;
    std::int64_t m_nBirthDay = 0;
    std::string m_strWard;
    std::string m_strBed;
    std::string m_strInpatientNumber;
    CClinicalTime m_admission;
    std::string m_strAdmissionPointer;
};

// One event of the stay; a transfer carries the new ward and bed.
struct CStayEvent {
    EEventKind m_nKind = EEventKind::kAdmission;
    CClinicalTime m_time;
    bool m_bHasWard = false;
    std::string m_strWard;
    bool m_bHasBed = false;
    std::string m_strBed;
    std::string m_strPointer;
};

// One reading as a clinical system holds it: a value as written (a plain
// decimal, "systolic/diastolic" or a word), or the reason it was not taken.
struct CReading {
    std::string m_strPointer;
    std::string m_strId;
    std::string m_strSign;
    std::string m_strSite;
    CClinicalTime m_time;
    bool m_bHasValue = false;
    std::string m_strValue;
    // True when the value came as a JSON number (or from systolic and diastolic numbers).
    bool m_bNumeric = false;
    std::string m_strReason;
    std::string m_strUnit;
    std::string m_strComparator;
    // The id of the reading a cooling re-measurement follows.
    std::string m_strFollows;
    // The chart row and marker flag a mapping table chose (empty, -1: the profile's).
    std::string m_strRow;
    int m_nFlag = -1;
};

// Something of an input that holds no reading the chart can use, kept so the
// report can say why (a FHIR resource with an unknown code, say).
struct CSkippedEntry {
    std::string m_strPointer;
    std::string m_strWhat;
    std::string m_strWhy;
    // A warning (an unknown code, a unit or value that cannot be read) rather
    // than something the input itself marks as not for the chart.
    bool m_bWarning = false;
};

}  // namespace vitalchart::clinical
