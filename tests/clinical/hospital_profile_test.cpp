#include "clinical/hospital_profile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/clinical/clinical_test_support.h"

namespace vitalchart::clinical::test {
namespace {

// Rules a profile must keep for every reading to have one column and one
// row: each broken one in the adult profile gives a finding at its pointer.
TEST(HospitalProfile, BrokenRulesAreFoundAtTheirPointer) {
    const std::string strAdult = ReadFile(SourcePath("profiles/adult.json"));
    const struct {
        const char* pszFrom;
        const char* pszTo;
        const char* pszFinding;
    } kRows[] = {
        {R"("from": "04:00:00")", R"("from": "04:00:01")",
         "/timeSlots/slots/1/from: must be 04:00:00, one second after the previous slot ends"},
        {R"("from": "08:00:00")", R"("from": "07:00:00")", "/timeSlots/slots/2/from: must be 08:00:00"},
        {R"("to": "23:59:59")", R"("to": "23:59:58")", "/timeSlots/slots/5/to: the last slot must end at 23:59:59"},
        {R"("to": "03:59:59")", R"("to": "3:59:59")", "/timeSlots/slots/0/to: '3:59:59' is not a time of day"},
        {R"("utcOffset": "+08:00")", R"("utcOffset": "+8")", "/utcOffset: '+8' is not a UTC offset"},
        {R"("row": "心率", "unit")", R"("row": "心跳", "unit")", "/signs/6/row: '心跳' is not one of the rows"},
        {R"("sign": "pulse", "row": "脉搏", "unit": "/min")", R"("sign": "pulse", "row": "脉搏", "unit": "bpm")",
         "/signs/5/unit: 'bpm' is not a unit vitalchart converts"},
        {R"({"sign": "heart-rate")", R"({"sign": "pulse")",
         "/signs/6: repeats the sign, site and cooling of an earlier row"},
        {R"({"row": "呼吸", "kind": "slot")", R"({"row": "脉搏", "kind": "slot")",
         "/rows/4/row: '脉搏' is listed twice"},
        {R"("kind": "half-day")", R"("kind": "halfday")", "/rows/5/kind: 'halfday' is not one of slot, half-day"},
        {R"("days": 10)", R"("days": 0)", "/daysAfterSurgery/days: '0' is not a whole number from 1 to 366"},
        {R"("numerals": "chinese")", R"("numerals": "roman")", "/events/numerals: 'roman' is not one of"},
        {R"("hospital": "示例医院",)", "",
         "/header/0/field: writes the hospital's name, but the profile gives no 'hospital'"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszTo);
        std::string strProfile = strAdult;
        const std::size_t nAt = strProfile.find(row.pszFrom);
        ASSERT_NE(nAt, std::string::npos);
        strProfile.replace(nAt, std::string(row.pszFrom).size(), row.pszTo);
        CHospitalProfile profile;
        std::vector<CDiagnostic> arrDiagnostics;
        EXPECT_FALSE(profile.LoadProfile(strProfile, "adult.json", arrDiagnostics));
        EXPECT_NE(Findings(arrDiagnostics).find(std::string("adult.json: ") + row.pszFinding), std::string::npos)
            << Findings(arrDiagnostics);
    }
}

}  // namespace
}  // namespace vitalchart::clinical::test
