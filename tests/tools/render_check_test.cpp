// `vitalchart render` runs the checker on its inputs: one line on standard
// error when it would warn, nothing for clean inputs, and with --strict a
// warning is an error that writes no chart.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/command_fixture.h"

namespace vitalchart {
namespace test {
namespace {

class RenderCheckTest : public CommandTest {};

TEST_F(RenderCheckTest, RenderSaysWhatCheckWouldWarnOf) {
    const std::string strChart = ReadFileText(std::string(VITALCHART_TEST_DATA) + "/a4-three-times.xml");
    Write("a4.data", ReadFileText(std::string(VITALCHART_TEST_DATA) + "/a4-three-times.data"));
    Write("a4.xml", strChart);
    std::string strTypo = strChart;
    strTypo.replace(strTypo.find("pen-id=\"temp-line\""), 18, "pen-id=\"tmp-line\"");
    Write("typo.xml", strTypo);
    std::string strTwo = strTypo;
    strTwo.replace(strTwo.find("font-size=\"12\""), 14, "font-szie=\"12\"");
    Write("my chart.xml", strTwo);
    // Two readings of one field: a finding of the readings of a page against
    // one another.
    std::string strTwice = ReadFileText(m_strDir + "/a4.data");
    const std::string strName = "<d vitalsigns=\"姓名\" vitalsignsvalues=\"王芳\" cellindex=\"0\"/>";
    strTwice.replace(strTwice.find(strName), strName.size(), strName + "\n" + strName);
    Write("twice.data", strTwice);
    std::string strEight;
    for (int i = 0; i < 7; ++i) strEight += " --data a4.data";
    strEight += " --data twice.data";
    const std::string strCheck = "vitalchart check typo.xml --data a4.data explains it";
    const struct {
        std::string strArgs;
        int nExit;
        std::string strErr;
        bool bWritten;
        const char* pszOutput = "out.trace";  // the file looked at
        const char* pszTarget = "out.trace";  // the file named
    } rows[] = {
        {"a4.xml --data a4.data", 0, "", true},
        {"typo.xml --data a4.data", 0, "vitalchart: 1 warning; " + strCheck + "\n", true},
        {"typo.xml --data a4.data --strict", 2,
         "vitalchart: 1 warning and --strict: no chart is written; " + strCheck + "\n", false},
        {"typo.xml --data a4.data --strict --disable unknown-pen", 0, "", true},
        {"'my chart.xml' --data a4.data --encoding utf-8 --disable same-column", 0,
         "vitalchart: 2 warnings; vitalchart check 'my chart.xml' --data a4.data --encoding utf-8 --disable "
         "same-column explains them\n",
         true},
        // Pages on two threads: the checker runs beside the drawing.
        {"typo.xml --data a4.data --data a4.data --jobs 2", 0,
         "vitalchart: 1 warning; vitalchart check typo.xml --data a4.data --data a4.data explains it\n", true,
         "out-2.trace"},
        {"typo.xml --data a4.data --data a4.data --jobs 2 --strict", 2,
         "vitalchart: 1 warning and --strict: no chart is written; vitalchart check typo.xml --data a4.data --data "
         "a4.data explains it\n",
         false, "out-1.trace"},
        // A PDF drawn on two threads: the readings are checked beside the merge.
        {"a4.xml" + strEight + " --jobs 2", 0,
         "vitalchart: 1 warning; vitalchart check a4.xml" + strEight + " explains it\n", true, "out.pdf", "out.pdf"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.strArgs);
        for (const char* pszFile : {"/out.trace", "/out-1.trace", "/out-2.trace", "/out.pdf"})
            std::remove((m_strDir + pszFile).c_str());
        const CommandResult r = Run("render " + row.strArgs + " -o " + row.pszTarget);
        EXPECT_EQ(r.nExit, row.nExit);
        EXPECT_EQ(r.strErr, row.strErr);
        EXPECT_EQ(!ReadFileText(m_strDir + "/" + row.pszOutput).empty(), row.bWritten);
    }
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
