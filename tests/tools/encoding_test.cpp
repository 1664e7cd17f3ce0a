// Each input's encoding is found on its own: data texts written in the other
// encoding than the template's are converted with one line on standard
// error, a byte-order mark costs no reading, and a file in neither encoding
// is an error that names it.

#include <gtest/gtest.h>

#include <string>

#include "support/trace_parser.h"
#include "tools/command_fixture.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace test {
namespace {

// The example as it first shipped, whose golden traces the GBK copies share.
const std::string kExample = std::string(VITALCHART_GOLDEN) + "/first-example/vitalsign.xml";
const std::string kWeek = std::string(VITALCHART_GOLDEN) + "/first-example/week.data";
const std::string kGbkExample = std::string(VITALCHART_GOLDEN) + "/example-gbk.xml";
const std::string kGbkWeek = std::string(VITALCHART_GOLDEN) + "/example-gbk.data";

class EncodingTest : public CommandTest {};

TEST_F(EncodingTest, DataTextsAreReadInTheTemplatesEncoding) {
    const std::string strBomWeek = Write("bom.data", "\xEF\xBB\xBF" + ReadFileText(kWeek));
    struct Row {
        const char* pszName;
        std::string strTemplate;
        std::string strData;
        const char* pszGolden;  // the trace it must equal
        const char* pszNote;    // the one line on standard error, or empty
    } rows[] = {
        {"GBK data beside a UTF-8 template", kExample, kGbkWeek, "example-screen-96", "example-gbk.data is GBK"},
        {"UTF-8 data beside a GBK template", kGbkExample, kWeek, "example-gbk-screen-96", "week.data is UTF-8"},
        {"a byte-order mark before the data", kExample, strBomWeek, "example-screen-96", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        const CommandResult result =
            Run("render '" + row.strTemplate + "' --data '" + row.strData + "' --format trace --screen --dpi 96");
        ASSERT_EQ(result.nExit, 0) << result.strErr;
        EXPECT_TRUE(result.strOut == ReadFileText(std::string(VITALCHART_GOLDEN) + "/" + row.pszGolden + ".trace"));
        if (*row.pszNote == '\0') {
            EXPECT_EQ(result.strErr, "");
        } else {
            EXPECT_NE(result.strErr.find(row.pszNote), std::string::npos) << result.strErr;
            EXPECT_EQ(SplitLines(result.strErr).size(), 1u) << result.strErr;
        }
    }
}

TEST_F(EncodingTest, AFileInNeitherEncodingIsAnErrorNamingIt) {
    const std::string strBad = Write("bad.data", "<d vitalsigns=\"\xFF\xFE\" cellindex=\"0\"/>\n");
    for (const char* pszVerb : {"render", "check"}) {
        SCOPED_TRACE(pszVerb);
        const std::string strOutput = std::string(pszVerb) == "render" ? " -o out.png" : "";
        const CommandResult result =
            Run(std::string(pszVerb) + " '" + kExample + "' --data '" + strBad + "'" + strOutput);
        EXPECT_EQ(result.nExit, 2);
        EXPECT_NE(result.strErr.find("bad.data is neither UTF-8 nor GBK"), std::string::npos) << result.strErr;
        EXPECT_TRUE(ReadFileText(m_strDir + "/out.png").empty()) << "an output file was written";
    }
}

TEST_F(EncodingTest, CheckNamesTheMismatchAndPrintsNoForeignBytes) {
    const CommandResult result = Run("check '" + kExample + "' --data '" + kGbkWeek + "'");
    EXPECT_EQ(result.nExit, 1);
    EXPECT_NE(result.strOut.find("example-gbk.data:1:1: warning:"), std::string::npos) << result.strOut;
    EXPECT_NE(result.strOut.find("[encoding-mismatch]"), std::string::npos);
    EXPECT_TRUE(cli::IsValidUtf8(result.strOut));
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
