#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "render/chart_page.h"
#include "render/walk_observer.h"
#include "support/trace_fixture.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

using test::GrepTrace;
using test::RenderTrace;
using test::TraceRun;

const char kPen[] = "<vitalpen id=\"p\" pen-width=\"2\" color=\"255,0,0\"/>\n";
const char kLine[] = "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"p\"/>\n";

std::string Lines(const std::string& strTemplate, bool bPrinting = false, const std::string& strData = "") {
    TraceRun run;
    run.strTemplate = strTemplate;
    run.bPrinting = bPrinting ? 1 : 0;
    run.strData = strData;
    std::string trace = RenderTrace(run);
    return GrepTrace(trace, "pen ") + GrepTrace(trace, "lineto");
}

TEST(TemplateWalkTest, WhichLinesAndTagsAreRead) {
    const std::string kDrawn = "pen 0 2 #ff0000\npen 0 1 #000000\nlineto 8 8\n";
    const std::string kUndeclared = "pen 0 1 #000000\nlineto 8 8\n";
    struct Row {
        const char* name;
        std::string strTemplate;
        std::string expected;
    } rows[] = {
        {"pen then line", std::string(kPen) + kLine, kDrawn},
        {"line before its pen draws with the pen already selected", std::string(kLine) + kPen, kUndeclared},
        {"root element ends its line", "<vitalsign>" + std::string(kPen) + kLine, kUndeclared},
        {"two elements back to back", std::string(kPen).substr(0, sizeof kPen - 2) + kLine, kDrawn},
        {"a blank between elements hides the second", std::string(kPen).substr(0, sizeof kPen - 2) + " " + kLine,
         "pen 0 1 #000000\n"},
        {"indented element is skipped", std::string(kPen) + " " + kLine, "pen 0 1 #000000\n"},
        {"tab-indented element is skipped", std::string(kPen) + "\t" + kLine, "pen 0 1 #000000\n"},
        {"misspelt name is skipped", "<VitalPen id=\"p\" pen-width=\"2\" color=\"255,0,0\"/>\n" + std::string(kLine),
         kUndeclared},
        {"unknown tag hides the rest of its line", "<x/>" + std::string(kPen) + kLine, kUndeclared},
        {"closing pen tag declares nothing", "</vitalpen>\n" + std::string(kLine), kUndeclared},
        {"CRLF line ends", "<vitalpen id=\"p\" pen-width=\"2\" color=\"255,0,0\"/>\r\n" + std::string(kLine), kDrawn},
        {"last line without line feed", std::string(kPen) + std::string(kLine).substr(0, sizeof kLine - 2), kDrawn},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(Lines(r.strTemplate), r.expected);
    }
}

TEST(TemplateWalkTest, OnlySizeAndUnknownElementsDrawNothing) {
    TraceRun run;
    run.strTemplate = "<vitalsign>\n<vitalsize width=\"1\" height=\"2\"/>\n<foo a=\"b\"/>\n</vitalsign>\n";
    EXPECT_EQ(RenderTrace(run),
              "bkmode 1\n"
              "pen 0 1 #000000\n"
              "bkmode 2\n"
              "font \"System\" 16 400 0 0\n"
              "textcolor #000000\n");
}

TEST(TemplateWalkTest, ClosingDrawingTagRunsThePainterWithNoAttributes) {
    // Absent coordinates read as 0: a line of length 0 at the device origin.
    EXPECT_EQ(Lines("</vitalline>\n"), "pen 0 1 #000000\nlineto 0 0\n");
}

TEST(TemplateWalkTest, PrintColourWordIsFalseInAnyCaseOnly) {
    for (const char* value : {"false", "FALSE", "False"}) {
        SCOPED_TRACE(value);
        std::string t = std::string("<vitalsize print-color=\"") + value + "\"/>\n" + kPen + kLine;
        EXPECT_EQ(GrepTrace(Lines(t, true), "pen 0 2"), "pen 0 2 #000000\n");
    }
    for (const char* value : {"no", "0", "", "true"}) {
        SCOPED_TRACE(value);
        std::string t = std::string("<vitalsize print-color=\"") + value + "\"/>\n" + kPen + kLine;
        EXPECT_EQ(GrepTrace(Lines(t, true), "pen 0 2"), "pen 0 2 #ff0000\n");
    }
    // Once cleared, a later vitalsize does not set it again.
    std::string t =
        std::string("<vitalsize print-color=\"false\"/>\n<vitalsize print-color=\"true\"/>\n") + kPen + kLine;
    EXPECT_EQ(GrepTrace(Lines(t, true), "pen 0 2"), "pen 0 2 #000000\n");
}

TEST(TemplateWalkTest, ContinuationPrintingLeavesOutTheFormInPrintOnly) {
    const std::string strTemplate =
        std::string(kPen) + kLine +
        "<vitalfont id=\"f\" font-name=\"A\" font-size=\"10\" text-color=\"0,0,255\"/>\n"
        "<vitaltext text=\"T\" left=\"0\" top=\"0\" right=\"10\" bottom=\"10\" font-id=\"f\"/>\n"
        "<vitaltextout name=\"R\" x=\"0\" y=\"0\" cx=\"10\" cy=\"10\"/>\n";
    const std::string strData = "<d vitalsigns=\"R\" vitalsignsvalues=\"20\"/><print resume=\"true\"/>\n";
    TraceRun run;
    run.strTemplate = strTemplate;
    run.strData = strData;
    run.bPrinting = 1;
    std::string strPrinted = RenderTrace(run);
    EXPECT_EQ(GrepTrace(strPrinted, "lineto"), "");
    EXPECT_EQ(GrepTrace(strPrinted, "drawtext"), "drawtext 0 11 16 27 0x800 \"20\"\n") << strPrinted;
    // The text colour is still reset after the skipped label: saved colour black.
    EXPECT_EQ(GrepTrace(strPrinted, "textcolor"), "textcolor #000000\ntextcolor #000000\n");

    run.bPrinting = 0;
    std::string strScreen = RenderTrace(run);
    EXPECT_EQ(GrepTrace(strScreen, "lineto"), "lineto 8 8\n");
    EXPECT_NE(GrepTrace(strScreen, "drawtext").find("\"T\""), std::string::npos);
}

TEST(TemplateWalkTest, TextColourResetsAfterLabelsButNotAfterTextRows) {
    const std::string strTemplate =
        "<vitalfont id=\"blue\" font-name=\"A\" font-size=\"10\" text-color=\"0,0,255\"/>\n"
        "<vitaltext text=\"T\" left=\"0\" top=\"0\" right=\"10\" bottom=\"10\" font-id=\"blue\"/>\n"
        "<vitaltextout name=\"R\" x=\"0\" y=\"0\" cx=\"10\" cy=\"10\" font-id=\"blue\"/>\n"
        "<vitaltextout name=\"R\" x=\"0\" y=\"0\" cx=\"10\" cy=\"10\"/>\n";
    TraceRun run;
    run.strTemplate = strTemplate;
    run.strData = "<d vitalsigns=\"R\" vitalsignsvalues=\"20\"/>\n";
    std::string trace = RenderTrace(run);
    // Blue for the label, reset, blue for the first row, kept for the second, restored at the end.
    EXPECT_EQ(GrepTrace(trace, "textcolor"),
              "textcolor #0000ff\ntextcolor #000000\ntextcolor #0000ff\ntextcolor #000000\n");
}

// Writes down what the walk tells an observer.
class CWalkLog : public CWalkObserver {
public:
    void BeginElement(const CTemplateScan::Element& element, bool bActs) override {
        m_str += std::to_string(element.nLine) + ":" + std::to_string(element.nColumn) + " " + element.pRule->pszName +
                 (bActs ? "" : " skipped");
    }
    void EndElement() override { m_str += ";"; }
    void PenSelected(std::string_view id) override { m_str += " pen " + std::string(id); }
    void FontSelected(std::string_view id) override { m_str += " font " + std::string(id); }
    std::string m_str;
};

TEST(TemplateWalkTest, AnObserverLearnsEachElementsPlaceAndSelectionsWithoutChangingTheDrawing) {
    // The pen and the line back to back on line 2, an empty line 3, ids
    // selected in another letter case than declared.
    const std::string strTemplate =
        "<vitalsign>\n" + std::string(kPen).substr(0, sizeof kPen - 2) +
        "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"P\"/>\n\n"
        "<vitalfont id=\"f\" font-name=\"A\" font-size=\"10\"/>\n"
        "<vitaltext text=\"T\" left=\"0\" top=\"0\" right=\"9\" bottom=\"9\" font-id=\"F\"/>\n";
    CChartTemplate chartTemplate;
    ASSERT_TRUE(chartTemplate.SetText(strTemplate, "t.xml"));
    const CChartGeometry geometry(RECT{0, 0, 600, 800}, ScalePair{}, ScalePair{});
    struct Row {
        BOOL bPrinting;
        const char* pszData;
        const char* pszLog;
    } rows[] = {
        {0, "", "2:1 vitalpen;2:49 vitalline pen p;4:1 vitalfont;5:1 vitaltext font f;"},
        {1, "<print resume=\"true\"/>", "2:1 vitalpen;2:49 vitalline skipped;4:1 vitalfont;5:1 vitaltext skipped;"},
    };
    for (const Row& r : rows) {
        CRecordingDC plain(CP_UTF8, r.bPrinting);
        CRecordingDC observed(CP_UTF8, r.bPrinting);
        CWalkLog log;
        ASSERT_TRUE(DrawChartPage(&plain, geometry, chartTemplate, r.pszData, 0));
        ASSERT_TRUE(DrawChartPage(&observed, geometry, chartTemplate, r.pszData, 0, &log));
        EXPECT_EQ(log.m_str, r.pszLog);
        EXPECT_EQ(observed.GetTrace(), plain.GetTrace());
    }
}

}  // namespace
}  // namespace vitalchart
