// Render's archival PDF: the chart at full size on a sheet of paper, and a
// PDF/A-2b document that the PDF tools read as one, the same bytes for the
// same inputs.

#include <gtest/gtest.h>

#include <locale>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "support/captured_output.h"
#include "tools/command_fixture.h"

namespace {

using vitalchart::test::CapturedOutput;
using vitalchart::test::ReadFileText;

const std::string kChart =
    " '" + std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml' --data '" + VITALCHART_EXAMPLES + "/week.data'";
constexpr const char* kEpoch = "SOURCE_DATE_EPOCH=1733040000 ";

double Number(const std::string& str) {
    std::istringstream in(str);
    in.imbue(std::locale::classic());
    double d = 0.0;
    in >> d;
    return d;
}

// The heights, in points, of the horizontal lines the grey pen of the fine
// 0.2 degree grid draws on the PDF's page, in drawing order.
std::vector<double> FineGridRows(const std::string& strPdf) {
    const std::string strPlain = CapturedOutput("qpdf --qdf --object-streams=disable '" + strPdf + "' - 2>/dev/null");
    const std::regex lineRe(R"(^([-0-9.]+) ([-0-9.]+) m ([-0-9.]+) ([-0-9.]+) l S)");
    std::vector<double> rows;
    bool bGrey = false;
    std::istringstream in(strPlain);
    std::smatch m;
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.find(" RG") != std::string::npos) bGrey = strLine.rfind("0.666667 0.666667 0.666667 RG", 0) == 0;
        if (bGrey && std::regex_search(strLine, m, lineRe) && m[2] == m[4]) rows.push_back(Number(m[2]));
    }
    return rows;
}

class ArchivePdfTest : public vitalchart::test::CommandTest {
protected:
    std::string Shell(const std::string& strCommand) {
        return CapturedOutput("cd '" + m_strDir + "' && " + strCommand);
    }
};

TEST_F(ArchivePdfTest, OnA4TheChartKeepsItsMillimetres) {
    ASSERT_EQ(Run("render" + kChart + " -o plain.pdf").nExit, 0);
    ASSERT_EQ(Run("render" + kChart + " -o a4.pdf --paper A4").nExit, 0);
    EXPECT_NE(Shell("pdfinfo a4.pdf").find("Page size:       595.32 x 841.92 pts (A4)"), std::string::npos);

    // A 0.2 degree row is 3.2 mm of the template, which the renderer takes in
    // whole 1/96 inch; on paper it keeps exactly those points.
    const double dRow = vitalchart::CChartGeometry::MmToDevice(3.2f) * 72.0 / 96.0;
    const std::vector<double> plain = FineGridRows(m_strDir + "/plain.pdf");
    const std::vector<double> paper = FineGridRows(m_strDir + "/a4.pdf");
    ASSERT_GE(paper.size(), 40u);
    ASSERT_EQ(paper.size(), plain.size());
    for (std::size_t i = 1; i < paper.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(paper[i] - paper[i - 1], dRow, 0.002);
        EXPECT_NEAR(paper[i] - paper[i - 1], plain[i] - plain[i - 1], 0.002);
    }
}

TEST_F(ArchivePdfTest, AChartTooLargeForThePaperIsAnErrorUnlessFit) {
    const vitalchart::test::CommandResult refused = Run("render" + kChart + " -o b5.pdf --paper B5");
    EXPECT_EQ(refused.nExit, 2);
    EXPECT_NE(refused.strErr.find("does not fit on B5"), std::string::npos) << refused.strErr;
    EXPECT_EQ(Shell("ls"), "stderr\nstdout\n");
    ASSERT_EQ(Run("render" + kChart + " -o b5.pdf --paper b5 --fit").nExit, 0);
    EXPECT_NE(Shell("pdfinfo b5.pdf").find("Page size:       498.84 x 708.72 pts"), std::string::npos);
}

TEST_F(ArchivePdfTest, PdfA2bIsIdentifiedEmbedsEveryFontAndIsReproducible) {
    const std::string strArgs = "render" + kChart + " --paper A4 --pdfa 2b --title 'Temperature chart' --author Ward";
    ASSERT_EQ(Run(strArgs + " -o one.pdf").nExit, 0);
    EXPECT_EQ(Shell("qpdf --check one.pdf >/dev/null 2>&1; echo $?"), "0\n");

    const std::string strMeta = Shell("pdfinfo -meta one.pdf");
    EXPECT_NE(strMeta.find("<pdfaid:part>2</pdfaid:part>"), std::string::npos) << strMeta;
    EXPECT_NE(strMeta.find("<pdfaid:conformance>B</pdfaid:conformance>"), std::string::npos);
    EXPECT_NE(strMeta.find("Temperature chart</rdf:li>"), std::string::npos);
    const std::string strInfo = Shell("pdfinfo one.pdf");
    EXPECT_NE(strInfo.find("Title:           Temperature chart"), std::string::npos) << strInfo;
    EXPECT_NE(strInfo.find("Encrypted:       no"), std::string::npos);
    EXPECT_NE(Shell("qpdf --show-object=trailer one.pdf").find("/ID ["), std::string::npos);
    EXPECT_NE(Shell("qpdf --json --json-key=qpdf one.pdf").find("/GTS_PDFA1"), std::string::npos);

    // The font columns end in "emb sub uni object-number generation".
    std::istringstream fonts(Shell("pdffonts one.pdf | tail -n +3"));
    int nFonts = 0;
    for (std::string strLine; std::getline(fonts, strLine); ++nFonts) {
        std::vector<std::string> columns;
        std::istringstream words(strLine);
        for (std::string str; words >> str;) columns.push_back(str);
        ASSERT_GE(columns.size(), 5u) << strLine;
        EXPECT_EQ(columns[columns.size() - 5], "yes") << strLine;
    }
    EXPECT_GT(nFonts, 0);

    ASSERT_EQ(CapturedOutput("cd '" + m_strDir + "' && " + kEpoch + VITALCHART_CLI + " " + strArgs +
                             " -o two.pdf && sleep 1 && " + kEpoch + VITALCHART_CLI + " " + strArgs +
                             " -o three.pdf && pdfinfo two.pdf | grep CreationDate"),
              "CreationDate:    Sun Dec  1 08:00:00 2024 UTC\n");
    EXPECT_EQ(ReadFileText(m_strDir + "/two.pdf"), ReadFileText(m_strDir + "/three.pdf"));
}

TEST_F(ArchivePdfTest, FinishingOptionsAreForPdfOnly) {
    const vitalchart::test::CommandResult r = Run("render" + kChart + " -o a.png --pdfa 2b");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.strErr.find("are for PDF output, not png"), std::string::npos) << r.strErr;
    EXPECT_EQ(Run("render" + kChart + " -o a.pdf --pdfa 1b").nExit, 2);
}

}  // namespace
