// An A4 chart with three time points a day, as a hospital writes one, in
// Chinese and in English: it checks clean as written, and each usual mistake
// in it is one finding.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/file_text.h"
#include "tools/checker_fixture.h"

namespace vitalchart {
namespace test {
namespace {

std::string Fixture(const std::string& strName) {
    return ReadFileText(std::string(VITALCHART_TEST_DATA) + "/" + strName);
}

// The line (from 1) of the first occurrence of the needle.
int LineOf(const std::string& strText, const std::string& strNeedle) {
    const std::size_t n = strText.find(strNeedle);
    EXPECT_NE(n, std::string::npos) << strNeedle;
    int nLine = 1;
    for (std::size_t i = 0; i < n && i < strText.size(); ++i) nLine += strText[i] == '\n' ? 1 : 0;
    return nLine;
}

// Its columns land on the frame in the renderer's units where their
// millimetres add up past it (21 columns of 8 mm from +33.3 reach 201.3 mm;
// the frame at +200 and the last column both lie at 756 units), its header
// fields and its page number are fields of one cell, not columns of the grid.
TEST(A4ChartCheckTest, ThreeTimesADayChecksCleanInChineseAndEnglish) {
    for (const char* pszName : {"a4-three-times", "a4-three-times-en"}) {
        SCOPED_TRACE(pszName);
        const std::string strTemplate = Fixture(std::string(pszName) + ".xml");
        const std::string strData = Fixture(std::string(pszName) + ".data");
        ASSERT_FALSE(strTemplate.empty());
        ASSERT_FALSE(strData.empty());
        const std::vector<cli::Finding> findings = CheckOf(strTemplate, strData);
        EXPECT_EQ(Summarise(findings, true), std::vector<std::string>{}) << AllMessages(findings);
    }
}

TEST(A4ChartCheckTest, EachMistakeIsOneFinding) {
    const struct {
        const char* pszName;
        bool bTemplate;  // else the data text
        const char* pszFrom;
        const char* pszTo;  // every occurrence in the template, the first in the data
        const char* pszCheck;
        const char* pszAt;  // where the finding points, in the text as changed
        const char* pszMessage;
    } rows[] = {
        {"a font's size misspelt, and every caption in it", true, "font-name=\"宋体\" font-size=\"12\"",
         "font-name=\"宋体\" font-szie=\"12\"", "unknown-attribute", "font-szie",
         "the font 'label' is rejected, so the 17 elements that use it"},
        {"a font id misspelt on every row", true, "font-id=\"cell\"", "font-id=\"cel\"", "unknown-font", "cel\"",
         "this element and 18 more that use it"},
        {"a curve's pen misspelt", true, "pen-id=\"temp-line\"", "pen-id=\"tmp-line\"", "unknown-pen", "tmp-line",
         "did you mean 'temp-line'?"},
        {"a decimal comma", false, "\"38.6\" cellindex=\"7\"", "\"38,6\" cellindex=\"7\"", "number", "38,6",
         "plotted at 38"},
        {"a temperature above the scale", false, "\"37.2\" cellindex=\"0\"", "\"43.2\" cellindex=\"0\"", "off-scale",
         "43.2", "give it a 'max-value'"},
        {"a column past those the curve declares", false, "\"36.7\" cellindex=\"20\"", "\"36.7\" cellindex=\"21\"",
         "column-range", "21\"", "beyond the 21 columns"},
        {"a row's cell past the grid", false, "\"呼吸\" vitalsignsvalues=\"20\" cellindex=\"20\"",
         "\"呼吸\" vitalsignsvalues=\"20\" cellindex=\"21\"", "column-range", "21\"", "lies outside the grid"},
        {"a cooling linked from a value its column lacks", false, "vitalsignsoriginalvalues=\"39.2\"",
         "vitalsignsoriginalvalues=\"39.5\"", "cooling-link", "39.5", "the link starts at an empty point"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        std::string strTemplate = Fixture("a4-three-times.xml");
        std::string strData = Fixture("a4-three-times.data");
        std::string& rChanged = row.bTemplate ? strTemplate : strData;
        const std::string strFrom = row.pszFrom;
        for (std::size_t n = rChanged.find(strFrom); n != std::string::npos;
             n = row.bTemplate ? rChanged.find(strFrom, n) : std::string::npos) {
            rChanged.replace(n, strFrom.size(), row.pszTo);
        }
        ASSERT_NE(rChanged.find(row.pszTo), std::string::npos);
        const int nLine = LineOf(rChanged, row.pszTo);
        const std::vector<cli::Finding> findings = CheckOf(strTemplate, strData);
        EXPECT_EQ(Summarise(findings, true),
                  std::vector<std::string>{
                      At(row.bTemplate ? "T" : "D1", nLine, Col(rChanged, nLine, row.pszAt), row.pszCheck)})
            << AllMessages(findings);
        EXPECT_NE(AllMessages(findings).find(row.pszMessage), std::string::npos) << AllMessages(findings);
    }
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
