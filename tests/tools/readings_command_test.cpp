// Readings and FHIR bundles through the command: paginate's page files and
// report, render's pages, and the findings that stop both or only warn.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tools/command_fixture.h"

namespace {

using Result = vitalchart::test::CommandResult;
using vitalchart::test::ReadFileText;

const std::string kRoot = std::string(VITALCHART_EXAMPLES) + "/..";
const std::string kWeek = kRoot + "/examples/week.readings.json";
const std::string kBundle = kRoot + "/examples/week.fhir.json";
const std::string kAdult = kRoot + "/profiles/adult.json";
const std::string kTemplate = kRoot + "/examples/vitalsign.xml";

class ReadingsCommandTest : public vitalchart::test::CommandTest {
protected:
    bool Exists(const std::string& strName) { return std::ifstream(m_strDir + "/" + strName).good(); }

    // A readings document NAME of a week's stay with the given readings.
    std::string Stay(const std::string& strName, const std::string& strReadings) {
        return Write(strName, R"({"patient": {"name": "测试", "admission": "2024-12-01T08:00:00"},
            "events": [{"kind": "discharge", "time": "2024-12-07T12:00:00"}], "readings": [)" +
                                  strReadings + "]}");
    }
};

TEST_F(ReadingsCommandTest, PaginateWritesThePagesOrNothing) {
    const std::string strOut = " --out-dir '" + m_strDir + "/out'";
    const struct {
        std::string strArgs;
        int nExit;
        const char* pszErr;  // standard error holds it ("" : nothing)
        bool bWritten;
    } kRows[] = {
        {"'" + kWeek + "' --profile '" + kAdult + "'", 0, "", true},
        // The bundle's unknown code and foreign subject only warn, unless --strict.
        {"--fhir '" + kBundle + "' --profile '" + kAdult + "'", 0,
         "week.fhir.json: /entry/24/resource: warning: the mapping table knows none of its codes", true},
        {"--fhir '" + kBundle + "' --map '" + kRoot + "/profiles/fhir-map.json' --profile '" + kAdult + "' --strict", 2,
         "week.fhir.json: /entry/24/resource: the mapping table knows none of its codes", false},
        {"'" + Stay("stay-1.json", R"({"sign": "pulse", "time": "2024-13-01T08:00", "value": 80})") + "' --profile '" +
             kAdult + "'",
         2, "stay-1.json: /readings/0/time: '2024-13-01T08:00' is not a date", false},
        {"'" + Stay("stay-2.json", R"({"sign": "pulse", "time": "2024-11-30T08:00:00", "value": 80})") +
             "' --profile '" + kAdult + "'",
         0, "stay-2.json: /readings/0: warning: outside the stay", true},
        {"'" +
             Stay("stay-3.json",
                  R"({"sign": "temperature", "time": "2024-12-02T08:00:00", "value": 6, "unit": "mmol/L"})") +
             "' --profile '" + kAdult + "' --strict",
         2, "stay-3.json: /readings/0: a value in 'mmol/L' cannot be written in 'Cel'", false},
        {"'" + kWeek + "' --profile '" + Write("p.json", "{\"utcOffset\": 8}") + "'", 2,
         "p.json: /utcOffset: must be a string", false},
        {"'" + kWeek + "' --profile '" + m_strDir + "/none.json'", 2, "cannot read", false},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.strArgs);
        std::system(("rm -rf '" + m_strDir + "/out'").c_str());
        const Result r = Run("paginate " + row.strArgs + strOut);
        EXPECT_EQ(r.nExit, row.nExit);
        EXPECT_NE(r.strErr.find(row.pszErr), std::string::npos) << r.strErr;
        EXPECT_EQ(Exists("out/page-1.data"), row.bWritten);
    }
    Run("paginate '" + kWeek + "' --profile '" + kAdult + "'" + strOut);
    EXPECT_EQ(ReadFileText(m_strDir + "/out/page-1.data"), ReadFileText(kRoot + "/examples/week.data"));
}

TEST_F(ReadingsCommandTest, TheReportSaysWhereEachInputWent) {
    const Result r = Run("paginate --fhir '" + kBundle + "' --profile '" + kAdult + "' --report");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    for (const char* pszLine : {
             "week.fhir.json /entry/5/resource: temperature (axillary) 2024-12-01 10:30:00 -> page 1, column 2, 体温 "
             "\"38.9\"\n",
             "week.fhir.json /entry/21/resource: temperature (rectal) 2024-12-04 02:00:00 -> page 1, column 18, 体温 "
             "\"<35.0\"\n",
             "week.fhir.json /entry/24/resource: Observation 59408-5 2024-12-01T10:30:00+08:00 -> nowhere: the mapping "
             "table knows none of its codes\n",
         }) {
        EXPECT_NE(r.strOut.find(pszLine), std::string::npos) << pszLine << r.strOut;
    }
    // One line an entry of the bundle but the Patient, Locations and Encounter.
    EXPECT_EQ(std::count(r.strOut.begin(), r.strOut.end(), '\n'), 28);
}

TEST_F(ReadingsCommandTest, EveryPageIsWrittenAndRenderedAsDataTextsWouldBe) {
    const std::string strStay = kRoot + "/tests/clinical/data/stay-23.readings.json";
    const std::string strProfile = kRoot + "/profiles/hospital-a.json";
    ASSERT_EQ(Run("paginate '" + strStay + "' --profile '" + strProfile + "'").nExit, 0);
    for (const char* pszPage : {"page-1.data", "page-2.data", "page-3.data", "page-4.data"}) {
        EXPECT_EQ(ReadFileText(m_strDir + "/" + pszPage),
                  ReadFileText(kRoot + "/tests/clinical/golden/stay-23-hospital-a-" + pszPage));
    }
    // A shorter stay in the same folder leaves pages behind: named, never charted unnoticed.
    EXPECT_NE(Run("paginate '" + kWeek + "' --profile '" + kAdult + "'").strErr.find("page-2.data is not one of"),
              std::string::npos);

    // render --readings draws what render --data draws of the same pages.
    const Result pages =
        Run("render '" + kTemplate + "' --readings '" + strStay + "' --profile '" + strProfile + "' -o chart.trace");
    ASSERT_EQ(pages.nExit, 0) << pages.strErr;
    std::string strData;
    for (const char* pszPage : {"1", "2", "3", "4"}) {
        strData += " --data '" + kRoot + "/tests/clinical/golden/stay-23-hospital-a-page-" + pszPage + ".data'";
    }
    ASSERT_EQ(Run("render '" + kTemplate + "'" + strData + " -o data.trace").nExit, 0);
    for (const char* pszPage : {"-1", "-4"}) {
        EXPECT_EQ(ReadFileText(m_strDir + "/chart" + pszPage + ".trace"),
                  ReadFileText(m_strDir + "/data" + pszPage + ".trace"));
    }
    EXPECT_FALSE(Exists("chart-5.trace"));

    // A GBK template takes the pages converted, as it takes a UTF-8 data text.
    const std::string strGbk = kRoot + "/tests/golden/example-gbk.xml";
    const Result gbk = Run("render '" + strGbk + "' --readings '" + kWeek + "' --profile '" + kAdult + "'");
    ASSERT_EQ(gbk.nExit, 0) << gbk.strErr;
    EXPECT_EQ(gbk.strOut, Run("render '" + strGbk + "' --data '" + kRoot + "/examples/week.data'").strOut);
}

TEST_F(ReadingsCommandTest, ABadInputLeavesNoChart) {
    const std::string strBad =
        Stay("stay-4.json", R"({"sign": "pulse", "time": "2024-12-02T08:00:00", "value": true})");
    const Result r =
        Run("render '" + kTemplate + "' --readings '" + strBad + "' --profile '" + kAdult + "' -o chart.pdf");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.strErr.find("stay-4.json: /readings/0/value: must be a number or a string, not a boolean"),
              std::string::npos)
        << r.strErr;
    EXPECT_FALSE(Exists("chart.pdf"));
}

// The FHIR week drawn into a PDF: each value written as text stands in the
// cell of its row and column (millimetres from the chart's top-left, as the
// template places them).
TEST_F(ReadingsCommandTest, FhirValuesStandInTheirColumnsOfThePdf) {
    const Result r = Run("render '" + kTemplate + "' --fhir '" + kBundle + "' --profile '" + kAdult + "' -o week.pdf");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    const std::string strPdf = m_strDir + "/week.pdf";
    const std::string strXml = m_strDir + "/week.xml";
    ASSERT_EQ(std::system(("pdftotext -bbox '" + strPdf + "' '" + strXml + "'").c_str()), 0);
    struct Word {
        std::string strText;
        double dLeft, dTop, dRight, dBottom;
    };
    std::vector<Word> arrWords;
    const std::regex wordRe(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    const std::string strText = ReadFileText(strXml);
    for (std::sregex_iterator it(strText.begin(), strText.end(), wordRe), end; it != end; ++it) {
        auto number = [&](int n) {
            std::istringstream in((*it)[n].str());
            in.imbue(std::locale::classic());
            double d = 0;
            in >> d;
            return d;
        };
        arrWords.push_back({(*it)[5].str(), number(1), number(2), number(3), number(4)});
    }
    // Cells in millimetres: the grid's columns start at 27.5, a day is 19 wide.
    const struct {
        const char* pszWord;
        double dLeft, dTop, dWidth;
    } kCells[] = {
        {"示例医院", 6.3, 0.8, 154.5},       // the hospital's name, from the profile
        {"45岁", 94.2, 14, 18},              // age from the Patient's birth date
        {"12-02", 27.5 + 19, 25.3, 19},      // the date row, day 2
        {"22", 27.5 + 3.2 * 2, 187.2, 3.2},  // respiration, slot 2 of day 1
        {"132/86", 27.5, 192, 9.5},          // blood pressure, the first morning
        {"1800", 27.5, 196.8, 19},           // intake
        {"61.8", 27.5 + 19 * 6, 211, 19},    // weight given in g, written in kg, day 7
        {"1500", 27.5, 215.8, 19},           // urine output
        {"172", 27.5, 220.6, 19},            // height given in inches, written in cm
    };
    const double kPointsPerMm = 72.0 / 25.4;
    const double kSlack = 2.5;  // glyph boxes reach a little beyond the ink
    for (const auto& cell : kCells) {
        SCOPED_TRACE(cell.pszWord);
        bool bFound = false;
        for (const Word& word : arrWords) {
            bFound = bFound || (word.strText == cell.pszWord && word.dLeft >= cell.dLeft * kPointsPerMm - kSlack &&
                                word.dRight <= (cell.dLeft + cell.dWidth) * kPointsPerMm + kSlack &&
                                word.dTop >= cell.dTop * kPointsPerMm - kSlack &&
                                word.dBottom <= (cell.dTop + 5.6) * kPointsPerMm + kSlack);
        }
        EXPECT_TRUE(bFound);
    }
}

}  // namespace
