// The vitalchart command run as a user runs it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/command_fixture.h"

namespace {

using Result = vitalchart::test::CommandResult;
using CliTest = vitalchart::test::CommandTest;

std::string Slurp(const std::string& strPath) {
    return vitalchart::test::ReadFileText(strPath);
}

const char kTemplate[] =
    "<vitalsize width=\"167\" height=\"213\"/>\n"
    "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>\n"
    "<vitalline left=\"+10\" top=\"+10\" right=\"+20\" bottom=\"+10\" pen-id=\"p\"/>\n";

TEST_F(CliTest, SizePrintsTheShortestFloats) {
    Result r = Run("size '" + Write("t.xml", kTemplate) + "'");
    EXPECT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(r.strOut, "167 213\n");
    r = Run("size '" + Write("f.xml", "<vitalsize width=\"0.1\" height=\"12.5\"/>") + "'");
    EXPECT_EQ(r.strOut, "0.1 12.5\n");
    r = Run("size '" + Write("n.xml", "<vitalpen/>\n") + "'");
    EXPECT_EQ(r.nExit, 1);
    EXPECT_EQ(r.strOut, "");
    EXPECT_NE(r.strErr.find("vitalsize"), std::string::npos);
    r = Run("size '" + m_strDir + "/missing.xml'");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.strErr.find("missing.xml"), std::string::npos);
}

TEST_F(CliTest, RenderWritesTheTrace) {
    std::string strTemplate = Write("t.xml", kTemplate);
    Result r = Run("render '" + strTemplate + "'");
    EXPECT_EQ(r.nExit, 0) << r.strErr;
    // The default rectangle starts at the origin: +10 mm is 38 units at 96 dpi.
    EXPECT_NE(r.strOut.find("pen 0 1 #ff0000\nmoveto 38 38\nlineto 76 38\n"), std::string::npos) << r.strOut;

    r = Run("render '" + strTemplate + "' --rect 100,50,700,900 --dpi 192 --format trace -o '" + m_strDir +
            "/out.trace'");
    EXPECT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(r.strOut, "");
    std::string strTrace = Slurp(m_strDir + "/out.trace");
    EXPECT_NE(strTrace.find("pen 0 2 #ff0000\nmoveto 176 126\nlineto 252 126\n"), std::string::npos) << strTrace;

    r = Run("render '" + strTemplate + "' --dpi 192 --scale-x 96/96");
    EXPECT_NE(r.strOut.find("moveto 38 76\n"), std::string::npos) << r.strOut;
}

TEST_F(CliTest, RenderPassesDataPrintFillAndEncoding) {
    std::string strTemplate = Write("t.xml",
                                    "<vitaltextout name=\"R\" x=\"0\" y=\"0\" cx=\"10\" cy=\"10\"/>\n"
                                    "<vitalline left=\"0\" top=\"0\" right=\"1\" bottom=\"1\"/>\n");
    std::string strData =
        Write("d.data", "<d vitalsigns=\"R\" vitalsignsvalues=\"\xcc\xe5\"/><print resume=\"true\"/>");
    Result r = Run("render '" + strTemplate + "' --data '" + strData + "' --print --fill --encoding gbk");
    EXPECT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_NE(r.strOut.find("\"\\xcc\\xe5\""), std::string::npos) << r.strOut;
    EXPECT_EQ(r.strOut.find("fillrect"), std::string::npos);  // printing: no fill
    EXPECT_EQ(r.strOut.find("lineto"), std::string::npos);    // continuation page: no form
    r = Run("render '" + strTemplate + "' --fill");
    EXPECT_NE(r.strOut.find("fillrect 0 0 631 805 #000000"), std::string::npos) << r.strOut;
}

TEST_F(CliTest, ErrorsNameTheProblemAndWriteNoOutput) {
    std::string strTemplate = Write("t.xml", kTemplate);
    std::string strOut = m_strDir + "/never.trace";
    // Eight pages: a PDF drawn on two threads.
    const std::string strPage = " --data '" + Write("p.data", "") + "'";
    std::string strPages;
    for (int i = 0; i < 8; ++i) strPages += strPage;
    struct Row {
        std::string args;
        std::string message;
    } rows[] = {
        {"render '" + m_strDir + "/missing.xml' -o '" + strOut + "'", "missing.xml"},
        {"render '" + strTemplate + "' --data '" + m_strDir + "/none.data' -o '" + strOut + "'", "none.data"},
        {"render '" + strTemplate + "' --frobnicate -o '" + strOut + "'", "--frobnicate"},
        {"render '" + strTemplate + "' --dpi abc -o '" + strOut + "'", "--dpi"},
        {"render '" + strTemplate + "' --dpi 0 -o '" + strOut + "'", "--dpi"},
        {"render '" + strTemplate + "' --scale-x 1/0 -o '" + strOut + "'", "--scale-x"},
        {"render '" + strTemplate + "' --scale-y 2 -o '" + strOut + "'", "--scale-y"},
        {"render '" + strTemplate + "' --rect 1,2,3 -o '" + strOut + "'", "--rect"},
        {"render '" + strTemplate + "' --encoding latin1 -o '" + strOut + "'", "latin1"},
        {"render '" + strTemplate + "' --format bmp -o '" + strOut + "'", "bmp"},
        {"render '" + strTemplate + "' -o", "-o"},
        {"render", "template"},
        {"paint '" + strTemplate + "'", "paint"},
        {"render '" + strTemplate + "' -o '" + m_strDir + "/no/such/dir/x.trace'", "x.trace"},
        {"render '" + strTemplate + "'" + strPages + " --jobs 2 -o '" + m_strDir + "/no/such/dir/x.pdf'", "x.pdf"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        Result res = Run(r.args);
        EXPECT_EQ(res.nExit, 2);
        EXPECT_NE(res.strErr.find(r.message), std::string::npos) << res.strErr;
        EXPECT_EQ(std::count(res.strErr.begin(), res.strErr.end(), '\n'), 1) << res.strErr;
        EXPECT_FALSE(std::ifstream(strOut).good());
    }
}

TEST_F(CliTest, HelpAndVersion) {
    Result r = Run("--help");
    EXPECT_EQ(r.nExit, 0);
    EXPECT_NE(r.strOut.find("usage: vitalchart"), std::string::npos);
    r = Run("render --help");
    EXPECT_EQ(r.nExit, 0);
    EXPECT_NE(r.strOut.find("--scale-x"), std::string::npos);
    r = Run("--version");
    EXPECT_EQ(r.nExit, 0);
    EXPECT_EQ(r.strOut.substr(0, 11), "vitalchart ");
}

TEST_F(CliTest, ServeWithoutItsProgramBesideTheCommandSaysSo) {
    // A copy of the command in a folder with the project's libraries beside
    // it, as in the build tree: the service's program is not there.
    const std::string strCli = VITALCHART_CLI;
    const std::string strCopy = m_strDir + "/vitalchart";
    ASSERT_EQ(std::system(("cp '" + strCli + "' '" + strCopy + "' && ln -s '" + strCli.substr(0, strCli.rfind('/')) +
                           "/lib' '" + m_strDir + "/lib'")
                              .c_str()),
              0);
    const int nStatus = std::system(("'" + strCopy + "' serve --templates . 2>'" + m_strDir + "/err'").c_str());
    EXPECT_EQ(WEXITSTATUS(nStatus), 2);
    EXPECT_NE(Slurp(m_strDir + "/err").find("cannot start " + m_strDir + "/vitalchart-serve"), std::string::npos);
}

}  // namespace

namespace {

bool Exists(const std::string& strPath) {
    return std::ifstream(strPath).good();
}

TEST_F(CliTest, FormatComesFromTheExtensionAndPagesAreNumbered) {
    std::string strTemplate = Write("t.xml", kTemplate);
    std::string strA = Write("a.data", "<d vitalsigns=\"T\" vitalsignsvalues=\"37\"/>");
    std::string strB = Write("b.data", "");
    Result r = Run("render '" + strTemplate + "' -o '" + m_strDir + "/one.png'");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(Slurp(m_strDir + "/one.png").substr(1, 3), "PNG");

    r = Run("render '" + strTemplate + "' --data '" + strA + "' --data '" + strB + "' -o '" + m_strDir + "/chart.png'");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_FALSE(Exists(m_strDir + "/chart.png"));
    EXPECT_EQ(Slurp(m_strDir + "/chart-1.png").substr(1, 3), "PNG");
    EXPECT_EQ(Slurp(m_strDir + "/chart-2.png").substr(1, 3), "PNG");

    r = Run("render '" + strTemplate + "' --data '" + strA + "' --data '" + strB + "' -o '" + m_strDir + "/chart.svg'");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_NE(Slurp(m_strDir + "/chart-2.svg").find("<svg"), std::string::npos);

    // A PDF holds every page in one file.
    r = Run("render '" + strTemplate + "' --data '" + strA + "' --data '" + strB + "' -o '" + m_strDir + "/chart.pdf'");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(Slurp(m_strDir + "/chart.pdf").substr(0, 5), "%PDF-");
    EXPECT_FALSE(Exists(m_strDir + "/chart-1.pdf"));

    r = Run("render '" + strTemplate + "' --format trace -o '" + m_strDir + "/x.png'");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(Slurp(m_strDir + "/x.png").substr(0, 8), "bkmode 1");

    r = Run("render '" + strTemplate + "' -o '" + m_strDir + "/x.bmp'");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.strErr.find("--format"), std::string::npos);
    r = Run("render '" + strTemplate + "' --format png");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.strErr.find("-o"), std::string::npos);
}

TEST_F(CliTest, AFailedRenderLeavesTheExistingOutputUntouched) {
    std::string strTemplate = Write("t.xml", kTemplate);
    std::string strGood = Write("chart.png", "a good chart from yesterday");
    // The page is far too large for an image: the render fails.
    Result r = Run("render '" + strTemplate + "' --rect 0,0,100000,100000 -o '" + strGood + "'");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_EQ(Slurp(strGood), "a good chart from yesterday");
    // Nothing is left behind beside it.
    r = Run("render '" + strTemplate + "' --data '" + m_strDir + "/missing.data' -o '" + strGood + "'");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_EQ(Slurp(strGood), "a good chart from yesterday");
    std::string strListing;
    FILE* pipe = ::popen(("ls -a '" + m_strDir + "'").c_str(), "r");
    char buf[256];
    while (pipe != nullptr && std::fgets(buf, sizeof buf, pipe) != nullptr) strListing += buf;
    if (pipe != nullptr) ::pclose(pipe);
    EXPECT_EQ(strListing.find(".tmp-"), std::string::npos) << strListing;
    // Pages are put in place all or none: the second page's name is taken by
    // a folder, so the first page keeps yesterday's chart.
    const std::string strPage1 = Write("pages-1.png", "page 1 from yesterday");
    ASSERT_EQ(::mkdir((m_strDir + "/pages-2.png").c_str(), 0755), 0);
    Write("two.data", "<d/>\n");
    r = Run("render '" + strTemplate + "' --data '" + m_strDir + "/two.data' --data '" + m_strDir + "/two.data' -o '" +
            m_strDir + "/pages.png'");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_EQ(Slurp(strPage1), "page 1 from yesterday");
}

TEST_F(CliTest, EncodingIsDetectedFromTheInputs) {
    std::string strExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
    std::string strData = std::string(VITALCHART_EXAMPLES) + "/week.data";
    std::string strGbkTemplate = m_strDir + "/gbk.xml";
    std::string strGbkData = m_strDir + "/gbk.data";
    ASSERT_EQ(std::system(("iconv -f UTF-8 -t GBK '" + strExample + "' > '" + strGbkTemplate + "'").c_str()), 0);
    ASSERT_EQ(std::system(("iconv -f UTF-8 -t GBK '" + strData + "' > '" + strGbkData + "'").c_str()), 0);

    Result autoUtf8 = Run("render '" + strExample + "' --data '" + strData + "'");
    Result utf8 = Run("render '" + strExample + "' --data '" + strData + "' --encoding utf-8");
    ASSERT_EQ(autoUtf8.nExit, 0) << autoUtf8.strErr;
    EXPECT_EQ(autoUtf8.strOut, utf8.strOut);

    Result autoGbk = Run("render '" + strGbkTemplate + "' --data '" + strGbkData + "'");
    Result gbk = Run("render '" + strGbkTemplate + "' --data '" + strGbkData + "' --encoding gbk");
    Result wrong = Run("render '" + strGbkTemplate + "' --data '" + strGbkData + "' --encoding utf-8");
    ASSERT_EQ(autoGbk.nExit, 0) << autoGbk.strErr;
    EXPECT_EQ(autoGbk.strOut, gbk.strOut);
    // Vertical captions are cut into characters by the code page, so the wrong one shows.
    EXPECT_NE(gbk.strOut, wrong.strOut);
    // The GBK copy draws the same geometry as the original.
    EXPECT_EQ(std::count(gbk.strOut.begin(), gbk.strOut.end(), '\n'),
              std::count(utf8.strOut.begin(), utf8.strOut.end(), '\n'));
}

}  // namespace
