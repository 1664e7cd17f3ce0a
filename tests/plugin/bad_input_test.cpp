// Bad templates and data texts through the whole plug-in, one class of bad
// input per row: whatever the input, the drawing call returns, the trace keeps
// its grammar, the host's pen, font, background mode and text colour come back,
// and the well-formed readings of the same data text are still drawn.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/trace_grammar.h"
#include "render/chart_renderer.h"
#include "support/host_state.h"
#include "support/trace_fixture.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

using test::TempFile;

// Writes the value of every reading named OK into its cell; it ends the
// template, so the walk must have come through the bad part to draw it.
const char kProbeRow[] = "<vitaltextout name=\"OK\" x=\"+1\" y=\"+1\" cx=\"10\" cy=\"5\"/>\n";
const char kReadingBefore[] = "<d vitalsigns=\"OK\" vitalsignsvalues=\"before-37\" cellindex=\"1\"/>\n";
const char kReadingAfter[] = "<d vitalsigns=\"OK\" vitalsignsvalues=\"after-38\" cellindex=\"2\"/>\n";
const char kPenAndFont[] =
    "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>\n"
    "<vitalfont id=\"f\" font-name=\"Sans\" font-size=\"12\" text-color=\"0,0,255\"/>\n";

// One drawing call with a bad part in the template, in the data text, or in
// the host's arguments.
struct BadInput {
    std::string strClass;
    std::string strTemplate;  // before the probe row (after it with bProbeFirst)
    std::string strData;      // between the two good readings
    int nTop = 0, nLeft = 0, nBottom = 800, nRight = 600;
    int nNumX = 96, nDenX = 96, nNumY = 96, nDenY = 96;
    UINT nCodePage = CP_UTF8;
    BOOL bPrinting = 0;
    bool bProbeFirst = false;
    bool bDataEndsText = false;  // no line feed and no reading after the bad part
    std::string strMustShow;     // a trace fragment the call must draw

    BadInput CodePage(UINT n) const {
        BadInput r = *this;
        r.nCodePage = n;
        return r;
    }
    BadInput Printing() const {
        BadInput r = *this;
        r.bPrinting = 1;
        return r;
    }
    BadInput ProbeFirst() const {
        BadInput r = *this;
        r.bProbeFirst = true;
        return r;
    }
    BadInput DataEndsText() const {
        BadInput r = *this;
        r.bDataEndsText = true;
        return r;
    }
    BadInput Shows(const std::string& s) const {
        BadInput r = *this;
        r.strMustShow = s;
        return r;
    }
    BadInput Scales(int nNum, int nDen) const {
        BadInput r = *this;
        r.nNumX = r.nNumY = nNum;
        r.nDenX = r.nDenY = nDen;
        return r;
    }
    BadInput Rect(int nTop, int nLeft, int nBottom, int nRight) const {
        BadInput r = *this;
        r.nTop = nTop, r.nLeft = nLeft, r.nBottom = nBottom, r.nRight = nRight;
        return r;
    }
};

BadInput InTemplate(const std::string& strClass, const std::string& strTemplate) {
    BadInput r;
    r.strClass = strClass;
    r.strTemplate = std::string(kPenAndFont) + strTemplate + "\n";
    return r;
}

BadInput InData(const std::string& strClass, const std::string& strData) {
    BadInput r;
    r.strClass = strClass;
    r.strTemplate = kPenAndFont;
    r.strData = strData;
    return r;
}

// The host's own state, expected back after every call.
struct HostState {
    void Lend(CRecordingDC& dc) { state.Apply(dc); }
    void ExpectBack(CRecordingDC& dc) const { EXPECT_EQ(state.WhatIsNotRestored(dc), ""); }
    test::CHostState state;
};

// Draws the row and checks what must hold whatever the input was.
void DrawAndCheck(const BadInput& row) {
    SCOPED_TRACE(row.strClass);
    std::string strTemplate = row.bProbeFirst ? std::string(kProbeRow) + row.strTemplate : row.strTemplate + kProbeRow;
    std::string strData = std::string(kReadingBefore) + row.strData;
    if (!row.bDataEndsText) strData += std::string("\n") + kReadingAfter;
    TempFile templ(strTemplate);
    CRecordingDC dc(row.nCodePage, row.bPrinting);
    HostState host;
    host.Lend(dc);
    // The text in storage of its own length, with no zero byte after it.
    const std::vector<char> text(strData.begin(), strData.end());
    DrawPlugin(&dc, row.nTop, row.nLeft, row.nBottom, row.nRight, row.nDenY, row.nDenX, row.nNumY, row.nNumX,
               templ.Path().c_str(), text.data(), static_cast<int>(text.size()), "", 0);

    host.ExpectBack(dc);
    const std::string& strTrace = dc.GetTrace();
    std::string strBadLine;
    EXPECT_TRUE(fuzz::IsWellFormedTrace(strTrace, &strBadLine)) << "line out of grammar: " << strBadLine;
    EXPECT_NE(strTrace.find("\"before-37\""), std::string::npos) << "the reading before the bad part is lost";
    if (!row.bDataEndsText) {
        EXPECT_NE(strTrace.find("\"after-38\""), std::string::npos) << "the reading after the bad part is lost";
    }
    if (!row.strMustShow.empty()) {
        EXPECT_NE(strTrace.find(row.strMustShow), std::string::npos) << row.strMustShow;
    }
}

// A template that puts the text in every numeric place of every element.
std::string NumbersEverywhere(const std::string& v) {
    std::string t;
    t += "<vitalpen id=\"n\" pen-width=\"" + v + "\" color=\"" + v + "," + v + "," + v + "\" pen-style=\"" + v +
         "\"/>\n";
    t += "<vitalfont id=\"n\" font-name=\"Sans\" font-size=\"" + v + "\" text-color=\"" + v + ",0,0\"/>\n";
    t += "<vitalline left=\"" + v + "\" top=\"+" + v + "\" right=\"" + v + "\" bottom=\"" + v +
         "\" times=\"3\" multiple=\"" + v + "\" pen-id=\"n\"/>\n";
    t += "<vitaltext text=\"" + v + "\" left=\"" + v + "\" top=\"" + v + "\" right=\"" + v + "\" bottom=\"" + v +
         "\" spans=\"" + v + "\" multiple=\"" + v + "\" times=\"3\" step=\"" + v + "\" font-id=\"n\"/>\n";
    t += "<vitallineout name=\"OK\" x=\"" + v + "\" y=\"" + v + "\" cx=\"" + v + "\" cy=\"" + v + "\" scale=\"" + v +
         "\" base-value=\"" + v + "\" symbol=\"1\" special-symbol=\"" + v + "\"/>\n";
    t += "<vitallineblock name=\"OK\" x=\"" + v + "\" y=\"1\" cx=\"3\" cy=\"" + v + "\" scale=\"1\" base-value=\"" + v +
         "\" symbol=\"8\"/>\n";
    t += "<vitaltextout name=\"OK\" x=\"" + v + "\" y=\"" + v + "\" cx=\"" + v + "\" cy=\"" + v + "\" spans=\"" + v +
         "\" align=\"vertical\"/>";
    return t;
}

std::string ReadingWith(const std::string& v) {
    return "<d vitalsigns=\"OK\" vitalsignsvalues=\"" + v + "\" cellindex=\"" + v + "\" vitalsignsoriginalvalues=\"" +
           v + "\" originalCellIndex=\"" + v + "\" specialSymbolFlag=\"" + v + "\"/>";
}

std::string Repeat(const std::string& s, std::size_t nBytes) {
    std::string out;
    while (out.size() + s.size() <= nBytes) out += s;
    return out;
}

// The grammar the rows below hold every trace to must itself reject what is
// not a trace line, or every row would pass vacuously.
TEST(BadInputTest, TheTraceGrammarTellsTraceLinesFromOthers) {
    const struct {
        const char* pszLine;
        bool bWellFormed;
    } rows[] = {
        {"pen 0 1 #ff0000", true},
        {"font \"\\xe5\\xae\\x8b\" -20 700 0 1", true},
        {"polygon 1 2 3 4 5 6", true},
        {"drawtext -2147483648 0 2147483647 4 0x801 \"a\\\"b\\\\\"", true},
        {"textout 5 7 \"x not found!\"", true},
        {"pen 0 1 #FF0000", false},                // upper-case colour
        {"lineto 1", false},                       // a coordinate missing
        {"lineto 1 2 ", false},                    // trailing blank
        {"moveto 2147483648 0", false},            // beyond int
        {"moveto -0 0", false},                    // not how a number is written
        {"polygon 1 2 3", false},                  // half a point
        {"drawtext 0 0 1 1 0x0801 \"a\"", false},  // a leading zero in the format
        {"textout 0 0 \"a\\x41\"", false},         // a printable byte escaped
        {"textout 0 0 \"tab\there\"", false},      // a raw control byte
        {"textout 0 0 \"open", false},             // unterminated text
        {"ellipse 1 2 3 4 5", false},              // one number too many
        {"frobnicate 1", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszLine);
        EXPECT_EQ(fuzz::IsWellFormedTrace(std::string(row.pszLine) + "\n"), row.bWellFormed);
    }
    EXPECT_FALSE(fuzz::IsWellFormedTrace("bkmode 1"));  // no final line feed
    EXPECT_TRUE(fuzz::IsWellFormedTrace(""));
}

TEST(BadInputTest, TemplateAndDataFaults) {
    const std::string kMega(1000000, 'x');
    const std::string kNul(1, '\0');
    std::vector<BadInput> rows = {
        // Lines cut inside a tag, a name and a quoted value.
        InTemplate("template line cut inside a tag", "<vitalline left=\"1\" top"),
        InTemplate("template line cut inside a name", "<vitalp"),
        InTemplate("template line cut inside a quoted value", "<vitaltext text=\"abc"),
        InTemplate("template line of an opening bracket alone", "<"),
        InData("data line cut inside a tag", "<d vitalsigns=\"OK\" vitalsignsvalues"),
        InData("data line cut inside a name", "<d vitalsig"),
        InData("data line cut inside a quoted value", "<d vitalsigns=\"OK\" vitalsignsvalues=\"3"),
        InData("data text cut inside a quoted value at its end", "<d vitalsigns=\"OK\" vitalsignsvalues=\"3")
            .DataEndsText(),
        // props lists ending in a semicolon or left open.
        InTemplate("props ending in a semicolon", "<vitalpen id=\"q\" pen-width=\"1\" props=\"a:1;\"/>"),
        InTemplate("props of a semicolon alone", "<vitalpen props=\";\" id=\"q\" pen-width=\"1\"/>"),
        InTemplate("props left open at the line's end", "<vitalpen id=\"q\" pen-width=\"1\" props=\"a:1;"),
        InData("props in a data tag", "<d vitalsigns=\"OK\" props=\"x:1;\" vitalsignsvalues=\"mid\"/>"),
        // Names of 31, 32 and 33 bytes.
        InTemplate("tag names of 31 to 33 bytes", "<" + std::string(31, 'a') + " x=\"1\"/>\n<" + std::string(32, 'b') +
                                                      "/>\n<" + std::string(33, 'c') + " y=\"2\"/>"),
        InTemplate("attribute names of 31 to 33 bytes", "<vitalpen id=\"q\" " + std::string(31, 'a') + "=\"1\" " +
                                                            std::string(32, 'b') + "=\"2\" " + std::string(33, 'c') +
                                                            "=\"3\" pen-width=\"1\"/>"),
        InTemplate("style keys of 31 to 33 bytes", "<vitalpen id=\"q\" props=\"" + std::string(31, 'a') + ":1;" +
                                                       std::string(32, 'b') + ":2;" + std::string(33, 'c') +
                                                       ":3\" pen-width=\"1\"/>"),
        InTemplate("a face name of 33 bytes",
                   "<vitalfont id=\"g\" font-name=\"" + std::string(33, 'F') + "\" font-size=\"12\"/>"),
        InData("data attribute names of 32 and 33 bytes",
               "<d " + std::string(32, 'v') + "=\"1\" " + std::string(33, 'w') + "=\"2\"/>"),
        // Megabyte values and lines.
        InTemplate("a megabyte caption",
                   "<vitaltext text=\"" + kMega + "\" left=\"1\" top=\"1\" right=\"5\" bottom=\"5\"/>"),
        InTemplate("a megabyte line without tags", kMega),
        InTemplate("a megabyte value left open", "<vitalpen id=\"" + kMega),
        InData("a megabyte reading", "<d vitalsigns=\"BIG\" vitalsignsvalues=\"" + kMega + "\"/>"),
        InData("a megabyte data line without tags", kMega),
        // Line ends: none at all, carriage returns alone, NUL bytes.
        InTemplate("no line feed in the template", "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\"/>"),
        InData("no line feed after the last reading", "<d vitalsigns=\"OK\" vitalsignsvalues=\"last\"/>")
            .DataEndsText()
            .Shows("\"last\""),
        InTemplate(
            "carriage returns alone as line ends",
            "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\"/>\r<vitalpen id=\"q\" pen-width=\"1\"/>\r"),
        InData("carriage returns alone between readings",
               "<d vitalsigns=\"OK\" vitalsignsvalues=\"cr\"/>\r<d vitalsigns=\"OK\" vitalsignsvalues=\"lost\"/>\r")
            .Shows("\"cr\""),
        InTemplate("NUL bytes in a tag", "<vital" + kNul + "pen id=\"q\" pen-width=\"1\"/>\n<vitaltext text=\"a" +
                                             kNul + "b\" left=\"1\" top=\"1\" right=\"5\" bottom=\"5\"/>")
            .Shows("\"a\\x00b\""),
        InData("NUL bytes in a reading", "<d vitalsigns=\"OK\" vitalsignsvalues=\"n" + kNul + "l\"/>\n" + kNul + kNul)
            .Shows("\"n\\x00l\""),
        // Lone lead bytes at the end of GBK and UTF-8 text.
        InTemplate("a GBK lead byte ending a vertical caption",
                   "<vitaltext text=\"ab\xcc\" left=\"1\" top=\"1\" right=\"5\" bottom=\"5\" align=\"vertical\"/>")
            .CodePage(CP_GBK)
            .Shows("\"\\xcc\""),
        InData("a GBK lead byte ending the data text", "<d vitalsigns=\"OK\" vitalsignsvalues=\"x\xcc")
            .CodePage(CP_GBK)
            .DataEndsText(),
        InTemplate("a cut UTF-8 character ending a vertical caption",
                   "<vitaltext text=\"ab\xe4\xbd\" left=\"1\" top=\"1\" right=\"5\" bottom=\"5\" align=\"vertical\"/>"),
        InData("a cut UTF-8 character ending a reading",
               "<d vitalsigns=\"OK\" vitalsignsvalues=\"\xf0\"/>\n<vitaltextout name=\"OK\"/>"),
        // Repeat counts, scales and symbol kinds at and beyond their ends.
        InTemplate(
            "times 0, 1 and 2^31-1",
            "<vitalline left=\"1\" top=\"1\" right=\"0.1\" bottom=\"5\" times=\"0\"/>\n"
            "<vitalline left=\"1\" top=\"1\" right=\"0.1\" bottom=\"5\" times=\"1\"/>\n"
            "<vitalline left=\"1\" top=\"1\" right=\"0.1\" bottom=\"5\" times=\"2147483647\"/>\n"
            "<vitaltext text=\"1\" left=\"1\" top=\"1\" right=\"3\" bottom=\"3\" spans=\"1\" times=\"2147483647\" "
            "step=\"2147483647\"/>"),
        InTemplate("scale 0",
                   "<vitallineout name=\"OK\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"0\" "
                   "base-value=\"35\" symbol=\"1\"/>\n<vitallineblock name=\"OK\" x=\"10\" y=\"100\" "
                   "cx=\"3\" cy=\"10\" scale=\"-0\" base-value=\"35\" symbol=\"2\"/>"),
        InTemplate("symbol kinds 0, 9 and -1",
                   "<vitallineout name=\"OK\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" "
                   "symbol=\"0\" special-symbol=\"9\" special-symbol2=\"-1\"/>\n"
                   "<vitallineblock name=\"OK\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" "
                   "symbol=\"9\"/>\n<vitallineblock name=\"OK\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1\" "
                   "base-value=\"35\" symbol=\"-1\"/>"),
        // Numbers of thousands of digits, exponents, infinities, NaN, -0,
        // and the ends of the int range, in every numeric place.
        InTemplate("thousands of digits", NumbersEverywhere(std::string(3000, '9'))),
        InTemplate("thousands of negative digits", NumbersEverywhere("-" + std::string(3000, '9'))),
        InTemplate("a tiny fraction of thousands of digits", NumbersEverywhere("0." + std::string(3000, '0') + "1")),
        InTemplate("an exponent beyond double", NumbersEverywhere("1e309")),
        InTemplate("an exponent beyond float", NumbersEverywhere("-3.5e38")),
        InTemplate("inf", NumbersEverywhere("inf")),
        InTemplate("nan", NumbersEverywhere("nan")),
        InTemplate("-0", NumbersEverywhere("-0")),
        InTemplate("INT_MAX", NumbersEverywhere("2147483647")),
        InTemplate("INT_MIN", NumbersEverywhere("-2147483648")),
        InTemplate("one past INT_MAX", NumbersEverywhere("2147483648")),
        InData("readings of extreme numbers", ReadingWith(std::string(3000, '9')) + "\n" + ReadingWith("1e309") + "\n" +
                                                  ReadingWith("nan") + "\n" + ReadingWith("-2147483648") + "\n" +
                                                  ReadingWith("2147483647")),
        InTemplate(
            "curves over extreme readings",
            "<vitallineout name=\"X\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1e-30\" base-value=\"-1e30\" "
            "symbol=\"7\"/>\n<vitallineblock name=\"X\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1\" "
            "base-value=\"35\" symbol=\"8\"/>"),
        InData(
            "extreme readings for the curves",
            "<d vitalsigns=\"X\" vitalsignsvalues=\"1e38\" cellindex=\"2147483647\" vitalsignsoriginalvalues=\"-inf\" "
            "originalCellIndex=\"-2147483648\"/>\n<d vitalsigns=\"X\" vitalsignsvalues=\"nan\" cellindex=\"-5\"/>"),
        // Extreme widths and font sizes through the host's scale.
        InTemplate("pen widths and font sizes at the int range's ends",
                   "<vitalpen id=\"a\" pen-width=\"2147483647\"/>\n<vitalpen id=\"b\" pen-width=\"-2147483648\"/>\n"
                   "<vitalfont id=\"g\" font-name=\"Sans\" font-size=\"2147483647\"/>\n"
                   "<vitalfont id=\"h\" font-name=\"Sans\" font-size=\"-2147483648\"/>\n"
                   "<vitalline left=\"1\" top=\"1\" right=\"9\" bottom=\"9\" pen-id=\"a\"/>\n"
                   "<vitalline left=\"1\" top=\"1\" right=\"9\" bottom=\"9\" pen-id=\"b\"/>\n"
                   "<vitaltext text=\"g\" left=\"1\" top=\"1\" right=\"9\" bottom=\"9\" font-id=\"g\"/>\n"
                   "<vitaltext text=\"h\" left=\"1\" top=\"1\" right=\"9\" bottom=\"9\" font-id=\"h\"/>")
            .Scales(600, 96),
    };
    // The host's arguments: rectangles and scale pairs at the int range's ends
    // and zero denominators, over a template that uses every position form.
    const std::string kEveryPosition =
        "<vitalline left=\"left\" top=\"top\" right=\"right\" bottom=\"bottom\" times=\"3\"/>\n"
        "<vitalline left=\"+1\" top=\"+1\" right=\"+2\" bottom=\"+2\" times=\"4\" direction=\"y\"/>\n"
        "<vitaltext text=\"7\" left=\"+1\" top=\"+1\" right=\"right\" bottom=\"bottom\" times=\"3\" step=\"1\" "
        "spans=\"+1\" align=\"center\"/>\n"
        "<vitallineout name=\"OK\" x=\"+10\" y=\"+100\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" "
        "symbol=\"8\"/>";
    const BadInput host = InTemplate("", kEveryPosition);
    auto hostRow = [&](const std::string& strClass, BadInput r) {
        r.strClass = strClass;
        return r;
    };
    rows.push_back(hostRow("scale pairs with a zero denominator", host.Scales(96, 0)));
    rows.push_back(hostRow("scale pairs of zero over zero", host.Scales(0, 0)));
    rows.push_back(hostRow("scale numerators at INT_MAX", host.Scales(INT_MAX, 1)));
    rows.push_back(hostRow("scale numerators at INT_MIN", host.Scales(INT_MIN, 1)));
    rows.push_back(hostRow("scale denominators at INT_MIN", host.Scales(1, INT_MIN)));
    rows.push_back(hostRow("scale pairs at INT_MAX, in print", host.Scales(INT_MAX, 1).Printing()));
    rows.push_back(hostRow("a rectangle at INT_MAX", host.Rect(INT_MAX, INT_MAX, INT_MAX, INT_MAX)));
    rows.push_back(hostRow("a rectangle at INT_MIN", host.Rect(INT_MIN, INT_MIN, INT_MIN, INT_MIN)));
    rows.push_back(hostRow("a rectangle from INT_MIN to INT_MAX", host.Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX)));

    for (const BadInput& row : rows) DrawAndCheck(row);
}

TEST(BadInputTest, RunawayTemplatesStopAtTheDrawingBudgetAndSaySo) {
    const std::string kMessage = " too large to draw in full!\"";
    const BadInput rows[] = {
        InTemplate(
            "10,000-line elements, a megabyte of them",
            Repeat("<vitalline left=\"1\" top=\"1\" right=\"0.1\" bottom=\"50\" times=\"2147483647\"/>\n", 1000000)),
        InTemplate("10,000-caption rows, a megabyte of them",
                   Repeat("<vitaltext text=\"1\" left=\"1\" top=\"1\" right=\"3\" bottom=\"3\" spans=\"1\" "
                          "times=\"2147483647\" step=\"1\"/>\n",
                          1000000)),
        InTemplate("a long caption repeated 10,000 times",
                   "<vitaltext text=\"" + std::string(100000, 'x') +
                       "\" left=\"1\" top=\"1\" right=\"3\" bottom=\"3\" times=\"10000\"/>"),
        InTemplate("a megabyte caption written vertically",
                   "<vitaltext text=\"" + std::string(1000000, 'x') +
                       "\" left=\"1\" top=\"1\" right=\"3\" bottom=\"3\" spans=\"0.1\" align=\"vertical\"/>"),
        InTemplate("many curves over many readings",
                   Repeat("<vitallineout name=\"R\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1\" "
                          "base-value=\"35\" symbol=\"1\"/>\n",
                          500000)),
        InTemplate("markers a million units across",
                   Repeat("<vitallineout name=\"R\" x=\"1\" y=\"1\" cx=\"0\" cy=\"0\" scale=\"1\" base-value=\"35\" "
                          "symbol=\"8\"/>\n",
                          100000))
            .Scales(1000000, 1),
        InTemplate("a pen a thousand units wide over a grid",
                   "<vitalpen id=\"w\" pen-width=\"1000\"/>\n" +
                       Repeat("<vitalline left=\"0\" top=\"0\" right=\"0.1\" bottom=\"300\" times=\"10000\" "
                              "pen-id=\"w\"/>\n",
                              100000)),
    };
    const std::string kReadings = Repeat("<d vitalsigns=\"R\" vitalsignsvalues=\"37\" cellindex=\"1\"/>\n", 500000);
    for (BadInput row : rows) {
        row = row.ProbeFirst().Shows(kMessage);
        row.strData = kReadings;
        DrawAndCheck(row);
    }
}

TEST(BadInputTest, TheBundledChartStaysWellWithinTheDrawingBudget) {
    // The budget only ever cuts charts far beyond any real one: the example
    // week, drawn at the printer's 600 dpi, needs well under a tenth of it.
    std::string strTemplate = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml");
    std::string strData = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    ASSERT_FALSE(strTemplate.empty());
    for (BOOL bPrinting : {0, 1}) {
        TempFile templ(strTemplate);
        CRecordingDC dc(CP_UTF8, bPrinting);
        CChartRenderer renderer(&dc, CChartGeometry({0, 0, 4960, 7016}, {600, 96}, {600, 96}), templ.Path());
        renderer.ReadVitalRecords(strData.data(), static_cast<int>(strData.size()));
        renderer.DrawChart(0);
        EXPECT_FALSE(renderer.GetBudget().IsDrawnInPart());
        EXPECT_LT(renderer.GetBudget().GetUsed(), CDrawingBudget::kMaxWork / 10);
        EXPECT_EQ(dc.GetTrace().find("too large"), std::string::npos);
    }
}

TEST(BadInputTest, AMillionReadingsNobodyDrawsChangeNothing) {
    // Every element used to pay for every reading it looked at, so a long
    // data text spent the budget before the grid was drawn.
    std::string strData = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    test::TraceRun run;
    run.strTemplate = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml");
    run.strData = strData;
    const std::string strExpected = test::RenderTrace(run);
    std::string strMany;
    strMany.reserve(20000000);
    for (int i = 0; i < 1000000; ++i) strMany += "<d vitalsigns=\"x\"/>\n";
    run.strData = strMany + strData;
    EXPECT_TRUE(test::RenderTrace(run) == strExpected);
}

TEST(BadInputTest, ATagOfAHundredThousandAttributesIsReadInLinearTime) {
    // Each attribute went into a list searched from the start: a megabyte
    // tag took half a minute. Now a second is far more than it needs.
    std::string strAttributes;
    for (int i = 0; i < 100000; ++i) strAttributes += "k" + std::to_string(i) + "=\"\" ";
    BadInput row = InData("a hundred thousand attributes", "<d " + strAttributes +
                                                               "vitalsigns=\"OK\" "
                                                               "vitalsignsvalues=\"many\"/>")
                       .Shows("\"many\"");
    row.strTemplate += "<vitalpen " + strAttributes + "id=\"q\" pen-width=\"1\"/>\n";
    const auto start = std::chrono::steady_clock::now();
    DrawAndCheck(row);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(BadInputTest, TextInAPageSizedFontIsStillDrawnOnAnImage) {
    // Large text on an image is filled as outlines rather than cached as glyph
    // images, which for thousands of distinct characters took gigabytes.
    TempFile templ(
        "<vitalfont id=\"big\" font-name=\"Sans\" font-size=\"300\"/>\n"
        "<vitaltext text=\"\xe4\xbd\x93 H\" left=\"0\" top=\"0\" right=\"100\" bottom=\"100\" font-id=\"big\"/>\n");
    auto pDC = CCairoDC::CreatePng(400, 400);
    DrawPlugin(pDC.get(), 0, 0, 400, 400, 96, 96, 96, 96, templ.Path().c_str(), "", 0, "", 0);
    ASSERT_TRUE(pDC->GetError().empty()) << pDC->GetError();
    int nInked = 0;
    for (int y = 0; y < 400; y += 4) {
        for (int x = 0; x < 400; x += 4) nInked += pDC->GetPixel(x, y) != RGB(255, 255, 255) ? 1 : 0;
    }
    // A 300-unit character covers thousands of the sampled pixels.
    EXPECT_GT(nInked, 500);
}

TEST(BadInputTest, DataLengthsOfZeroOneAndShorterThanTheText) {
    const std::string strText = std::string(kReadingBefore) + kReadingAfter;
    struct Row {
        const char* pszCase;
        int nLength;
        bool bBefore;
        bool bAfter;
    } rows[] = {
        {"length 0", 0, false, false},
        {"length 1", 1, false, false},
        {"the first reading only", static_cast<int>(std::string(kReadingBefore).size()), true, false},
        {"cut inside the second reading's value", static_cast<int>(strText.find("after-38") + 5), true, false},
        {"negative", -1, false, false},
    };
    TempFile templ(std::string(kPenAndFont) + kProbeRow +
                   "<vitalline left=\"1\" top=\"2\" right=\"3\" bottom=\"4\"/>\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszCase);
        // The text in storage of exactly the length the host gives, so a read
        // past it is an overflow the sanitizers see.
        std::vector<char> text(strText.begin(), strText.begin() + (row.nLength > 0 ? row.nLength : 0));
        CRecordingDC dc;
        HostState host;
        host.Lend(dc);
        DrawPlugin(&dc, 0, 0, 800, 600, 96, 96, 96, 96, templ.Path().c_str(), text.empty() ? "" : text.data(),
                   row.nLength, "", 0);
        host.ExpectBack(dc);
        const std::string& strTrace = dc.GetTrace();
        EXPECT_TRUE(fuzz::IsWellFormedTrace(strTrace));
        // The form is drawn whatever the readings.
        EXPECT_NE(strTrace.find("moveto 4 8\nlineto 11 15\n"), std::string::npos);
        EXPECT_EQ(strTrace.find("\"before-37\"") != std::string::npos, row.bBefore);
        EXPECT_EQ(strTrace.find("\"after-38\"") != std::string::npos, row.bAfter);
        EXPECT_EQ(strTrace.find("\"after"), std::string::npos) << "a reading cut by the length was drawn";
    }
}

TEST(BadInputTest, ATemplateThatIsNoFileIsReportedNotFoundWithoutWaiting) {
    char szDir[] = "/tmp/vitalchart-bad-XXXXXX";
    ASSERT_NE(::mkdtemp(szDir), nullptr);
    const std::string strDir = szDir;
    const std::string strFifo = strDir + "/pipe.xml";
    ASSERT_EQ(::mkfifo(strFifo.c_str(), 0600), 0);
    // A named pipe without a writer would hold an open for ever; a folder
    // opens but has no end to seek.
    for (const std::string& strPath : {strFifo, strDir, strDir + "/missing.xml"}) {
        SCOPED_TRACE(strPath);
        CRecordingDC dc;
        HostState host;
        host.Lend(dc);
        const std::string strBefore = dc.GetTrace();
        const std::string strData = kReadingBefore;
        DrawPlugin(&dc, 7, 5, 800, 600, 96, 96, 96, 96, strPath.c_str(), strData.data(),
                   static_cast<int>(strData.size()), "", 0);
        host.ExpectBack(dc);
        EXPECT_EQ(dc.GetTrace(), strBefore + "textout 5 7 \"" + strPath + " not found!\"\n");
        float fWidth = -1.0f;
        float fHeight = -1.0f;
        EXPECT_EQ(GetPluginSizeByTemplet(&fWidth, &fHeight, strPath.c_str()), 0);
        EXPECT_EQ(fWidth, 0.0f);
        EXPECT_EQ(fHeight, 0.0f);
    }
    std::remove(strFifo.c_str());
    ::rmdir(strDir.c_str());
}

// The command, on files it cannot read: a one-line message naming the file,
// exit 2, and no trace on standard output.
TEST(BadInputTest, TheCommandNamesAFileItCannotReadInsteadOfDrawing) {
    char szDir[] = "/tmp/vitalchart-bad-XXXXXX";
    ASSERT_NE(::mkdtemp(szDir), nullptr);
    const std::string strDir = szDir;
    const std::string strTemplate = strDir + "/t.xml";
    std::ofstream(strTemplate) << kPenAndFont << kProbeRow;
    const std::string strFolder = strDir + "/folder.xml";
    ASSERT_EQ(::mkdir(strFolder.c_str(), 0700), 0);
    struct Row {
        std::string strArgs;
        std::string strNamed;
    } rows[] = {
        {"render '" + strDir + "/missing.xml'", "missing.xml"},
        {"render '" + strFolder + "'", "folder.xml"},
        {"size '" + strFolder + "'", "folder.xml"},
        {"render '" + strTemplate + "' --data '" + strDir + "/missing.data'", "missing.data"},
        {"render '" + strTemplate + "' --data '" + strFolder + "'", "folder.xml"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.strArgs);
        const std::string strOut = strDir + "/out";
        const std::string strErr = strDir + "/err";
        int nStatus = std::system(
            (std::string("'") + VITALCHART_CLI + "' " + row.strArgs + " >'" + strOut + "' 2>'" + strErr + "'").c_str());
        ASSERT_TRUE(WIFEXITED(nStatus));
        EXPECT_EQ(WEXITSTATUS(nStatus), 2);
        EXPECT_EQ(test::ReadFileText(strOut), "");
        std::string strMessage = test::ReadFileText(strErr);
        EXPECT_NE(strMessage.find(row.strNamed), std::string::npos) << strMessage;
        EXPECT_EQ(std::count(strMessage.begin(), strMessage.end(), '\n'), 1) << strMessage;
    }
    std::system(("rm -rf '" + strDir + "'").c_str());
}

}  // namespace
}  // namespace vitalchart
