#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/painter_fixture.h"
#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

using test::Attributes;
using test::CountLines;
using test::PainterRig;

// The recording surface's default font is 16 high, so every byte is 8 wide.
// At 1:1: 1.3 mm is 5 device units, 5 mm 19, 10 mm 38, 20 mm 76.

TEST(VitalText, PlacementInTheBox) {
    struct Row {
        const char* pszAlign;  // null: absent
        const char* pszText;
        const char* pszExpected;
    };
    // The box is 38,19 to 114,57: "right" and "bottom" are its width and height.
    const Row rows[] = {
        {nullptr, "AB", "drawtext 38 30 54 46 0x800 \"AB\"\n"},
        {"middle", "AB", "drawtext 38 30 54 46 0x800 \"AB\"\n"},
        {"center", "AB", "drawtext 68 30 84 46 0x801 \"AB\"\n"},
        {"CENTER", "AB", "drawtext 68 30 84 46 0x801 \"AB\"\n"},
        {"right", "AB", "drawtext 98 30 114 46 0x802 \"AB\"\n"},
        {"center", "A&B", "drawtext 64 30 88 46 0x801 \"A&B\"\n"},
        {"vertical", "AB", "drawtext 38 19 114 57 0x800 \"A\"\ndrawtext 38 19 114 57 0x800 \"B\"\n"},
        {"center", "", "drawtext 76 38 76 38 0x801 \"\"\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.pszAlign != nullptr ? row.pszAlign : "(absent)") + " " + row.pszText);
        PainterRig rig;
        CMapStringToString map =
            Attributes({{"text", row.pszText}, {"left", "10"}, {"top", "5"}, {"right", "20"}, {"bottom", "10"}});
        if (row.pszAlign != nullptr) map.SetAt("align", row.pszAlign);
        rig.Paint(&CChartRenderer::DrawVitalText, map);
        EXPECT_EQ(rig.Trace(), row.pszExpected);
    }
}

TEST(VitalText, CaptionWiderThanItsBoxOverhangs) {
    // Box 38,19 to 57,24; the caption is 80 by 16. Halves truncate toward
    // zero: (19 - 80) / 2 is -30 and (5 - 16) / 2 is -5.
    const std::pair<const char*, const char*> rows[] = {
        {"left", "drawtext 38 14 118 30 0x800 \"ABCDEFGHIJ\"\n"},
        {"center", "drawtext 8 14 88 30 0x801 \"ABCDEFGHIJ\"\n"},
        {"right", "drawtext -23 14 57 30 0x802 \"ABCDEFGHIJ\"\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        PainterRig rig;
        rig.Paint(&CChartRenderer::DrawVitalText, Attributes({{"text", "ABCDEFGHIJ"},
                                                              {"left", "10"},
                                                              {"top", "5"},
                                                              {"right", "5"},
                                                              {"bottom", "1.3"},
                                                              {"align", row.first}}));
        EXPECT_EQ(rig.Trace(), row.second);
    }
}

TEST(VitalText, RepeatedAndNumberedCaptions) {
    struct Row {
        const char* pszName;
        std::vector<std::pair<const char*, const char*>> extra;
        const char* pszExpected;
    };
    // Box 38,19 to 76,38; two-byte captions land 1 unit down in it.
    const Row rows[] = {
        {"counting up",
         {{"text", "35"}, {"times", "3"}, {"step", "2"}, {"spans", "10"}},
         "drawtext 38 20 54 36 0x800 \"35\"\ndrawtext 76 20 92 36 0x800 \"37\"\ndrawtext 114 20 130 36 0x800 \"39\"\n"},
        {"counting down, downwards",
         {{"text", "42"}, {"times", "3"}, {"step", "-1"}, {"spans", "10"}, {"direction", "Y"}},
         "drawtext 38 20 54 36 0x800 \"42\"\ndrawtext 38 58 54 74 0x800 \"41\"\ndrawtext 38 96 54 112 0x800 \"40\"\n"},
        {"spans times multiple",
         {{"text", "1"}, {"times", "2"}, {"spans", "5"}, {"multiple", "2"}},
         "drawtext 38 20 46 36 0x800 \"1\"\ndrawtext 76 20 84 36 0x800 \"1\"\n"},
        {"no digits: numbering starts from 0",
         {{"text", "ab"}, {"times", "3"}, {"step", "5"}},
         "drawtext 38 20 54 36 0x800 \"ab\"\ndrawtext 38 20 46 36 0x800 \"5\"\ndrawtext 38 20 54 36 0x800 \"10\"\n"},
        {"vertical repeats are drawn whole, left-aligned",
         {{"text", "AB"}, {"times", "2"}, {"spans", "10"}, {"align", "vertical"}},
         "drawtext 38 20 54 36 0x800 \"AB\"\ndrawtext 76 20 92 36 0x800 \"AB\"\n"},
        {"numbering wraps around",
         {{"text", "2147483647"}, {"times", "2"}, {"step", "1"}},
         "drawtext 38 20 118 36 0x800 \"2147483647\"\ndrawtext 38 20 126 36 0x800 \"-2147483648\"\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        PainterRig rig;
        CMapStringToString map = Attributes({{"left", "10"}, {"top", "5"}, {"right", "10"}, {"bottom", "5"}});
        for (const auto& pair : row.extra) map.SetAt(pair.first, pair.second);
        rig.Paint(&CChartRenderer::DrawVitalText, map);
        EXPECT_EQ(rig.Trace(), row.pszExpected);
    }
}

TEST(VitalText, RepeatCountIsCapped) {
    PainterRig rig;
    rig.Paint(&CChartRenderer::DrawVitalText, Attributes({{"text", "1"}, {"times", "2147483647"}, {"step", "1"}}));
    EXPECT_EQ(CountLines(rig.Trace(), "drawtext"), kMaxRepeat);
    EXPECT_NE(rig.Trace().find("\"10000\""), std::string::npos);
    EXPECT_EQ(rig.Trace().find("\"10001\""), std::string::npos);
}

TEST(VitalText, VerticalTextKeepsCharactersWhole) {
    struct Row {
        const char* pszName;
        UINT nCodePage;
        const char* pszText;
        const char* pszSpans;  // null: absent
        const char* pszExpected;
    };
    const Row rows[] = {
        {"GBK double-byte", CP_GBK,
         "\xb0\xa1\xb0\xa2"
         "A",
         "5",
         "drawtext 38 19 114 57 0x800 \"\\xb0\\xa1\"\ndrawtext 38 38 114 76 0x800 \"\\xb0\\xa2\"\n"
         "drawtext 38 57 114 95 0x800 \"A\"\n"},
        {"GBK lead byte without its trail", CP_GBK, "A\xb0", "5",
         "drawtext 38 19 114 57 0x800 \"A\"\ndrawtext 38 38 114 76 0x800 \"\\xb0\"\n"},
        {"UTF-8", CP_UTF8, "\xe4\xbd\x93\xe6\xb8\xa9", "5",
         "drawtext 38 19 114 57 0x800 \"\\xe4\\xbd\\x93\"\ndrawtext 38 38 114 76 0x800 \"\\xe6\\xb8\\xa9\"\n"},
        {"without spans every character on one spot", CP_GBK,
         "\xb0\xa1"
         "&",
         nullptr, "drawtext 38 19 114 57 0x800 \"\\xb0\\xa1\"\ndrawtext 38 19 114 57 0x800 \"&\"\n"},
        {"empty text", CP_GBK, "", "5", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        PainterRig rig(row.nCodePage);
        CMapStringToString map = Attributes({{"text", row.pszText},
                                             {"left", "10"},
                                             {"top", "5"},
                                             {"right", "20"},
                                             {"bottom", "10"},
                                             {"align", "vertical"}});
        if (row.pszSpans != nullptr) map.SetAt("spans", row.pszSpans);
        rig.Paint(&CChartRenderer::DrawVitalText, map);
        EXPECT_EQ(rig.Trace(), row.pszExpected);
    }
}

TEST(VitalText, AbsentBoxReadsAsZero) {
    PainterRig rig;
    rig.Paint(&CChartRenderer::DrawVitalText, Attributes({{"text", "AB"}, {"align", "right"}}));
    EXPECT_EQ(rig.Trace(), "drawtext -16 -8 0 8 0x802 \"AB\"\n");
}

TEST(VitalText, ThroughTheTemplate) {
    test::TraceRun run;
    run.strTemplate =
        "<vitalfont id=\"f1\" font-name=\"Song\" font-size=\"20\" text-color=\"0,0,255\"/>\n"
        // Without a caption nothing is read, so the font is not selected either.
        "<vitaltext left=\"10\" top=\"5\" right=\"20\" bottom=\"10\" font-id=\"f1\"/>\n"
        "<vitaltext text=\"AB\" left=\"10\" top=\"5\" right=\"20\" bottom=\"10\" align=\"center\" font-id=\"F1\"/>\n";
    std::string strTrace = test::RenderTrace(run);
    EXPECT_EQ(CountLines(strTrace, "font \"Song\" -20 400 0 0"), 1);
    // 20 high, each byte 10 wide: centred in 38,19 to 114,57.
    EXPECT_EQ(test::GrepTrace(strTrace, "drawtext"), "drawtext 66 28 86 48 0x801 \"AB\"\n");
    std::size_t nFont = strTrace.find("font \"Song\"");
    std::size_t nColour = strTrace.find("textcolor #0000ff");
    std::size_t nDraw = strTrace.find("drawtext");
    EXPECT_LT(nFont, nColour);
    EXPECT_LT(nColour, nDraw);
}

}  // namespace
}  // namespace vitalchart
