// Readings and FHIR bundles through the command: paginate's page files and
// report, render's pages, and the findings that stop both or only warn.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/pdf_words.h"
#include "tools/command_fixture.h"

namespace {

using vitalchart::test::ReadFileText;

const std::string kRoot = std::string(VITALCHART_EXAMPLES) + "/..";
const std::string kWeek = " '" + kRoot + "/examples/week.readings.json'";
const std::string kBundle = " --fhir '" + kRoot + "/examples/week.fhir.json'";
const std::string kAdult = " --profile '" + kRoot + "/profiles/adult.json'";
const std::string kTemplate = " '" + kRoot + "/examples/vitalsign.xml'";

class ReadingsCommandTest : public vitalchart::test::CommandTest {
protected:
    bool Exists(const std::string& strName) { return std::ifstream(m_strDir + "/" + strName).good(); }

    // A readings document NAME: a week's stay with one reading.
    std::string Stay(const std::string& strName, const std::string& strReading) {
        return " '" +
               Write(strName, R"({"patient": {"name": "测试", "admission": "2024-12-01T08:00:00"},
            "events": [{"kind": "discharge", "time": "2024-12-07T12:00:00"}], "readings": [)" +
                                  strReading + "]}") +
               "'";
    }
};

TEST_F(ReadingsCommandTest, WrongInputsStopAndReadingsTheChartCannotTakeWarn) {
    const struct {
        std::string strArgs;
        int nExit;
        const char* pszErr;     // standard error holds it
        const char* pszOutput;  // written exactly when the exit is 0
    } kRows[] = {
        {"paginate" + kBundle + kAdult, 0,
         "week.fhir.json: /entry/24/resource: warning: the mapping table knows none of its codes", "page-1.data"},
        {"paginate" + kBundle + " --map '" + kRoot + "/profiles/fhir-map.json'" + kAdult + " --strict", 2,
         "week.fhir.json: /entry/24/resource: the mapping table knows none of its codes", "page-1.data"},
        {"paginate" + Stay("1.json", R"({"sign": "pulse", "time": "2024-13-01T08:00", "value": 80})") + kAdult, 2,
         "1.json: /readings/0/time: '2024-13-01T08:00' is not a date", "page-1.data"},
        {"paginate" + Stay("2.json", R"({"sign": "pulse", "time": "2024-11-30T08:00:00", "value": 80})") + kAdult, 0,
         "2.json: /readings/0: warning: outside the stay", "page-1.data"},
        {"render" + kTemplate + " --readings" + Stay("3.json", R"({"sign": "pulse", "time": "2024-12-02T08:00:00",
             "value": 6, "unit": "mmol/L"})") +
             kAdult + " --strict -o c.pdf",
         2, "3.json: /readings/0: a value in 'mmol/L' cannot be written in '/min'", "c.pdf"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.strArgs);
        const vitalchart::test::CommandResult r = Run(row.strArgs);
        EXPECT_EQ(r.nExit, row.nExit);
        EXPECT_NE(r.strErr.find(row.pszErr), std::string::npos) << r.strErr;
        EXPECT_EQ(Exists(row.pszOutput), row.nExit == 0);
        std::remove((m_strDir + "/" + row.pszOutput).c_str());
    }
    // The report: a line for each event, each observation and each entry left out.
    const std::string strReport = Run("paginate" + kBundle + kAdult + " --report").strOut;
    EXPECT_NE(strReport.find("week.fhir.json /entry/21/resource: temperature (rectal) 2024-12-04 02:00:00 -> page 1, "
                             "column 18, 体温 \"<35.0\"\n"),
              std::string::npos)
        << strReport;
    EXPECT_EQ(std::count(strReport.begin(), strReport.end(), '\n'), 28);
}

TEST_F(ReadingsCommandTest, EveryPageIsWrittenAndRenderedAsDataTextsWouldBe) {
    const std::string strStay = " '" + kRoot + "/tests/clinical/data/stay-23.readings.json'";
    const std::string strPages = kRoot + "/tests/clinical/golden/stay-23-hospital-a-page-";
    const std::string strProfile = " --profile '" + kRoot + "/profiles/hospital-a.json'";
    ASSERT_EQ(Run("paginate" + strStay + strProfile).nExit, 0);
    std::string strData;
    for (const char* pszPage : {"1", "2", "3", "4"}) {
        EXPECT_EQ(ReadFileText(m_strDir + "/page-" + pszPage + ".data"), ReadFileText(strPages + pszPage + ".data"));
        strData += " --data '" + strPages + pszPage + ".data'";
    }
    // A shorter stay in the same folder leaves pages behind: named, never charted unnoticed.
    EXPECT_NE(Run("paginate" + kWeek + kAdult).strErr.find("page-2.data is not one of"), std::string::npos);
    EXPECT_EQ(ReadFileText(m_strDir + "/page-1.data"), ReadFileText(kRoot + "/examples/week.data"));

    ASSERT_EQ(Run("render" + kTemplate + " --readings" + strStay + strProfile + " -o chart.trace").nExit, 0);
    ASSERT_EQ(Run("render" + kTemplate + strData + " -o data.trace").nExit, 0);
    EXPECT_EQ(ReadFileText(m_strDir + "/chart-4.trace"), ReadFileText(m_strDir + "/data-4.trace"));
    EXPECT_FALSE(Exists("chart-5.trace"));

    // A GBK template takes the pages converted, as it takes a UTF-8 data text.
    const std::string strGbk = " '" + kRoot + "/tests/golden/example-gbk.xml'";
    const vitalchart::test::CommandResult gbk = Run("render" + strGbk + " --readings" + kWeek + kAdult);
    ASSERT_EQ(gbk.nExit, 0) << gbk.strErr;
    EXPECT_EQ(gbk.strOut, Run("render" + strGbk + " --data '" + kRoot + "/examples/week.data'").strOut);
}

// The FHIR week drawn into a PDF: each value written as text stands in the
// cell of its row and column.
TEST_F(ReadingsCommandTest, FhirValuesStandInTheirColumnsOfThePdf) {
    const vitalchart::test::CommandResult r = Run("render" + kTemplate + kBundle + kAdult + " -o week.pdf");
    ASSERT_EQ(r.nExit, 0);
    EXPECT_NE(r.strErr.find("week.fhir.json: /entry/27/resource: warning: belongs to another patient"),
              std::string::npos);
    const auto arrWords = vitalchart::test::PdfWords(m_strDir + "/week.pdf");
    // Cells in millimetres from the chart's top-left: the grid's columns start at 27.5, a day is 19 wide.
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
    for (const auto& cell : kCells) {
        SCOPED_TRACE(cell.pszWord);
        EXPECT_TRUE(vitalchart::test::WordInBox(arrWords, cell.pszWord, 1, cell.dLeft, cell.dTop,
                                                cell.dLeft + cell.dWidth, cell.dTop + 5.6));
    }
}

}  // namespace
