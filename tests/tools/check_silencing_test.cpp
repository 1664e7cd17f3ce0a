// Findings a user has judged: --disable turns a check off everywhere, and a
// check comment in the template or a data text turns it off for one element
// or the whole file; a comment that silences nothing says so.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/checker_fixture.h"

namespace vitalchart {
namespace test {
namespace {

// A curve bounded below at 35 with no word or pin: a reading of 34 is off its scale.
const std::string kCurve =
    R"(<vitallineout name="T" x="+1" y="+50" cx="3" cy="10" scale="1" base-value="35" symbol="2" min-value="35"/>)"
    "\n";
const std::string kLow = "<d vitalsigns=\"T\" vitalsignsvalues=\"34\" cellindex=\"2\"/>\n";

TEST(CheckSilencingTest, DisabledChecksAndCheckCommentsSilenceFindings) {
    const std::string strOff = "<!-- check: disable off-scale -->\n";
    const struct {
        const char* pszName;
        std::string strTemplate;
        std::string strData;
        std::vector<std::string> disabled;
        std::vector<std::string> expected;
        std::size_t nSilenced;
    } rows[] = {
        {"nothing silenced", kCurve, kLow, {}, {"D1:1:37 off-scale"}, 0},
        {"--disable", kCurve, kLow, {"off-scale"}, {}, 1},
        {"a comment before the curve that draws the reading", strOff + kCurve, kLow, {}, {}, 1},
        {"the same with a blank line and another comment between",
         strOff + "\n<!-- the curve -->\n" + kCurve,
         kLow,
         {},
         {},
         1},
        {"a comment for the whole template, after its elements",
         kCurve + "<!-- check: disable-file off-scale -->\n",
         kLow,
         {},
         {},
         1},
        {"a comment before the reading", kCurve, strOff + kLow, {}, {}, 1},
        {"a comment for the whole data text, indented",
         kCurve,
         kLow + "  <!-- check: disable-file unused-reading, off-scale -->\n",
         {},
         {},
         1},
        {"a comment for another check",
         "<!-- check: disable same-column -->\n" + kCurve,
         kLow,
         {},
         {"D1:1:37 off-scale"},
         0},
        {"a comment before another element",
         strOff + "<vitalsize width=\"100\" height=\"100\"/>\n" + kCurve,
         kLow,
         {},
         {"D1:1:37 off-scale"},
         0},
        {"a misspelt check",
         "<!-- check: disable off-scal -->\n" + kCurve,
         kLow,
         {},
         {"T:1:21 check-comment", "D1:1:37 off-scale"},
         0},
        {"a comment that is no directive",
         "<!-- check: silence off-scale -->\n" + kCurve,
         kLow,
         {},
         {"T:1:13 check-comment", "D1:1:37 off-scale"},
         0},
        {"a comment with nothing after it", kCurve + strOff, kLow, {}, {"T:2:1 check-comment", "D1:1:37 off-scale"}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        std::size_t nSilenced = 99;
        const std::vector<cli::Finding> findings = CheckOf(row.strTemplate, row.strData, row.disabled, &nSilenced);
        EXPECT_EQ(Summarise(findings), row.expected) << AllMessages(findings);
        EXPECT_EQ(nSilenced, row.nSilenced);
    }
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
