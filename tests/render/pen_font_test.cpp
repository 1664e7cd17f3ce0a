#include <gtest/gtest.h>

#include <string>

#include "render/chart_renderer.h"
#include "render/color_triple.h"
#include "render/painter_fixture.h"
#include "support/trace_fixture.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

CMapStringToString Map(std::initializer_list<std::pair<const char*, const char*>> entries) {
    CMapStringToString map;
    for (const auto& e : entries) map.SetAt(e.first, e.second);
    return map;
}

TEST(ColorTripleTest, ReadsUpToThreeFiguresAndKeepsLowBytes) {
    struct Row {
        const char* text;
        ColorRead read;
        COLORREF colour;
    } rows[] = {
        {"255,0,0", ColorRead::kAll, RGB(255, 0, 0)},      {"0, 128 ,255", ColorRead::kAll, RGB(0, 128, 255)},
        {"256,-1,511", ColorRead::kAll, RGB(0, 255, 255)}, {"1,2,3,4", ColorRead::kAll, RGB(1, 2, 3)},
        {"255,128", ColorRead::kRedOnly, RGB(255, 0, 0)},  {"0,255", ColorRead::kRedOnly, RGB(0, 0, 0)},
        {"255", ColorRead::kNone, RGB(0, 0, 0)},           {"", ColorRead::kNone, RGB(0, 0, 0)},
        {"a,b,c", ColorRead::kAll, RGB(0, 0, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ColorTriple t = ParseColorTriple(r.text);
        EXPECT_EQ(t.read, r.read);
        EXPECT_EQ(t.ToColorRef(), r.colour);
    }
}

TEST(PenEntryTest, WidthStyleAndColourFromTheAttributes) {
    struct Row {
        CMapStringToString attrs;
        int num, den;
        BOOL colour;
        BOOL ok;
        int style, width;
        COLORREF cr;
    } rows[] = {
        {Map({{"id", "a"}, {"pen-width", "2"}}), 600, 96, 1, 1, 0, 13, 0},
        {Map({{"id", "a"}, {"pen-width", "1.5"}}), 1, 1, 1, 1, 0, 1, 0},
        {Map({{"id", "a"}, {"pen-width", "2"}, {"pen-style", "-3"}}), 1, 1, 1, 1, 0, 2, 0},
        {Map({{"id", "a"}, {"pen-width", "5"}, {"pen-style", "9"}}), 1, 1, 1, 1, 4, 1, 0},
        {Map({{"id", "a"}, {"pen-width", "5"}, {"pen-style", "2"}}), 1, 1, 1, 1, 2, 1, 0},
        {Map({{"id", "a"}, {"pen-width", "1"}, {"color", "255,0,0"}}), 1, 1, 1, 1, 0, 1, RGB(255, 0, 0)},
        {Map({{"id", "a"}, {"pen-width", "1"}, {"color", "255,0,0"}}), 1, 1, 0, 1, 0, 1, 0},
        {Map({{"id", "a"}, {"pen-width", "1"}, {"color", "255,128"}}), 1, 1, 1, 1, 0, 1, RGB(255, 0, 0)},
        {Map({{"id", "a"}, {"pen-width", "1"}}), 1, 0, 1, 1, 0, -1, 0},
        {Map({{"pen-width", "1"}}), 1, 1, 1, 0, 0, 0, 0},
        {Map({{"id", "a"}}), 1, 1, 1, 0, 0, 0, 0},
        {Map({{"id", "a"}, {"Pen-width", "1"}}), 1, 1, 1, 0, 0, 0, 0},
    };
    int nRow = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(nRow++);
        CPenEntry entry;
        EXPECT_EQ(
            entry.CreateFromAttributes(test::ElementInput(kElementPen, r.attrs).attributes, r.num, r.den, r.colour),
            r.ok);
        if (!r.ok) continue;
        ASSERT_NE(entry.m_pPen, nullptr);
        EXPECT_EQ(entry.m_strId, "a");
        EXPECT_EQ(entry.m_pPen->m_nStyle, r.style);
        EXPECT_EQ(entry.m_pPen->m_nWidth, r.width);
        EXPECT_EQ(entry.m_pPen->m_crColor, r.cr);
    }
}

TEST(FontEntryTest, DescriptionFromTheAttributes) {
    CFontEntry entry;
    const CMapStringToString full = Map({{"id", "f"},
                                         {"font-name", "SimSun"},
                                         {"font-size", "10.5"},
                                         {"font-bold", "TRUE"},
                                         {"font-underline", "true"},
                                         {"font-inital", "True"},
                                         {"text-color", "0,0,255"}});
    ASSERT_TRUE(entry.CreateFromAttributes(test::ElementInput(kElementFont, full).attributes, 1, 1));
    const LOGFONT& lf = entry.m_pFont->m_logFont;
    EXPECT_STREQ(lf.lfFaceName, "SimSun");
    EXPECT_EQ(lf.lfHeight, -10);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfCharSet, 1);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_TRUE(entry.m_bHasColor);
    EXPECT_EQ(entry.m_crText, RGB(0, 0, 255));

    CFontEntry plain;
    const CMapStringToString long40 = Map({{"id", "f"},
                                           {"font-name", std::string(40, 'x').c_str()},
                                           {"font-size", "12"},
                                           {"font-bold", "1"},
                                           {"text-color", "255,0"}});
    ASSERT_TRUE(plain.CreateFromAttributes(test::ElementInput(kElementFont, long40).attributes, 600, 96));
    EXPECT_EQ(std::string(plain.m_pFont->m_logFont.lfFaceName), std::string(31, 'x'));
    EXPECT_EQ(plain.m_pFont->m_logFont.lfHeight, -75);
    EXPECT_EQ(plain.m_pFont->m_logFont.lfWeight, 400);
    EXPECT_FALSE(plain.m_bHasColor);

    for (const char* missing : {"id", "font-name", "font-size"}) {
        SCOPED_TRACE(missing);
        CMapStringToString attrs = Map({{"id", "f"}, {"font-name", "SimSun"}, {"font-size", "12"}});
        CMapStringToString without;
        for (const auto& e : attrs.Entries()) {
            if (e.first != missing) without.SetAt(e.first, e.second);
        }
        CFontEntry rejected;
        EXPECT_FALSE(rejected.CreateFromAttributes(test::ElementInput(kElementFont, without).attributes, 1, 1));
    }
}

TEST(FontEntryTest, FaceNameCutKeepsDoubleByteCharactersWhole) {
    std::string strGbk = "A";
    for (int i = 0; i < 20; ++i) strGbk += "\xcb\xce";
    CFontEntry entry;
    const CMapStringToString gbk = Map({{"id", "f"}, {"font-name", strGbk.c_str()}, {"font-size", "9"}});
    ASSERT_TRUE(entry.CreateFromAttributes(test::ElementInput(kElementFont, gbk, CP_GBK).attributes, 1, 1));
    EXPECT_EQ(std::string(entry.m_pFont->m_logFont.lfFaceName), strGbk.substr(0, 31));
    CFontEntry cut;
    const std::string strCut = "AB" + strGbk.substr(1);
    const CMapStringToString cutMap = Map({{"id", "f"}, {"font-name", strCut.c_str()}, {"font-size", "9"}});
    ASSERT_TRUE(cut.CreateFromAttributes(test::ElementInput(kElementFont, cutMap, CP_GBK).attributes, 1, 1));
    EXPECT_EQ(std::string(cut.m_pFont->m_logFont.lfFaceName).size(), 30u);
}

// Selection by id, seen through whole templates.
using test::GrepTrace;
using test::RenderTrace;
using test::TraceRun;

TEST(PenFontSelectionTest, FirstDeclaredMatchWinsIgnoringCase) {
    TraceRun run;
    run.strTemplate =
        "<vitalpen id=\"Grid\" pen-width=\"1\" color=\"255,0,0\"/>\n"
        "<vitalpen id=\"grid\" pen-width=\"1\" color=\"0,0,255\"/>\n"
        "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"GRID\"/>\n"
        "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"nobody\"/>\n";
    EXPECT_EQ(GrepTrace(RenderTrace(run), "pen "), "pen 0 1 #ff0000\npen 0 1 #000000\n");
}

TEST(PenFontSelectionTest, PrintColourOffMakesLaterPensBlackInPrintOnly) {
    const std::string strTemplate =
        "<vitalpen id=\"early\" pen-width=\"1\" color=\"255,0,0\"/>\n"
        "<vitalsize width=\"10\" height=\"10\" print-color=\"false\"/>\n"
        "<vitalpen id=\"late\" pen-width=\"1\" color=\"255,0,0\"/>\n"
        "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"early\"/>\n"
        "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"late\"/>\n";
    TraceRun screen;
    screen.strTemplate = strTemplate;
    EXPECT_EQ(GrepTrace(RenderTrace(screen), "pen 0 1 #ff"), "pen 0 1 #ff0000\npen 0 1 #ff0000\n");
    TraceRun print = screen;
    print.bPrinting = 1;
    EXPECT_EQ(GrepTrace(RenderTrace(print), "pen 0 1 #"), "pen 0 1 #ff0000\npen 0 1 #000000\npen 0 1 #000000\n");
}

TEST(PenFontSelectionTest, FontColourOnlyWhereColourIsAllowed) {
    const std::string strTemplate =
        "<vitalfont id=\"f\" font-name=\"SimSun\" font-size=\"12\" text-color=\"0,0,255\"/>\n"
        "<vitalsize print-color=\"FALSE\"/>\n"
        "<vitaltextout name=\"x\" x=\"0\" y=\"0\" cx=\"1\" cy=\"1\" font-id=\"F\"/>\n";
    TraceRun screen;
    screen.strTemplate = strTemplate;
    std::string strScreen = RenderTrace(screen);
    EXPECT_NE(strScreen.find("font \"SimSun\" -12 400 0 0\ntextcolor #0000ff\n"), std::string::npos) << strScreen;
    TraceRun print = screen;
    print.bPrinting = 1;
    std::string strPrint = RenderTrace(print);
    EXPECT_NE(strPrint.find("font \"SimSun\" -12 400 0 0\n"), std::string::npos) << strPrint;
    EXPECT_EQ(strPrint.find("textcolor #0000ff"), std::string::npos) << strPrint;
}

}  // namespace
}  // namespace vitalchart
