#include "clinical/fhir_bundle_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/clinical/clinical_test_support.h"

namespace vitalchart::clinical::test {
namespace {

// The bundled week's FHIR bundle, read with the mapping table's text and
// paginated with the adult profile.
CPagination PaginateWeekBundle(const std::string& strMap) {
    std::vector<CDiagnostic> arrDiagnostics;
    CFhirMap map;
    EXPECT_TRUE(map.LoadMap(strMap, "fhir-map.json", arrDiagnostics)) << Findings(arrDiagnostics);
    CReadingsDocument document;
    EXPECT_TRUE(CFhirBundleReader::ReadBundle(ReadFile(SourcePath("examples/week.fhir.json")), "week.fhir.json", map,
                                              document, arrDiagnostics))
        << Findings(arrDiagnostics);
    CPagination pagination;
    EXPECT_TRUE(CPaginator::Paginate(document, ShippedProfile("adult"), false, pagination))
        << Findings(pagination.m_arrDiagnostics);
    return pagination;
}

const CReportRow* ReportOf(const CPagination& pagination, const std::string& strPointer) {
    for (const CReportRow& row : pagination.m_arrReport) {
        if (row.m_strPointer == strPointer) return &row;
    }
    return nullptr;
}

TEST(FhirBundle, EachValueLandsInItsColumn) {
    const CPagination pagination = PaginateWeekBundle(ReadFile(SourcePath("profiles/fhir-map.json")));
    ASSERT_EQ(pagination.m_arrPages.size(), 1u);
    const std::vector<std::string> arrLines = Lines(pagination.m_arrPages[0]);
    const char* const kExpected[] = {
        // Header from the profile, Patient, Encounter and its bed Location (part of the ward).
        R"(<d vitalsigns="医院" vitalsignsvalues="示例医院" cellindex="0"/>)",
        R"(<d vitalsigns="姓名" vitalsignsvalues="李明" cellindex="0"/>)",
        R"(<d vitalsigns="性别" vitalsignsvalues="男" cellindex="0"/>)",
        R"(<d vitalsigns="年龄" vitalsignsvalues="45岁" cellindex="0"/>)",
        R"(<d vitalsigns="入院日期" vitalsignsvalues="2024-12-01" cellindex="0"/>)",
        R"(<d vitalsigns="科别" vitalsignsvalues="普外科" cellindex="0"/>)",
        R"(<d vitalsigns="床号" vitalsignsvalues="12" cellindex="0"/>)",
        R"(<d vitalsigns="住院号" vitalsignsvalues="2024120108" cellindex="0"/>)",
        // Encounter period and the surgical Procedure.
        R"(<d vitalsigns="事件" vitalsignsvalues="入院｜十时二十分" cellindex="2"/>)",
        R"(<d vitalsigns="事件" vitalsignsvalues="手术" cellindex="14"/>)",
        R"(<d vitalsigns="事件" vitalsignsvalues="出院｜十四时" cellindex="39"/>)",
        R"(<d vitalsigns="术后天数" vitalsignsvalues="0" cellindex="2"/>)",
        // Body temperature with an axillary bodySite, a cooling re-measurement by derivedFrom.
        R"(<d vitalsigns="体温" vitalsignsvalues="38.9" cellindex="2"/>)",
        R"(<d vitalsigns="物理降温" vitalsignsvalues="38.3" cellindex="3" vitalsignsoriginalvalues="39.4" originalCellIndex="-1"/>)",
        // Pulse (SNOMED beside LOINC heart rate) and heart rate told apart by the table.
        R"(<d vitalsigns="脉搏" vitalsignsvalues="104" cellindex="2"/>)",
        R"(<d vitalsigns="脉搏" vitalsignsvalues="92" cellindex="7"/>)",
        R"(<d vitalsigns="心率" vitalsignsvalues="118" cellindex="7"/>)",
        R"(<d vitalsigns="呼吸" vitalsignsvalues="22" cellindex="2"/>)",
        // Oral by its own code, rectal by bodySite and by code, Fahrenheit converted, below the scale.
        R"(<d vitalsigns="体温" vitalsignsvalues="37.9" cellindex="7" specialSymbolFlag="1"/>)",
        R"(<d vitalsigns="体温" vitalsignsvalues="37.9" cellindex="16" specialSymbolFlag="2"/>)",
        R"(<d vitalsigns="体温" vitalsignsvalues="38.0" cellindex="17"/>)",
        R"(<d vitalsigns="体温" vitalsignsvalues="35.0" cellindex="18" specialSymbolFlag="2" comparator="<"/>)",
        // dataAbsentReason: asked-declined, and not-performed with a note.
        R"(<d vitalsigns="体温" vitalsignsvalues="" cellindex="8" reason="拒测"/>)",
        R"(<d vitalsigns="体温" vitalsignsvalues="" cellindex="10" reason="外出"/>)",
        // Blood-pressure components, weight in kg and in g, height in inches, intake and urine by day, pain.
        R"(<d vitalsigns="血压" vitalsignsvalues="132/86" cellindex="0"/>)",
        R"(<d vitalsigns="体重" vitalsignsvalues="62.5" cellindex="0"/>)",
        R"(<d vitalsigns="体重" vitalsignsvalues="61.8" cellindex="6"/>)",
        R"(<d vitalsigns="入量" vitalsignsvalues="1800" cellindex="0"/>)",
        R"(<d vitalsigns="尿量" vitalsignsvalues="1500" cellindex="0"/>)",
        R"(<d vitalsigns="身高" vitalsignsvalues="172" cellindex="0"/>)",
        R"(<d vitalsigns="疼痛" vitalsignsvalues="3" cellindex="2"/>)",
    };
    for (const char* pszLine : kExpected) {
        SCOPED_TRACE(pszLine);
        EXPECT_EQ(std::count(arrLines.begin(), arrLines.end(), pszLine), 1);
    }
}

TEST(FhirBundle, WhatIsNotChartedIsReportedWithItsReason) {
    const CPagination pagination = PaginateWeekBundle(ReadFile(SourcePath("profiles/fhir-map.json")));
    const struct {
        const char* pszPointer;
        const char* pszWhy;
        bool bWarning;
    } kRows[] = {
        {"/entry/23/resource", "a panel's members are read on their own", false},
        {"/entry/24/resource", "the mapping table knows none of its codes", true},
        {"/entry/25/resource", "not a vital sign the mapping table knows", false},
        {"/entry/26/resource", "its status is 'entered-in-error'", false},
        {"/entry/27/resource", "belongs to another patient", true},
    };
    const std::string strFindings = Findings(pagination.m_arrDiagnostics);
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszPointer);
        const CReportRow* pRow = ReportOf(pagination, row.pszPointer);
        ASSERT_NE(pRow, nullptr);
        EXPECT_EQ(pRow->m_nPage, 0);
        EXPECT_NE(pRow->m_strNote.find(row.pszWhy), std::string::npos) << pRow->m_strNote;
        EXPECT_EQ(
            strFindings.find(std::string("week.fhir.json: ") + row.pszPointer + ": warning: ") != std::string::npos,
            row.bWarning);
    }
}

TEST(FhirBundle, TheMappingTableAloneTellsPulseFromHeartRate) {
    // Without its SNOMED pulse row, the table reads every LOINC 8867-4 as a heart rate.
    std::string strMap = ReadFile(SourcePath("profiles/fhir-map.json"));
    const std::string strPulseRow =
        R"(    {"code": {"system": "http://snomed.info/sct", "code": "8499008"}, "sign": "pulse"},)"
        "\n";
    const std::size_t nRow = strMap.find(strPulseRow);
    ASSERT_NE(nRow, std::string::npos);
    strMap.erase(nRow, strPulseRow.size());
    const CPagination pagination = PaginateWeekBundle(strMap);
    EXPECT_EQ(ReportOf(pagination, "/entry/6/resource")->m_strRow, "心率");
    EXPECT_EQ(ReportOf(pagination, "/entry/15/resource")->m_nPage, 0);  // SNOMED pulse alone: unknown now
}

}  // namespace
}  // namespace vitalchart::clinical::test
