// Hostile input for each reader: deep nesting, huge numbers, wrong types,
// invalid UTF-8, repeated member names and texts that would break a data
// text. Each must end in a clean finding that names the file and the JSON
// Pointer, never in a crash, a hang or a silently changed document.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/clinical/clinical_test_support.h"

namespace vitalchart::clinical::test {
namespace {

enum EReader { kReadings, kProfile, kBundle, kMap };

struct Outcome {
    bool bLoaded = false;
    // Findings and, for a bundle, the entries it left out, one a line.
    std::string strText;
};

Outcome Load(EReader nReader, const std::string& strBytes) {
    std::vector<CDiagnostic> arrDiagnostics;
    Outcome outcome;
    switch (nReader) {
        case kReadings: {
            CReadingsDocument document;
            outcome.bLoaded = document.LoadReadings(strBytes, "in.json", arrDiagnostics);
            break;
        }
        case kProfile: {
            CHospitalProfile profile;
            outcome.bLoaded = profile.LoadProfile(strBytes, "in.json", arrDiagnostics);
            break;
        }
        case kBundle: {
            CFhirMap map;
            const std::string strMap = ReadFile(SourcePath("profiles/fhir-map.json"));
            EXPECT_TRUE(map.LoadMap(strMap, "fhir-map.json", arrDiagnostics));
            CReadingsDocument document;
            outcome.bLoaded = CFhirBundleReader::ReadBundle(strBytes, "in.json", map, document, arrDiagnostics);
            for (const CSkippedEntry& skipped : document.m_arrSkipped) {
                outcome.strText += skipped.m_strPointer + ": " + skipped.m_strWhy + "\n";
            }
            break;
        }
        case kMap: {
            CFhirMap map;
            outcome.bLoaded = map.LoadMap(strBytes, "in.json", arrDiagnostics);
            break;
        }
    }
    outcome.strText += Findings(arrDiagnostics);
    return outcome;
}

std::string Nested(const std::string& strKey, int nDepth) {
    return "{\"" + strKey + "\": " + std::string(static_cast<std::size_t>(nDepth), '[') +
           std::string(static_cast<std::size_t>(nDepth), ']') + "}";
}

const char* const kBundleHead =
    R"({"resourceType": "Bundle", "entry": [
         {"resource": {"resourceType": "Encounter", "period": {"start": "2024-12-01T08:00:00+08:00"}}},
         {"resource": {"resourceType": "Observation", "status": "final", "effectiveDateTime": "2024-12-01T09:00:00",
                       "code": {"coding": [{"system": "http://loinc.org", "code": "8310-5"}]}, )";

TEST(HostileInput, EachReaderEndsInACleanFinding) {
    const std::string strReadingsHead = R"({"patient": {"name": "甲", "admission": "2024-12-01T08:00:00"}, )";
    const struct {
        EReader nReader;
        const char* pszCase;
        std::string strBytes;
        bool bLoads;
        const char* pszFinding;
    } kRows[] = {
        // Deep nesting: the parser stops at the 64th level.
        {kReadings, "deep", Nested("readings", 100000), false, "in.json: /readings/0/0/0/0"},
        {kProfile, "deep", Nested("rows", 100000), false, "nested deeper than 64 arrays and objects"},
        {kBundle, "deep", Nested("entry", 100000), false, "nested deeper than 64 arrays and objects"},
        {kMap, "deep", Nested("observations", 100000), false, "nested deeper than 64 arrays and objects"},
        // Huge numbers: beyond a double, or a whole number out of its range.
        {kReadings, "huge",
         strReadingsHead + R"("readings": [{"sign": "pulse", "time": "2024-12-01T09:00:00", "value": 1e400}]})", false,
         "in.json: /readings/0/value: '1e400' is too large a number"},
        {kProfile, "huge", R"({"utcOffset": "+08:00", "daysPerPage": 99999999999999999999999})", false,
         "in.json: /daysPerPage: '99999999999999999999999' is not a whole number from 1 to 31"},
        {kBundle, "huge", std::string(kBundleHead) + R"("valueQuantity": {"value": -1e999}}}]})", false,
         "'-1e999' is too large a number"},
        {kMap, "huge",
         R"({"observations": [{"code": {"system": "s", "code": "c"}, "sign": "pulse", "flag": 18446744073709551616}]})",
         false, "in.json: /observations/0/flag: '18446744073709551616' is not a whole number from 0 to 2"},
        // Wrong types.
        {kReadings, "types", strReadingsHead + R"("readings": {"0": {}}})", false,
         "in.json: /readings: must be an array, not an object"},
        {kProfile, "types", R"({"utcOffset": 8, "timeSlots": [], "rows": [], "signs": []})", false,
         "in.json: /utcOffset: must be a string, not a number"},
        {kBundle, "types", std::string(kBundleHead) + R"("valueQuantity": {"value": "38.5"}}}]})", true,
         "/entry/1/resource: its quantity has no number"},
        {kMap, "types", R"({"observations": [{"code": "8310-5", "sign": "temperature"}]})", false,
         "in.json: /observations/0/code: must be an object, not a string"},
        // Invalid UTF-8 in a string.
        {kReadings, "utf-8", "{\"patient\": {\"name\": \"\xC3\x28\"}}", false,
         "in.json: /patient/name: not JSON at line 1, column 24: invalid string: ill-formed UTF-8 byte"},
        {kProfile, "utf-8", "{\"name\": \"\xED\xA0\x80\"}", false, "ill-formed UTF-8 byte"},
        {kBundle, "utf-8", "{\"resourceType\": \"Bundle\", \"id\": \"\xFF\"}", false, "in.json: /id: not JSON"},
        {kMap, "utf-8", "{\"observations\": [\"\xF4\x90\x80\x80\"]}", false, "in.json: /observations/0: not JSON"},
        // Member names given twice: the first value must not silently lose to the last.
        {kReadings, "twice", R"({"patient": {}, "patient": {}})", false,
         "in.json: /patient: member 'patient' is given more than once"},
        {kProfile, "twice", R"({"daysPerPage": 7, "daysPerPage": 1})", false, "member 'daysPerPage' is given more"},
        {kBundle, "twice", R"({"resourceType": "Bundle", "resourceType": "Patient"})", false,
         "in.json: /resourceType: member 'resourceType' is given more than once"},
        {kMap, "twice", R"({"observations": [{"sign": "a", "sign": "b"}]})", false,
         "in.json: /observations/0/sign: member 'sign' is given more than once"},
        // Texts that would end a data text's value or tag early.
        {kReadings, "injection",
         R"({"patient": {"name": "甲\" vitalsigns=\"体温", "admission": "2024-12-01T08:00:00"}, "readings": []})",
         false, "in.json: /patient/name: '甲\" vitalsigns=\"体温' holds a double quote"},
        {kProfile, "injection", R"({"reasons": {"refused": "拒测\n<d vitalsigns=\"体温\""}})", false,
         "in.json: /reasons/refused: "},
        {kBundle, "injection",
         R"({"resourceType": "Bundle", "entry": [{"resource": {"resourceType": "Patient", "name": [{"text": "a;b"}]}}]})",
         false, "in.json: /entry/0/resource/name: 'a;b' holds"},
        // Not JSON at all.
        {kReadings, "empty", "", false, "in.json: not JSON"},
        {kMap, "trailing", R"({"observations": []} x)", false, "not JSON"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::string(row.pszCase) + " for reader " + std::to_string(row.nReader));
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome = Load(row.nReader, row.strBytes);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ(outcome.bLoaded, row.bLoads) << outcome.strText;
        EXPECT_NE(outcome.strText.find(row.pszFinding), std::string::npos) << outcome.strText;
    }
}

}  // namespace
}  // namespace vitalchart::clinical::test
