#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/painter_fixture.h"
#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

using test::Attributes;
using test::PainterRig;

// Cells 38 units (10 mm) wide and 19 (5 mm) high; cell 0 runs from x 38 to
// 76 and every cell from y 189 to 208. The default font is 16 high and each
// byte 8 wide.
CMapStringToString Row(std::initializer_list<std::pair<const char*, const char*>> extra) {
    CMapStringToString map = Attributes({{"name", "N"}, {"x", "10"}, {"y", "50"}, {"cx", "10"}, {"cy", "5"}});
    for (const auto& pair : extra) map.SetAt(pair.first, pair.second);
    return map;
}

TEST(SeriesText, ReadingsGoIntoTheirCells) {
    PainterRig rig;
    rig.AddReading("N", 0, "12");
    rig.AddReading("N", 5, "7");
    rig.Paint(&CChartRenderer::DrawVitalTextOut, Row({}));
    EXPECT_EQ(rig.Trace(), "drawtext 38 190 54 206 0x800 \"12\"\ndrawtext 228 190 236 206 0x800 \"7\"\n");
}

TEST(SeriesText, PlacementInTheCell) {
    struct Case {
        const char* pszName;
        UINT nCodePage;
        const char* pszValue;
        std::vector<std::pair<const char*, const char*>> extra;
        const char* pszExpected;
    };
    const Case cases[] = {
        {"centre", CP_UTF8, "12", {{"align", "center"}}, "drawtext 49 190 65 206 0x801 \"12\"\n"},
        {"right edge meets the cell's", CP_UTF8, "12", {{"align", "Right"}}, "drawtext 60 190 76 206 0x802 \"12\"\n"},
        {"wider than the cell, centred",
         CP_UTF8,
         "ABCDEFGHIJK",
         {{"align", "center"}},
         "drawtext 13 190 101 206 0x801 \"ABCDEFGHIJK\"\n"},
        {"wider than the cell, right",
         CP_UTF8,
         "ABCDEFGHIJK",
         {{"align", "right"}},
         "drawtext -12 190 76 206 0x802 \"ABCDEFGHIJK\"\n"},
        {"ampersand drawn as itself", CP_UTF8, "A&B", {}, "drawtext 38 190 62 206 0x800 \"A&B\"\n"},
        {"vertical without spans: one spot",
         CP_GBK,
         "\xb0\xa1\xb0\xa2",
         {{"align", "vertical"}},
         "drawtext 38 189 76 208 0x800 \"\\xb0\\xa1\"\ndrawtext 38 189 76 208 0x800 \"\\xb0\\xa2\"\n"},
        // "spans" is not multiplied here, unlike in a caption.
        {"vertical with spans",
         CP_GBK,
         "\xb0\xa1"
         "A",
         {{"align", "vertical"}, {"spans", "5"}, {"multiple", "3"}},
         "drawtext 38 189 76 208 0x800 \"\\xb0\\xa1\"\ndrawtext 38 208 76 227 0x800 \"A\"\n"},
        {"vertical UTF-8",
         CP_UTF8,
         "\xe8\x84\x89"
         "1",
         {{"align", "vertical"}, {"spans", "5"}},
         "drawtext 38 189 76 208 0x800 \"\\xe8\\x84\\x89\"\ndrawtext 38 208 76 227 0x800 \"1\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        PainterRig rig(c.nCodePage);
        rig.AddReading("N", 0, c.pszValue);
        CMapStringToString map = Row({});
        for (const auto& pair : c.extra) map.SetAt(pair.first, pair.second);
        rig.Paint(&CChartRenderer::DrawVitalTextOut, map);
        EXPECT_EQ(rig.Trace(), c.pszExpected);
    }
}

TEST(SeriesText, OnlyReadingsOfTheNamedSign) {
    PainterRig rig;
    rig.AddReading("n", 0, "1");
    rig.AddReading("X", 0, "2");
    rig.AddReading("N", 0, "3");
    rig.Paint(&CChartRenderer::DrawVitalTextOut, Row({}));
    EXPECT_EQ(rig.Trace(), "drawtext 38 190 46 206 0x800 \"1\"\ndrawtext 38 190 46 206 0x800 \"3\"\n");

    PainterRig unnamed;
    unnamed.AddReading("N", 0, "1");
    unnamed.Paint(&CChartRenderer::DrawVitalTextOut, Attributes({{"x", "10"}, {"y", "50"}, {"cx", "10"}, {"cy", "5"}}));
    EXPECT_EQ(unnamed.Trace(), "");
}

TEST(SeriesText, AbsentCellReadsAsZero) {
    PainterRig rig;
    rig.AddReading("N", 3, "12");
    rig.Paint(&CChartRenderer::DrawVitalTextOut, Attributes({{"name", "N"}}));
    EXPECT_EQ(rig.Trace(), "drawtext 0 -8 16 8 0x800 \"12\"\n");
}

TEST(SeriesText, ThroughTheTemplate) {
    test::TraceRun run;
    run.strTemplate =
        "<vitalfont id=\"f1\" font-name=\"Song\" font-size=\"20\" text-color=\"0,0,255\"/>\n"
        // Without a name nothing is read, so the font is not selected either.
        "<vitaltextout x=\"10\" y=\"50\" cx=\"10\" cy=\"5\" font-id=\"f1\"/>\n"
        "<vitaltextout name=\"N\" x=\"10\" y=\"50\" cx=\"10\" cy=\"5\" align=\"center\" font-id=\"f1\"/>\n";
    run.strData =
        "<d vitalsigns=\"N\" vitalsignsvalues=\"12\" cellindex=\"0\"/>"
        "<d vitalsigns=\"N\" vitalsignsvalues=\"3\" cellindex=\"2\"/>\n";
    std::string strTrace = test::RenderTrace(run);
    EXPECT_EQ(test::GrepTrace(strTrace, "font \"Song\""), "font \"Song\" -20 400 0 0\n");
    // 20 high, each byte 10 wide; (19 - 20) / 2 truncates to 0.
    EXPECT_EQ(test::GrepTrace(strTrace, "drawtext"),
              "drawtext 47 189 67 209 0x801 \"12\"\ndrawtext 128 189 138 209 0x801 \"3\"\n");
    EXPECT_LT(strTrace.find("textcolor #0000ff"), strTrace.find("drawtext"));
}

}  // namespace
}  // namespace vitalchart
