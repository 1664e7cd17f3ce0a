// The checker's findings, each shown against what the renderer really draws.

#include "tools/template_checker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "markup/byte_buffer.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "render/element_grammar.h"
#include "render/keyword_table.h"
#include "support/trace_fixture.h"
#include "tools/check_command.h"
#include "tools/checker_fixture.h"
#include "vitalchart/plugin.h"

namespace vitalchart {
namespace {

using cli::CTemplateChecker;
using cli::Finding;

using test::AllMessages;
using test::At;
using test::CheckOf;
using test::Col;
using test::Summarise;

std::string Trace(const std::string& strTemplate, const std::string& strData, BOOL bPrinting = 0, int nLeft = 0) {
    test::TraceRun run;
    run.strTemplate = strTemplate;
    run.strData = strData;
    run.bPrinting = bPrinting;
    run.nLeft = nLeft;
    run.nRight = 600 + nLeft;
    return test::RenderTrace(run);
}

const std::string kLine = R"(<vitalline left="+1" top="+1" right="+9" bottom="+9"/>)";
const std::string kLine2 = R"(<vitalline left="+2" top="+2" right="+8" bottom="+8"/>)";
const std::string kBox = R"(left="+1" top="+1" right="20" bottom="5")";
const std::string kFont = R"(<vitalfont id="f" font-name="Serif" font-size="12"/>)";
const std::string kCurve =
    R"(<vitallineout name="T" x="+1" y="+50" cx="3" cy="10" scale="1" base-value="35" symbol="2"/>)"
    "\n";
const std::string kTwo =
    "<d vitalsigns=\"T\" vitalsignsvalues=\"36\" cellindex=\"0\"/>\n"
    "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"1\"/>\n";

// A line with one flaw: what the checker says about it, a text that the
// renderer draws the same way (the message's claim), and what the author
// meant, which checks clean and draws differently.
struct FlawCase {
    const char* pszName;
    std::string strTemplate;
    std::string strData;
    std::vector<std::string> expected;
    std::optional<std::pair<std::string, std::string>> same;   // template and data that draw the same
    std::optional<std::pair<std::string, std::string>> fixed;  // template and data as meant
    const char* pszMessage = "";                               // a part of the messages, when it matters
    BOOL bPrinting = 0;
    int nLeft = 0;
};

std::vector<FlawCase> FlawCases() {
    std::vector<FlawCase> cases;
    auto add = [&](FlawCase c) { cases.push_back(std::move(c)); };
    using P = std::pair<std::string, std::string>;

    // Lines and tags the renderer skips.
    add({"text before the tag", "x " + kLine, "", {"T:1:1 not-a-tag"}, P{"", ""}, P{kLine, ""}});
    add({"indented tag", "\t" + kLine, "", {"T:1:2 indented-tag"}, P{"", ""}, P{kLine, ""}});
    add({"misspelt element",
         "<VitalLine" + kLine.substr(10),
         "",
         {"T:1:1 unknown-element"},
         P{"", ""},
         P{kLine, ""},
         "did you mean 'vitalline'?"});
    add({"root with a tag after it",
         "<vitalsign>" + kLine,
         "",
         {"T:1:12 rest-of-line"},
         P{"<vitalsign>", ""},
         P{"<vitalsign>\n" + kLine, ""}});
    add({"tag after an unknown tag",
         "<foo/>" + kLine,
         "",
         {"T:1:1 unknown-element", "T:1:7 rest-of-line"},
         P{"", ""},
         P{kLine, ""}});
    add({"blank between tags",
         kLine + " " + kLine2,
         "",
         {At("T", 1, static_cast<int>(kLine.size()) + 2, "blank-between-tags")},
         P{kLine, ""},
         P{kLine + kLine2, ""}});
    add({"tag after a comment",
         "<!-- grid -->" + kLine,
         "",
         {"T:1:14 rest-of-line"},
         P{"", ""},
         P{"<!-- grid -->\n" + kLine, ""}});
    add({"element inside a comment over lines",
         "<!-- old\n" + kLine + "\n-->\n",
         "",
         {"T:2:1 element-in-comment"},
         P{kLine, ""},
         P{"<!-- old " + kLine + " -->\n", ""}});
    add({"first byte stands for the bracket",
         "[" + kLine.substr(1),
         "",
         {"T:1:1 note first-byte"},
         P{kLine, ""},
         std::nullopt});

    // What the scanner cuts or misreads.
    const std::string strSplit = "<vitalline left=\"+1\" top=\"+1\"\n right=\"+9\" bottom=\"+9\"/>\n";
    add({"tag cut by the end of its line",
         strSplit,
         "",
         {"T:1:1 unclosed-tag", "T:1:1 missing-coordinate", "T:2:1 not-a-tag"},
         P{"<vitalline left=\"+1\" top=\"+1\"/>", ""},
         P{kLine, ""}});
    add({"value cut at a semicolon",
         "<vitaltext text=\"a;b\" " + kBox + "/>",
         "",
         {"T:1:1 missing-coordinate", "T:1:19 semicolon"},
         P{"<vitaltext text=\"a\"/>", ""},
         P{"<vitaltext text=\"a,b\" " + kBox + "/>", ""},
         "losing 'left', 'top', 'right' and 'bottom'"});
    const std::string strLong =
        "<vitalline" + kLine.substr(10, kLine.size() - 12) + " " + std::string(32, 'a') + "=\"1\"/>";
    add({"attribute name over 31 bytes",
         strLong,
         "",
         {At("T", 1, Col(strLong, 1, "aaa"), "long-name")},
         P{kLine, ""},
         std::nullopt});
    const std::string strUnquoted = "<vitalline left=+1 top=\"+1\" right=\"+9\" bottom=\"+9\"/>";
    add({"value without its quote",
         strUnquoted,
         "",
         {"T:1:1 missing-coordinate", "T:1:17 unquoted-value"},
         P{"<vitalline left=\"1\"/>", ""},
         P{kLine, ""}});
    const std::string strRepeated = kLine.substr(0, kLine.size() - 2) + " left=\"+5\"/>";
    add({"repeated attribute",
         strRepeated,
         "",
         {At("T", 1, Col(strRepeated, 1, "left=\"+5"), "repeated-attribute")},
         P{R"(<vitalline left="+5" top="+1" right="+9" bottom="+9"/>)", ""},
         P{kLine, ""}});

    // Attributes no element reads.
    const std::string strUse = "\n" + kLine.substr(0, kLine.size() - 2) + " pen-id=\"p\"/>";
    const std::string strColor = "<vitalpen id=\"p\" pen-width=\"1\" Color=\"255,0,0\"/>" + strUse;
    add({"attribute in the wrong case",
         strColor,
         "",
         {At("T", 1, Col(strColor, 1, "Color"), "unknown-attribute")},
         P{"<vitalpen id=\"p\" pen-width=\"1\"/>" + strUse, ""},
         P{"<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>" + strUse, ""},
         "did you mean 'color'?"});
    const std::string strCaption = "\n<vitaltext text=\"x\" " + kBox + " font-id=\"f\"/>";
    const std::string strItalic = kFont.substr(0, kFont.size() - 2) + " font-italic=\"true\"/>" + strCaption;
    add({"italic under its natural name",
         strItalic,
         "",
         {At("T", 1, Col(strItalic, 1, "font-italic"), "unknown-attribute")},
         P{kFont + strCaption, ""},
         P{kFont.substr(0, kFont.size() - 2) + " font-inital=\"true\"/>" + strCaption, ""},
         "did you mean 'font-inital'?"});

    // Pens and fonts.
    const std::string strNoId = "<vitalfont idd=\"f\" font-name=\"Serif\" font-size=\"12\"/>" + strCaption;
    add({"font id misspelt: one finding for the font and the caption that uses it",
         strNoId,
         "",
         {At("T", 1, Col(strNoId, 1, "idd"), "unknown-attribute")},
         P{strCaption.substr(1), ""},
         P{kFont + strCaption, ""},
         "without 'id' the font 'f' is rejected, so the element on line 2 that uses it writes with the font"});
    const std::string strRejected = "<vitalpen id=\"p\" color=\"255,0,0\"/>" + strUse;
    add({"pen without its width",
         strRejected,
         "",
         // One finding for the rejected pen and the element left without it.
         {"T:1:1 missing-required"},
         P{kLine, ""},
         P{"<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>" + strUse, ""},
         "the element on line 2 that uses it draws with the pen already selected"});
    const std::string strLater = strUse.substr(1) + "\n<vitalpen id=\"p\" pen-width=\"3\"/>";
    add({"pen declared after its use",
         strLater,
         "",
         {At("T", 1, Col(strLater, 1, "p\"/>"), "unknown-pen")},
         P{kLine, ""},
         P{"<vitalpen id=\"p\" pen-width=\"3\"/>" + strUse, ""},
         "declared only later, on line 2"});
    const std::string strNoPen =
        "<vitalpen id=\"frame\" pen-width=\"3\"/>\n" + kLine.substr(0, kLine.size() - 2) + " pen-id=\"fram\"/>";
    add({"pen id misspelt",
         strNoPen,
         "",
         {At("T", 2, Col(strNoPen, 2, "fram\""), "unknown-pen")},
         P{kLine, ""},
         P{"<vitalpen id=\"frame\" pen-width=\"3\"/>\n" + kLine.substr(0, kLine.size() - 2) + " pen-id=\"frame\"/>",
           ""},
         "did you mean 'frame'?"});
    const std::string strTwins = "<vitalpen id=\"p\" pen-width=\"1\"/>\n<vitalpen id=\"P\" pen-width=\"5\"/>" +
                                 strUse.substr(0, strUse.size() - 4) + "P\"/>";
    add({"pen ids differing in case only",
         strTwins,
         "",
         {"T:2:15 duplicate-id"},
         P{"<vitalpen id=\"p\" pen-width=\"1\"/>" + strUse, ""},
         P{"<vitalpen id=\"p\" pen-width=\"1\"/>\n<vitalpen id=\"q\" pen-width=\"5\"/>" +
               strUse.substr(0, strUse.size() - 4) + "q\"/>",
           ""}});
    const std::string strPenColor = "<vitalpen id=\"p\" pen-width=\"1\" color=\"0,255\"/>" + strUse;
    add({"pen colour with two figures",
         strPenColor,
         "",
         {At("T", 1, Col(strPenColor, 1, "0,255"), "color")},
         P{"<vitalpen id=\"p\" pen-width=\"1\" color=\"0,0,0\"/>" + strUse, ""},
         P{"<vitalpen id=\"p\" pen-width=\"1\" color=\"0,255,0\"/>" + strUse, ""}});
    const std::string strFontColor = kFont.substr(0, kFont.size() - 2) + " text-color=\"255,0\"/>" + strCaption;
    add({"font colour with two figures",
         strFontColor,
         "",
         {At("T", 1, Col(strFontColor, 1, "255,0\""), "color")},
         P{kFont + strCaption, ""},
         P{kFont.substr(0, kFont.size() - 2) + " text-color=\"255,0,0\"/>" + strCaption, ""}});
    const std::string strLate =
        "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>\n"
        "<vitalsize width=\"167\" height=\"213\" print-color=\"false\"/>" +
        strUse;
    add({"print colour turned off after a pen",
         strLate,
         "",
         {At("T", 2, Col(strLate, 2, "false"), "print-color-late")},
         P{"<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>" + strUse, ""},
         P{"<vitalsize width=\"167\" height=\"213\" print-color=\"false\"/>\n"
           "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>" +
               strUse,
           ""},
         "",
         1});

    // Drawing elements that draw nothing, or elsewhere.
    // (The text colour is reset after every caption, drawn or not.)
    add({"caption without text",
         kFont + "\n<vitaltext " + kBox + " font-id=\"f\"/>",
         "",
         {"T:2:1 draws-nothing"},
         P{kFont + "\n<vitaltext left=\"+1\"/>", ""},
         P{kFont + strCaption, ""}});
    add({"coordinate left out",
         R"(<vitalline left="+1" top="+1" right="+9"/>)",
         "",
         {"T:1:1 missing-coordinate"},
         P{R"(<vitalline left="+1" top="+1" right="+9" bottom="0"/>)", ""},
         P{kLine, ""}});
    const std::string strZero =
        R"(<vitallineout name="T" x="+1" y="+50" cx="3" cy="10" scale="0" base-value="35" symbol="2"/>)";
    add({"scale of 0",
         strZero,
         kTwo,
         {At("T", 1, Col(strZero, 1, "0\" base"), "zero-scale")},
         P{"", kTwo},
         P{kCurve, kTwo}});
    std::string strNine = kCurve;
    strNine.replace(strNine.find("symbol=\"2\""), 10, "symbol=\"9\"");
    add({"symbol kind outside 1 to 8",
         strNine,
         kTwo,
         {At("T", 1, Col(strNine, 1, "9\""), "symbol-kind")},
         P{R"(<vitallineout name="T" x="+1" y="+50" cx="3" cy="10" scale="1" base-value="35" symbol="0"/>)", kTwo},
         P{kCurve, kTwo}});
    const std::string strBound = "<vitaltext text=\"1\" " + kBox + " times=\"10001\"/>";
    add({"repeat count above the bound",
         strBound,
         "",
         {At("T", 1, Col(strBound, 1, "10001"), "repeat-bound")},
         P{"<vitaltext text=\"1\" " + kBox + " times=\"10000\"/>", ""},
         std::nullopt});
    const std::string strOnce = kLine.substr(0, kLine.size() - 2) + " times=\"1\"/>";
    add({"a family of one cell",
         strOnce,
         "",
         {At("T", 1, Col(strOnce, 1, "1\"/>"), "times-one")},
         P{"", ""},
         P{kLine, ""}});
    // An attribute the element does not read is told once, as unknown, and its value is not judged.
    const std::string strRowTimes = R"(<vitaltextout name="T" x="+1" y="+2" cx="3" cy="5" times="20000"/>)";
    add({"repeat count on a text row, which does not repeat",
         strRowTimes,
         kTwo,
         {At("T", 1, Col(strRowTimes, 1, "times"), "unknown-attribute")},
         P{R"(<vitaltextout name="T" x="+1" y="+2" cx="3" cy="5"/>)", kTwo},
         std::nullopt});
    const std::string strCaptionPen = "<vitaltext text=\"x\" " + kBox + " pen-id=\"zz\"/>";
    add({"pen on a caption, which takes no pen",
         strCaptionPen,
         "",
         {At("T", 1, Col(strCaptionPen, 1, "pen-id"), "unknown-attribute")},
         P{"<vitaltext text=\"x\" " + kBox + "/>", ""},
         std::nullopt});
    const std::string strWord = "<vitaltext text=\"x\" " + kBox + " align=\"centre\"/>";
    add({"align word misspelt",
         strWord,
         "",
         {At("T", 1, Col(strWord, 1, "centre"), "unknown-word")},
         P{"<vitaltext text=\"x\" " + kBox + "/>", ""},
         P{"<vitaltext text=\"x\" " + kBox + " align=\"center\"/>", ""},
         "did you mean 'center'?"});
    const std::string strRelative = R"(<vitaltext text="x" left="+1" top="+1" right="+20" bottom="5" align="right"/>)";
    add({"length written as a position",
         strRelative,
         "",
         {At("T", 1, Col(strRelative, 1, "+20"), "relative-length")},
         std::nullopt,
         P{"<vitaltext text=\"x\" " + kBox + " align=\"right\"/>", ""},
         "",
         0,
         100});
    add({"closing tag",
         "<vitalpen id=\"p\" pen-width=\"3\"/>" + strUse + "\n</vitalline>",
         "",
         {"T:3:1 closing-tag"},
         P{"<vitalpen id=\"p\" pen-width=\"3\"/>" + strUse +
               "\n<vitalline left=\"0\" top=\"0\" right=\"0\" bottom=\"0\"/>",
           ""},
         P{"<vitalpen id=\"p\" pen-width=\"3\"/>" + strUse, ""}});

    // Numbers.
    const std::string strUnit = kFont.substr(0, kFont.size() - 5) + "12px\"/>" + strCaption;
    add({"number followed by a unit",
         strUnit,
         "",
         {At("T", 1, Col(strUnit, 1, "12px"), "note number")},
         P{kFont + strCaption, ""},
         std::nullopt});
    const std::string strHalf = "<vitalpen id=\"p\" pen-width=\"2.5\"/>" + strUse;
    add({"a whole number written with a decimal",
         strHalf,
         "",
         {At("T", 1, Col(strHalf, 1, "2.5"), "number")},
         P{"<vitalpen id=\"p\" pen-width=\"2\"/>" + strUse, ""},
         std::nullopt,
         "only a whole number is read"});
    const std::string strWhole = "<vitalpen id=\"p\" pen-width=\"2.0\"/>" + strUse;
    add({"a whole number written with a zero decimal",
         strWhole,
         "",
         {At("T", 1, Col(strWhole, 1, "2.0"), "note number")},
         P{"<vitalpen id=\"p\" pen-width=\"2\"/>" + strUse, ""},
         std::nullopt});
    const std::string strWordy = R"(<vitalline left="+1" top="abc" right="+9" bottom="+9"/>)";
    add({"no number at all",
         strWordy,
         "",
         {At("T", 1, Col(strWordy, 1, "abc"), "number")},
         P{R"(<vitalline left="+1" top="0" right="+9" bottom="+9"/>)", ""},
         P{kLine, ""}});

    // The data text.
    const std::string strReading = "<d vitalsigns=\"T\" vitalsignsvalues=\"38\" cellindex=\"2\"/>\n";
    add({"data line not starting with a bracket",
         kCurve,
         kTwo + "x " + strReading,
         {"D1:3:1 not-a-tag"},
         P{kCurve, kTwo},
         P{kCurve, kTwo + strReading}});
    add({"indented reading",
         kCurve,
         kTwo + " " + strReading,
         {"D1:3:2 indented-tag"},
         P{kCurve, kTwo},
         P{kCurve, kTwo + strReading}});
    add({"slash in the data tag's name",
         kCurve,
         kTwo + "<d/>" + strReading.substr(2),
         {"D1:3:1 unknown-tag"},
         P{kCurve, kTwo},
         std::nullopt,
         "write '<d />'"});
    add({"reading after an unknown tag",
         kCurve,
         kTwo + "<x/>" + strReading,
         {"D1:3:1 unknown-tag", "D1:3:5 rest-of-line"},
         P{kCurve, kTwo},
         P{kCurve, kTwo + strReading}});
    add({"reading that no element draws",
         kCurve,
         kTwo + "<d vitalsigns=\"Tx\" vitalsignsvalues=\"38\"/>",
         {"D1:3:16 unused-reading"},
         P{kCurve, kTwo},
         P{kCurve, kTwo + strReading}});
    const std::string strRow = kCurve + "<vitaltextout name=\"R\" x=\"+1\" y=\"+2\" cx=\"3\" cy=\"5\"/>";
    add({"element without readings",
         strRow,
         kTwo,
         {At("T", 2, Col(strRow, 2, "R\""), "note no-readings")},
         P{kCurve, kTwo},
         P{strRow, kTwo + "<d vitalsigns=\"R\" vitalsignsvalues=\"5\"/>"}});
    const std::string strCase = "<d vitalsigns=\"T\" vitalsignsvalues=\"38\" CellIndex=\"2\"/>";
    add({"data attribute in the wrong case",
         kCurve,
         kTwo + strCase,
         // Read without its column, the reading joins the one in column 0.
         {"D1:3:1 same-column", At("D1", 3, Col(strCase, 1, "CellIndex"), "unknown-attribute")},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"38\"/>"},
         P{kCurve, kTwo + strReading},
         "did you mean 'cellindex'?"});
    const std::string strCut = "<d vitalsigns=\"T\" vitalsignsvalues=\"38;5\" cellindex=\"2\"/>";
    add({"reading cut at a semicolon",
         kCurve,
         kTwo + strCut,
         {"D1:3:1 same-column", At("D1", 3, Col(strCut, 1, ";"), "semicolon")},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"38\"/>"},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"38.5\" cellindex=\"2\"/>"},
         "losing 'cellindex'"});
    const std::string strText = "<d vitalsigns=\"T\" vitalsignsvalues=\"abc\" cellindex=\"2\"/>";
    add({"curve reading that is not a number",
         kCurve,
         kTwo + strText,
         {At("D1", 3, Col(strText, 1, "abc"), "number")},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"0\" cellindex=\"2\"/>"},
         P{kCurve, kTwo + strReading}});

    const std::string strComma = "<d vitalsigns=\"T\" vitalsignsvalues=\"37,5\" cellindex=\"2\"/>";
    add({"curve reading with a decimal comma",
         kCurve,
         kTwo + strComma,
         {At("D1", 3, Col(strComma, 1, "37,5"), "number")},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"2\"/>"},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"37.5\" cellindex=\"2\"/>"},
         "a decimal takes a point: '37.5'"});

    // Readings against one another.
    const std::string strAgain = "<d vitalsigns=\"T\" vitalsignsvalues=\"38\" cellindex=\"1\"/>";
    add({"two readings of one vital sign in one column",
         kCurve,
         kTwo + strAgain,
         {At("D1", 3, Col(strAgain, 1, "1\"/>"), "same-column")},
         std::nullopt,
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"38\" cellindex=\"2\"/>"}});
    const std::string strOnBounded = kCurve.substr(0, kCurve.size() - 3) + R"( min-value="35"/>)" + "\n";
    const std::string strLow = "<d vitalsigns=\"T\" vitalsignsvalues=\"34\" cellindex=\"2\"/>";
    add({"value below the scale with no rule for it",
         strOnBounded,
         kTwo + strLow,
         {At("D1", 3, Col(strLow, 1, "34"), "off-scale")},
         P{kCurve, kTwo + strLow},
         P{strOnBounded.substr(0, strOnBounded.size() - 3) + R"( below-word="low"/>)" + "\n", kTwo + strLow}});
    const std::string strOnBound = "<d vitalsigns=\"T\" vitalsignsvalues=\"35\" comparator=\"<\" cellindex=\"2\"/>";
    add({"a bound on a curve without one",
         kCurve,
         kTwo + strOnBound,
         {At("D1", 3, Col(strOnBound, 1, "\"<\"") + 1, "off-scale")},
         P{kCurve, kTwo + "<d vitalsigns=\"T\" vitalsignsvalues=\"35\" cellindex=\"2\"/>"},
         P{strOnBounded.substr(0, strOnBounded.size() - 3) + R"( below-word="low"/>)" + "\n", kTwo + strOnBound}});
    const std::string strSized = R"(<vitalsize width="100" height="100"/>)"
                                 "\n" +
                                 kCurve;
    const std::string strHigh = "<d vitalsigns=\"T\" vitalsignsvalues=\"41\" cellindex=\"2\"/>";
    add({"value off the chart on a curve without bounds",
         strSized,
         kTwo + strHigh,
         {At("D1", 3, Col(strHigh, 1, "41"), "off-scale")},
         std::nullopt,
         P{strSized.substr(0, strSized.size() - 3) + R"( max-value="39" above-pin="true"/>)" + "\n", kTwo + strHigh}});
    auto rateCurve = [](const char* pszName) {
        return std::string("<vitallineout name=\"") + pszName +
               R"(" x="+1" y="+50" cx="3" cy="10" scale="20" base-value="20" symbol="2"/>)" + "\n";
    };
    const std::string strRates = rateCurve("P") + rateCurve("H") +
                                 R"(<vitalhatch upper="H" lower="P"/>)"
                                 "\n";
    const std::string strSwapped = "<d vitalsigns=\"H\" vitalsignsvalues=\"80\" cellindex=\"1\"/>";
    add({"heart rate below pulse",
         strRates,
         "<d vitalsigns=\"P\" vitalsignsvalues=\"90\" cellindex=\"1\"/>\n" + strSwapped,
         {At("D1", 2, Col(strSwapped, 1, "80"), "rates-swapped")},
         std::nullopt,
         P{strRates,
           "<d vitalsigns=\"P\" vitalsignsvalues=\"80\" cellindex=\"1\"/>\n"
           "<d vitalsigns=\"H\" vitalsignsvalues=\"90\" cellindex=\"1\"/>\n"}});
    const std::string strCooled =
        kCurve + R"(<vitallineblock name="C" x="+1" y="+50" cx="3" cy="10" scale="1" base-value="35" symbol="3"/>)" +
        "\n";
    const std::string strAlone = "<d vitalsigns=\"C\" vitalsignsvalues=\"36.5\" cellindex=\"1\"/>";
    add({"cooling re-measurement with nothing to link to",
         strCooled,
         kTwo + strAlone,
         {At("D1", 3, Col(strAlone, 1, "C"), "cooling-link")},
         std::nullopt,
         P{strCooled, kTwo + "<d vitalsigns=\"C\" vitalsignsvalues=\"36.5\" cellindex=\"1\" "
                             "vitalsignsoriginalvalues=\"37\"/>"}});
    const std::string strAstray =
        "<d vitalsigns=\"C\" vitalsignsvalues=\"36.5\" cellindex=\"1\" vitalsignsoriginalvalues=\"38\"/>";
    add({"cooling re-measurement linking a value the curve lacks",
         strCooled,
         kTwo + strAstray,
         {At("D1", 3, Col(strAstray, 1, "38"), "cooling-link")},
         std::nullopt,
         P{strCooled, kTwo + "<d vitalsigns=\"C\" vitalsignsvalues=\"36.5\" cellindex=\"1\" "
                             "vitalsignsoriginalvalues=\"37\"/>"}});
    const std::string strCount = R"(<vitaltextout name="术后天数" x="+1" y="+2" cx="3" cy="5"/>)"
                                 "\n";
    const std::string strEvents = R"(<vitaltextout name="事件" x="+1" y="+8" cx="3" cy="5"/>)"
                                  "\n";
    const std::string strDay = "<d vitalsigns=\"术后天数\" vitalsignsvalues=\"1\" cellindex=\"0\"/>\n";
    add({"days after surgery with no surgery",
         strCount,
         strDay,
         {At("D1", 1, Col(strDay, 1, "术"), "surgery-count")},
         std::nullopt,
         P{strCount + strEvents, strDay + "<d vitalsigns=\"事件\" vitalsignsvalues=\"手术\" cellindex=\"0\"/>\n"}});
    return cases;
}

TEST(TemplateCheckerTest, EachFlawIsFoundAndIsWhatTheRendererDoes) {
    for (const FlawCase& c : FlawCases()) {
        SCOPED_TRACE(c.pszName);
        const std::vector<Finding> findings = CheckOf(c.strTemplate, c.strData);
        EXPECT_EQ(Summarise(findings), c.expected) << AllMessages(findings);
        for (const Finding& f : findings) {
            const std::vector<std::string>& names = CTemplateChecker::CheckNames();
            EXPECT_NE(std::find(names.begin(), names.end(), f.strCheck), names.end()) << f.strCheck;
        }
        EXPECT_NE(AllMessages(findings).find(c.pszMessage), std::string::npos) << AllMessages(findings);
        const std::string strDrawn = Trace(c.strTemplate, c.strData, c.bPrinting, c.nLeft);
        if (c.same) {
            EXPECT_EQ(strDrawn, Trace(c.same->first, c.same->second, c.bPrinting, c.nLeft));
        }
        if (c.fixed) {
            EXPECT_NE(strDrawn, Trace(c.fixed->first, c.fixed->second, c.bPrinting, c.nLeft));
            const std::vector<Finding> clean = CheckOf(c.fixed->first, c.fixed->second);
            EXPECT_EQ(Summarise(clean), std::vector<std::string>{}) << AllMessages(clean);
        }
    }
}

TEST(TemplateCheckerTest, SizeFindingsMatchTheSizeQuery) {
    struct Row {
        const char* pszTemplate;
        std::vector<std::string> expected;
        BOOL bFound;
        float fWidth;
        float fHeight;
    };
    const Row rows[] = {
        {"<vitalpen id=\"p\" pen-width=\"1\"/>\n", {"T:1:1 no-size"}, 0, 0.0f, 0.0f},
        {"<vitalsize/>\n", {"T:1:1 unknown-element", "T:1:1 no-size"}, 0, 0.0f, 0.0f},
        {"<vitalpen id=\"p\" pen-width=\"1\"/><vitalsize width=\"100\" height=\"50\"/>\n",
         {"T:1:1 no-size", "T:1:33 size-not-first"},
         0,
         0.0f,
         0.0f},
        {"<vitalsize width=\"100\" height=\"50\"/>\n<vitalsize width=\"167\" height=\"213\"/>\n",
         {"T:2:1 repeated-size"},
         1,
         100.0f,
         50.0f},
        {"<vitalsize width=\"100\"/>\n", {"T:1:1 missing-size"}, 1, 100.0f, 0.0f},
        {"<vitalsize width=\"100mm\" height=\"50\"/>\n", {"T:1:19 note number"}, 1, 100.0f, 50.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszTemplate);
        const std::vector<Finding> findings = CheckOf(row.pszTemplate);
        EXPECT_EQ(Summarise(findings, true), row.expected) << AllMessages(findings);
        test::TempFile file(row.pszTemplate);
        float fWidth = -1.0f;
        float fHeight = -1.0f;
        EXPECT_EQ(GetPluginSizeByTemplet(&fWidth, &fHeight, file.Path().c_str()), row.bFound);
        EXPECT_EQ(fWidth, row.fWidth);
        EXPECT_EQ(fHeight, row.fHeight);
    }
}

TEST(TemplateCheckerTest, ColumnOutsideTheRulingIsDrawnOutsideIt) {
    // A grid ruled from 10 to 40 mm where the curve is drawn, and its 3 mm columns from 10 mm.
    const std::string strTemplate =
        "<vitalline left=\"+10\" top=\"+30\" right=\"+10\" bottom=\"+60\"/>\n"
        "<vitalline left=\"+40\" top=\"+30\" right=\"+40\" bottom=\"+60\"/>\n"
        "<vitallineout name=\"T\" x=\"+10\" y=\"+50\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" "
        "symbol=\"2\"/>\n";
    const std::string strInside = "<d vitalsigns=\"T\" vitalsignsvalues=\"36\" cellindex=\"10\"/>\n";
    const std::string strOutside = "<d vitalsigns=\"T\" vitalsignsvalues=\"36\" cellindex=\"11\"/>\n";
    EXPECT_EQ(Summarise(CheckOf(strTemplate, strInside)), std::vector<std::string>{});
    const std::vector<Finding> findings = CheckOf(strTemplate, strOutside);
    EXPECT_EQ(Summarise(findings), std::vector<std::string>{At("D1", 1, Col(strOutside, 1, "11"), "column-range")})
        << AllMessages(findings);

    // The ruling ends at lineto's x; the marker's box starts right of it.
    auto rightmost = [](const std::string& strTrace, const char* pszPrefix, int nField) {
        std::istringstream in(test::GrepTrace(strTrace, pszPrefix));
        std::string strWord;
        int nMax = 0;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            int nValue = 0;
            for (int i = 0; i <= nField; ++i) words >> strWord;
            words >> nValue;
            nMax = std::max(nMax, nValue);
        }
        return nMax;
    };
    const std::string strOut = Trace(strTemplate, strOutside);
    const std::string strIn = Trace(strTemplate, strInside);
    const int nRuleEnd = rightmost(strOut, "lineto", 0);
    EXPECT_GT(rightmost(strOut, "ellipse", 0), nRuleEnd) << strOut;
    EXPECT_LT(rightmost(strIn, "ellipse", 0), nRuleEnd) << strIn;
}

TEST(TemplateCheckerTest, BundledExampleChecksClean) {
    const std::string strTemplate = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml");
    const std::string strData = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    ASSERT_FALSE(strTemplate.empty());
    ASSERT_FALSE(strData.empty());
    const std::vector<Finding> findings = CheckOf(strTemplate, strData);
    EXPECT_EQ(Summarise(findings, true), std::vector<std::string>{}) << AllMessages(findings);
}

TEST(TemplateCheckerTest, EveryCheckIsDocumented) {
    const std::string strDoc = test::ReadFileText(std::string(VITALCHART_DOCS) + "/check.md");
    ASSERT_FALSE(strDoc.empty());
    for (const std::string& strCheck : CTemplateChecker::CheckNames()) {
        EXPECT_NE(strDoc.find("`" + strCheck + "`"), std::string::npos) << strCheck;
    }
}

// Each data text is a page: its readings meet only one another, but days
// after surgery count from a surgery on any page given.
TEST(TemplateCheckerTest, ReadingsAreComparedWithinTheirPage) {
    const std::string strTemplate = kCurve + R"(<vitaltextout name="术后天数" x="+1" y="+2" cx="3" cy="5"/>)" + "\n" +
                                    R"(<vitaltextout name="事件" x="+1" y="+8" cx="3" cy="5"/>)" + "\n";
    const std::vector<std::string> pages = {
        kTwo + "<d vitalsigns=\"事件\" vitalsignsvalues=\"手术\" cellindex=\"0\"/>\n",
        kTwo + "<d vitalsigns=\"术后天数\" vitalsignsvalues=\"3\" cellindex=\"0\"/>\n"};
    const std::vector<Finding> findings = CTemplateChecker(CP_UTF8).Check(strTemplate, pages);
    EXPECT_EQ(Summarise(findings), std::vector<std::string>{}) << AllMessages(findings);
}

TEST(TemplateCheckerTest, FindingsAreInOrderWithByteColumnsAfterMultiByteText) {
    // Columns count bytes: the two CJK characters before the flaw take six.
    const std::string strTemplate = "<vitaltext text=\"体温\" " + kBox + " align=\"centre\"/>\n<foo/>\n";
    const std::vector<Finding> findings = CheckOf(strTemplate);
    EXPECT_EQ(Summarise(findings), (std::vector<std::string>{At("T", 1, Col(strTemplate, 1, "centre"), "unknown-word"),
                                                             "T:2:1 unknown-element"}));
}

TEST(TemplateCheckerTest, SuggestsOnlyCloseNames) {
    const std::vector<std::string> elements = {"vitalsign", "vitalpen", "vitalline", "vitallineout"};
    const std::vector<std::string> attributes = {"x", "y", "cx", "cy", "width", "color", "font-inital"};
    const struct {
        const char* pszName;
        const std::vector<std::string>* pCandidates;
        const char* pszExpected;
    } rows[] = {
        {"VitalPen", &elements, "vitalpen"},
        {"VITALLINE", &elements, "vitalline"},
        {"vitalpen/", &elements, "vitalpen"},
        {"vitallinout", &elements, "vitallineout"},
        {"vitalfoo", &elements, ""},
        {"Width", &attributes, "width"},
        {"widht", &attributes, "width"},
        {"colour", &attributes, "color"},
        {"font-italic", &attributes, "font-inital"},
        {"z", &attributes, ""},
        {"cz", &attributes, ""},
        {"", &attributes, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        EXPECT_EQ(CTemplateChecker::SuggestName(CP_UTF8, row.pszName, *row.pCandidates), row.pszExpected);
    }
}

// Every element and data tag of the renderer's grammar, written with every
// attribute its rule lists and a sound value of the attribute's kind, checks
// clean: the checker knows each attribute, and reads each value as the
// renderer does.
TEST(TemplateCheckerTest, EveryGrammarAttributeWithASoundValueChecksClean) {
    auto sound = [](const AttributeRule& attr) -> std::string {
        switch (attr.kind) {
            case AttributeKind::kPosition:
                return "+1";
            case AttributeKind::kLength:
                return "3";
            case AttributeKind::kInteger:
            case AttributeKind::kSymbol:
                return "2";
            case AttributeKind::kDecimal:
                return "1.5";
            case AttributeKind::kColor:
                return "255,0,0";
            case AttributeKind::kText:
                return "36";  // a name, a caption and a reading's value alike
            case AttributeKind::kWord:
                return std::string(attr.pszWords).substr(0, std::string(attr.pszWords).find('|'));
            case AttributeKind::kPenId:
                return "p";
            case AttributeKind::kFontId:
                return "f";
        }
        return std::string();
    };
    auto tag = [&](const ElementRule& rule) {
        std::string out = "<" + std::string(rule.pszName);
        for (const AttributeRule& attr : rule) out += " " + std::string(attr.pszName) + "=\"" + sound(attr) + "\"";
        return out + "/>\n";
    };
    const std::string strDeclared =
        "<vitalpen id=\"p\" pen-width=\"1\"/>\n<vitalfont id=\"f\" font-name=\"Serif\" font-size=\"12\"/>\n";
    const std::string strCurve =
        R"(<vitallineout name="36" x="+1" y="+50" cx="3" cy="10" scale="1" base-value="35" symbol="2" )"
        R"(min-value="35" below-word="x"/>)"
        "\n";
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
        if (p->pfnAction == nullptr) continue;
        SCOPED_TRACE(tag(*p));
        const std::vector<Finding> findings = CheckOf(strDeclared + tag(*p));
        EXPECT_EQ(Summarise(findings), std::vector<std::string>{}) << AllMessages(findings);
    }
    for (const ElementRule* p = DataTagsBegin(); p != DataTagsEnd(); ++p) {
        SCOPED_TRACE(tag(*p));
        const std::vector<Finding> findings =
            CheckOf(strCurve, "<d vitalsigns=\"36\" vitalsignsvalues=\"36\"/>\n" + tag(*p));
        EXPECT_EQ(Summarise(findings), std::vector<std::string>{}) << AllMessages(findings);
    }
}

// The scanner reads the same with notes as without them, and the numbered
// walk hands out the lines of the plain walk.
TEST(TemplateCheckerTest, NotesAndLineNumbersLeaveReadingUnchanged) {
    const char kBytes[] = {'<', 'a', ' ', 'b', '=', '"', 'c', ';', '/', '>', ':', 'p', 'r', 'o', 's', 'x'};
    std::vector<std::string> lines = {"<vitalpen id=\"1\" props=\"a:1;b:2\"/>", "<x a=1 b=\"2\"", ""};
    for (char a : kBytes) {
        for (char b : kBytes) {
            for (char c : kBytes) lines.push_back(std::string("<t ") + a + b + c + "=\"" + c + b + "\"");
        }
    }
    for (const std::string& strLine : lines) {
        SCOPED_TRACE(strLine);
        std::int32_t nPlain = 0;
        std::int32_t nNoted = 0;
        const std::int32_t nLength = static_cast<std::int32_t>(strLine.size());
        CScanNotes notes;
        EXPECT_EQ(ReadTagName(strLine.c_str(), nLength, nPlain), ReadTagName(strLine.c_str(), nLength, nNoted, &notes));
        CMapStringToString plainAttributes, plainStyles, notedAttributes, notedStyles;
        ParseAttributes(strLine.c_str(), nLength, plainAttributes, plainStyles, nPlain);
        ParseAttributes(strLine.c_str(), nLength, notedAttributes, notedStyles, nNoted, &notes);
        EXPECT_EQ(nPlain, nNoted);
        EXPECT_EQ(plainAttributes.Entries(), notedAttributes.Entries());
        EXPECT_EQ(plainStyles.Entries(), notedStyles.Entries());
    }

    const std::string strText = "<a/>\n\n\r\n<b/><c/>\r\n  \nlast";
    CByteBuffer buffer(0);
    ASSERT_TRUE(buffer.Append(strText.data(), static_cast<std::int32_t>(strText.size())));
    std::vector<std::string> plain;
    std::vector<std::string> numbered;
    WalkLines(buffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        plain.push_back(std::string(pszLine, static_cast<std::size_t>(nLength)).substr(static_cast<std::size_t>(nPos)));
        nPos = nLength;
        return true;
    });
    WalkLinesNumbered(buffer, [&](std::int32_t nLine, const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        numbered.push_back(
            std::to_string(nLine) + " " +
            std::string(pszLine, static_cast<std::size_t>(nLength)).substr(static_cast<std::size_t>(nPos)));
        nPos = nLength;
        return true;
    });
    EXPECT_EQ(plain, (std::vector<std::string>{"<a/>", "<b/><c/>", "  ", "last"}));
    EXPECT_EQ(numbered, (std::vector<std::string>{"1 <a/>", "4 <b/><c/>", "5   ", "6 last"}));
}

TEST(TemplateCheckerTest, JsonStringsAreAlwaysValid) {
    const struct {
        std::string strBytes;
        const char* pszJson;
    } rows[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\n\r\t\x01\x1f\x7f", "\"\\n\\r\\t\\u0001\\u001f\\u007f\""},
        {"\xe4\xbd\x93", "\"\xe4\xbd\x93\""},           // a whole UTF-8 character stays
        {"\xe4\xbd", "\"\\u00e4\\u00bd\""},             // a cut one does not
        {"\xc0\x80", "\"\\u00c0\\u0080\""},             // overlong
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},  // surrogate
        {"\xff\xfe", "\"\\u00ff\\u00fe\""},
        {std::string("a\0b", 3), "\"a\\u0000b\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszJson);
        EXPECT_EQ(cli::JsonString(row.strBytes), row.pszJson);
    }
}

}  // namespace
}  // namespace vitalchart
