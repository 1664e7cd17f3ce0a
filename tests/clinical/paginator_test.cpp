#include "clinical/paginator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/clinical/clinical_test_support.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart::clinical::test {
namespace {

// Compares with tests/clinical/golden/NAME; a mismatch writes NAME.actual
// beside it, to be reviewed and moved over the golden file.
void ExpectGolden(const std::string& strName, const std::string& strActual) {
    const std::string strPath = std::string(VITALCHART_CLINICAL_TESTS) + "/golden/" + strName;
    if (ReadFile(strPath) == strActual) {
        std::remove((strPath + ".actual").c_str());
        return;
    }
    WriteFile(strPath + ".actual", strActual);
    ADD_FAILURE() << strName << " differs: compare " << strPath << " with " << strPath << ".actual";
}

std::string Join(const std::vector<std::string>& arrLines) {
    std::string strOut;
    for (const std::string& strLine : arrLines) strOut += strLine + "\n";
    return strOut;
}

// The values of one row, by column, across every page of a pagination.
std::map<int, std::string> RowOnPages(const CPagination& pagination, const std::string& strRow, int nColumnsPerPage) {
    std::map<int, std::string> mapValues;
    const std::string strPrefix = "<d vitalsigns=\"" + strRow + "\" vitalsignsvalues=\"";
    for (std::size_t nPage = 0; nPage < pagination.m_arrPages.size(); ++nPage) {
        for (const std::string& strLine : Lines(pagination.m_arrPages[nPage])) {
            if (strLine.compare(0, strPrefix.size(), strPrefix) != 0) continue;
            const std::size_t nValueEnd = strLine.find('"', strPrefix.size());
            const std::size_t nCell = strLine.find("cellindex=\"") + 11;
            const int nColumn = std::stoi(strLine.substr(nCell));
            mapValues[static_cast<int>(nPage) * nColumnsPerPage + nColumn] =
                strLine.substr(strPrefix.size(), nValueEnd - strPrefix.size());
        }
    }
    return mapValues;
}

const CReportRow* ReportOf(const CPagination& pagination, const std::string& strPointer) {
    for (const CReportRow& row : pagination.m_arrReport) {
        if (row.m_strPointer == strPointer) return &row;
    }
    return nullptr;
}

TEST(Paginate, StayOverTheYearEndMatchesGoldenPages) {
    const std::string strReadings = ReadFile(std::string(VITALCHART_CLINICAL_TESTS) + "/data/stay-23.readings.json");
    for (const char* pszProfile : {"hospital-a", "hospital-b"}) {
        SCOPED_TRACE(pszProfile);
        CPagination pagination;
        ASSERT_TRUE(PaginateText(strReadings, "stay-23.readings.json", ShippedProfile(pszProfile), false, pagination))
            << Findings(pagination.m_arrDiagnostics);
        ASSERT_EQ(pagination.m_arrPages.size(), 4u);
        for (std::size_t i = 0; i < pagination.m_arrPages.size(); ++i) {
            ExpectGolden(std::string("stay-23-") + pszProfile + "-page-" + std::to_string(i + 1) + ".data",
                         pagination.m_arrPages[i]);
        }
        ExpectGolden(std::string("stay-23-") + pszProfile + ".report",
                     Join(FormatReport(pagination.m_arrReport)) + Findings(pagination.m_arrDiagnostics));
    }
}

TEST(Paginate, ReadingAtASlotEdgeGoesToTheProfilesColumn) {
    // Columns of the second day (6 to 11): 2, 6, 10, 14, 18, 22 o'clock.
    const struct {
        const char* pszProfile;
        const char* pszTime;
        int nColumn;
    } kRows[] = {
        {"adult", "06:00:59", 7},      {"adult", "03:59:59", 6},      {"adult", "04:00:00", 7},
        {"hospital-a", "06:00:59", 6}, {"hospital-a", "06:01:00", 7}, {"hospital-a", "23:59:59", 11},
        {"hospital-b", "06:00:59", 7}, {"hospital-b", "04:00:00", 7}, {"hospital-b", "03:59:59", 6},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::string(row.pszProfile) + " " + row.pszTime);
        const std::string strReadings = StayOfAWeek(std::string(R"({"sign": "temperature", "time": "2024-12-02T)") +
                                                    row.pszTime + R"(", "value": 37.2})");
        CPagination pagination;
        ASSERT_TRUE(PaginateText(strReadings, "edge.json", ShippedProfile(row.pszProfile), true, pagination))
            << Findings(pagination.m_arrDiagnostics);
        const CReportRow* pRow = ReportOf(pagination, "/readings/0");
        ASSERT_NE(pRow, nullptr);
        EXPECT_EQ(pRow->m_nColumn, row.nColumn);
        EXPECT_NE(pagination.m_arrPages[0].find("cellindex=\"" + std::to_string(row.nColumn) + "\""),
                  std::string::npos);
    }
}

TEST(Paginate, DaysAfterSurgeryFollowTheProfilesRuleAcrossASecondOperation) {
    // The stay's 23 days; operations on days 5 and 10 (12-24 and 12-29).
    const struct {
        const char* pszProfile;
        std::vector<std::string> arrDays;
    } kRows[] = {
        {"adult", {"",     "",     "",     "",     "0",    "1",    "2",    "3",     "4", "II-0", "II-1", "II-2",
                   "II-3", "II-4", "II-5", "II-6", "II-7", "II-8", "II-9", "II-10", "",  "",     ""}},
        {"hospital-a",
         {"",     "",     "",     "",     "手术", "1",    "2",    "3",     "4",     "手术",  "II-1", "II-2",
          "II-3", "II-4", "II-5", "II-6", "II-7", "II-8", "II-9", "II-10", "II-11", "II-12", "II-13"}},
        {"hospital-b", {"",  "",  "",  "",  "0", "1", "2", "3", "4", "0/5", "1/6", "2/7",
                        "3", "4", "5", "6", "7", "",  "",  "",  "",  "",    ""}},
    };
    const std::string strReadings = ReadFile(std::string(VITALCHART_CLINICAL_TESTS) + "/data/stay-23.readings.json");
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszProfile);
        CPagination pagination;
        ASSERT_TRUE(
            PaginateText(strReadings, "stay-23.readings.json", ShippedProfile(row.pszProfile), false, pagination));
        const std::map<int, std::string> mapDays = RowOnPages(pagination, "术后天数", 7);
        std::vector<std::string> arrActual(row.arrDays.size());
        for (const auto& [nDay, strText] : mapDays) {
            if (nDay < static_cast<int>(arrActual.size())) arrActual[static_cast<std::size_t>(nDay)] = strText;
        }
        EXPECT_EQ(arrActual, row.arrDays);
    }
}

TEST(Paginate, ReadingsTheChartCannotTakeAreReportedAndWarned) {
    const struct {
        const char* pszReading;
        const char* pszWhy;
    } kRows[] = {
        {R"({"sign": "pulse", "time": "2024-11-30T23:00:00", "value": 80})", "outside the stay"},
        {R"({"sign": "pulse", "time": "2024-12-08T00:00:00+08:00", "value": 80})", "outside the stay"},
        {R"({"sign": "pulse", "time": "2024-12-07T16:00:00Z", "value": 80})", "outside the stay"},
        {R"({"sign": "glucose", "time": "2024-12-02T08:00:00", "value": 6.1})", "no row for 'glucose'"},
        {R"({"sign": "pulse", "time": "2024-12-02", "value": 80})", "gives no time of day"},
        {R"({"sign": "temperature", "time": "2024-12-02T08:00:00", "value": "38,5"})", "'38,5' is not a number"},
        {R"({"sign": "temperature", "time": "2024-12-02T08:00:00", "value": 38.5, "unit": "mmol/L"})",
         "cannot be written in 'Cel'"},
        {R"({"sign": "blood-pressure", "time": "2024-12-02T08:00:00", "value": "120"})", "is not systolic/diastolic"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszReading);
        const std::string strReadings = StayOfAWeek(row.pszReading);
        CPagination pagination;
        ASSERT_TRUE(PaginateText(strReadings, "r.json", ShippedProfile("adult"), false, pagination));
        const CReportRow* pRow = ReportOf(pagination, "/readings/0");
        ASSERT_NE(pRow, nullptr);
        EXPECT_EQ(pRow->m_nPage, 0);
        EXPECT_NE(pRow->m_strNote.find(row.pszWhy), std::string::npos) << pRow->m_strNote;
        EXPECT_NE(Findings(pagination.m_arrDiagnostics).find("r.json: /readings/0: warning: "), std::string::npos);
        // Strict: the same finding is an error and no page is made.
        EXPECT_FALSE(PaginateText(strReadings, "r.json", ShippedProfile("adult"), true, pagination));
        EXPECT_TRUE(pagination.m_arrPages.empty());
        EXPECT_TRUE(HasErrors(pagination.m_arrDiagnostics));
    }
}

TEST(Paginate, ReadingsSharingACellAreKeptAsTheRowSays) {
    // Given out of time order: the temperature row keeps both, earlier first;
    // the blood-pressure row keeps the latest and reports the other.
    const std::string strReadings = StayOfAWeek(
        R"({"sign": "temperature", "time": "2024-12-02T09:30:00", "value": 38.1},
           {"sign": "temperature", "time": "2024-12-02T08:10:00", "value": 38.6},
           {"sign": "blood-pressure", "time": "2024-12-02T09:00:00", "value": "130/85"},
           {"sign": "blood-pressure", "time": "2024-12-02T08:00:00", "value": "120/80"})");
    CPagination pagination;
    ASSERT_TRUE(PaginateText(strReadings, "r.json", ShippedProfile("adult"), true, pagination))
        << Findings(pagination.m_arrDiagnostics);
    const std::string& strPage = pagination.m_arrPages[0];
    const std::size_t nEarlier = strPage.find(R"(vitalsignsvalues="38.6" cellindex="8")");
    const std::size_t nLater = strPage.find(R"(vitalsignsvalues="38.1" cellindex="8")");
    ASSERT_NE(nEarlier, std::string::npos);
    ASSERT_NE(nLater, std::string::npos);
    EXPECT_LT(nEarlier, nLater);
    EXPECT_NE(strPage.find(R"(<d vitalsigns="血压" vitalsignsvalues="130/85" cellindex="2"/>)"), std::string::npos);
    EXPECT_EQ(strPage.find("120/80"), std::string::npos);
    EXPECT_EQ(ReportOf(pagination, "/readings/3")->m_nPage, 0);
}

TEST(Paginate, TheBundledExamplesAreReproducedByteForByte) {
    const struct {
        const char* pszReadings;
        const char* pszProfile;
        const char* pszData;
    } kRows[] = {
        {"week.readings.json", "adult", "week.data"},
        // Age in days (日龄) and the day of life (出生天数) from the birth date; weight in grams.
        {"newborn.readings.json", "newborn", "newborn.data"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszReadings);
        CPagination pagination;
        ASSERT_TRUE(PaginateText(ReadFile(SourcePath(std::string("examples/") + row.pszReadings)), row.pszReadings,
                                 ShippedProfile(row.pszProfile), true, pagination))
            << Findings(pagination.m_arrDiagnostics);
        ASSERT_EQ(pagination.m_arrPages.size(), 1u);
        EXPECT_EQ(pagination.m_arrPages[0], ReadFile(SourcePath(std::string("examples/") + row.pszData)));
    }
}

TEST(Paginate, ACommaDecimalLocaleChangesNothing) {
    const std::string strReadings = ReadFile(SourcePath("examples/week.readings.json"));
    const std::string strPrevious = std::setlocale(LC_ALL, nullptr);
    bool bSet = false;
    for (const char* pszName : {"de_DE.UTF-8", "de_DE.utf8"}) bSet = bSet || std::setlocale(LC_ALL, pszName);
    if (!bSet) GTEST_SKIP() << "no comma-decimal locale installed";
    CPagination pagination;
    const bool bOk = PaginateText(strReadings, "week.readings.json", ShippedProfile("adult"), true, pagination);
    std::setlocale(LC_ALL, strPrevious.c_str());
    ASSERT_TRUE(bOk) << Findings(pagination.m_arrDiagnostics);
    EXPECT_EQ(pagination.m_arrPages[0], ReadFile(SourcePath("examples/week.data")));
}

}  // namespace
}  // namespace vitalchart::clinical::test
