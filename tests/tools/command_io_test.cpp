// What the command reads and writes besides plain files: pipes, standard
// output, numbered pages.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tools/command_fixture.h"

namespace vitalchart {
namespace test {
namespace {

const char kTemplate[] =
    "<vitalsize width=\"167\" height=\"213\"/>\n"
    "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>\n"
    "<vitalline left=\"+10\" top=\"+10\" right=\"+20\" bottom=\"+10\" pen-id=\"p\"/>\n"
    "<vitaltextout name=\"T\" x=\"+1\" y=\"+1\" cx=\"10\" cy=\"5\"/>\n";

class CommandIoTest : public CommandTest {
protected:
    // Runs a shell command line in the scratch folder: `vitalchart` stands for
    // the command. The exit code; standard error goes to m_strErr.
    int Shell(std::string strLine) {
        const std::string strCli = std::string("'") + VITALCHART_CLI + "'";
        for (std::size_t n = strLine.find("vitalchart"); n != std::string::npos; n = strLine.find("vitalchart", n)) {
            strLine.replace(n, 10, strCli);
            n += strCli.size();
        }
        const std::string strErr = m_strDir + "/shell-stderr";
        const int nStatus = std::system(("cd '" + m_strDir + "' && (" + strLine + ") 2>'" + strErr + "'").c_str());
        m_strErr = ReadFileText(strErr);
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    }
    std::string m_strErr;
};

TEST_F(CommandIoTest, TracePagesGoToNumberedFilesOrOneAfterTheOther) {
    Write("t.xml", kTemplate);
    Write("a.data", "<d vitalsigns=\"T\" vitalsignsvalues=\"first\"/>");
    Write("b.data", "<d vitalsigns=\"T\" vitalsignsvalues=\"second\"/>");
    const CommandResult a = Run("render t.xml --data a.data");
    const CommandResult b = Run("render t.xml --data b.data");
    ASSERT_EQ(a.nExit, 0) << a.strErr;
    ASSERT_NE(a.strOut, b.strOut);

    const CommandResult both = Run("render t.xml --data a.data --data b.data");
    ASSERT_EQ(both.nExit, 0) << both.strErr;
    EXPECT_EQ(both.strOut, a.strOut + b.strOut);

    const CommandResult files = Run("render t.xml --data a.data --data b.data -o pages.trace");
    ASSERT_EQ(files.nExit, 0) << files.strErr;
    EXPECT_EQ(files.strOut, "");
    EXPECT_EQ(ReadFileText(m_strDir + "/pages-1.trace"), a.strOut);
    EXPECT_EQ(ReadFileText(m_strDir + "/pages-2.trace"), b.strOut);
}

TEST_F(CommandIoTest, TemplateFromAPipeIsReadOnce) {
    Write("t.xml", kTemplate);
    EXPECT_EQ(Shell("cat t.xml | vitalchart size /dev/stdin > size.out"), 0) << m_strErr;
    EXPECT_EQ(ReadFileText(m_strDir + "/size.out"), "167 213\n");

    const CommandResult plain = Run("render t.xml");
    ASSERT_EQ(plain.nExit, 0) << plain.strErr;
    EXPECT_EQ(Shell("cat t.xml | vitalchart render /dev/stdin > piped.trace"), 0) << m_strErr;
    EXPECT_EQ(ReadFileText(m_strDir + "/piped.trace"), plain.strOut);
}

TEST_F(CommandIoTest, AFullStandardOutputIsAnError) {
    Write("t.xml", kTemplate);
    const char* const lines[] = {
        "vitalchart size t.xml > /dev/full",
        "vitalchart render t.xml > /dev/full",
        "vitalchart --help > /dev/full",
        "vitalchart --version > /dev/full",
    };
    for (const char* pszLine : lines) {
        SCOPED_TRACE(pszLine);
        EXPECT_EQ(Shell(pszLine), 2);
        EXPECT_EQ(m_strErr, "vitalchart: cannot write to standard output\n");
    }
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
