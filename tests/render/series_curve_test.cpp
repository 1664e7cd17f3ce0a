#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/painter_fixture.h"
#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

using test::Attributes;
using test::PainterRig;

// Column 0 at x 38 (10 mm), columns 19 apart (5 mm), the base value 35 at
// y 189 (50 mm), 8 units (2 mm) per 0.2 degrees. Plotted heights: 34 at 228,
// 35 at 189, 36 at 150, 37 at 110, 37.5 at 90, 38 at 70.
CMapStringToString Curve(const char* pszSymbol) {
    return Attributes({{"name", "T"},
                       {"x", "10"},
                       {"y", "50"},
                       {"cx", "5"},
                       {"cy", "2"},
                       {"scale", "0.2"},
                       {"base-value", "35"},
                       {"symbol", pszSymbol}});
}

// What the marker painter alone draws for the kind at the point.
std::string Marker(int x, int y, int nKind) {
    PainterRig rig;
    rig.renderer.DrawSymbol(x, y, nKind);
    return rig.Trace();
}

TEST(SeriesCurve, PlotPositions) {
    struct Row {
        const char* pszName;
        int nCell;
        const char* pszValue;
        int x;
        int y;
    };
    const Row rows[] = {
        // Single-precision scale: 87.9999987 units up, truncated to 87, not 88.
        {"worked example", 0, "37.2", 38, 102},
        // -39.9999994 truncates toward zero: 39 below the base, not 40.
        {"below the base value", 1, "34", 57, 228},
        {"at the base value", 2, "35", 76, 189},
        {"not a number reads as 0", 3, "abc", 95, 1588},
        {"column product wraps", 2147483647, "35", -2147483629, 189},
        {"beyond the int range plots at INT_MIN", 0, "1e300", 38, -2147483459},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        PainterRig rig;
        rig.AddReading("T", row.nCell, row.pszValue);
        rig.Paint(&CChartRenderer::DrawVitalLineOut, Curve("3"));
        EXPECT_EQ(rig.Trace(), Marker(row.x, row.y, 3));
    }
}

TEST(SeriesCurve, BaseValueIsSinglePrecision) {
    // 35.1 as a float is 35.0999985: 35.3 then lies 1.0000076 units up at 5
    // units per degree, where a double base would give 0.99999 and 0.
    PainterRig rig;
    rig.AddReading("T", 0, "35.3");
    rig.Paint(&CChartRenderer::DrawVitalLineOut, Attributes({{"name", "T"},
                                                             {"x", "10"},
                                                             {"y", "50"},
                                                             {"cx", "5"},
                                                             {"cy", "1.3"},
                                                             {"scale", "1"},
                                                             {"base-value", "35.1"},
                                                             {"symbol", "5"}}));
    EXPECT_EQ(rig.Trace(), Marker(38, 188, 5));
}

TEST(SeriesCurve, JoinsReadingsOfOneSignInListOrder) {
    PainterRig rig;
    rig.AddReading("T", 0, "37");
    rig.AddReading("P", 0, "80");
    rig.AddReading("t", 2, "38");
    rig.AddReading("P", 1, "90");
    rig.AddReading("T", 1, "37.5");
    rig.Paint(&CChartRenderer::DrawVitalLineOut, Curve("2"));
    // Marker first, then the line from the previous reading on top of it;
    // the pulse readings in between neither draw nor break the curve, and
    // readings out of column order are joined as listed.
    EXPECT_EQ(rig.Trace(), Marker(38, 110, 2) + Marker(76, 70, 2) + "moveto 38 110\nlineto 76 70\n" +
                               Marker(57, 90, 2) + "moveto 76 70\nlineto 57 90\n");
}

TEST(SeriesCurve, EmptyValueBreaksTheCurve) {
    PainterRig rig;
    rig.AddReading("T", 0, "37");
    rig.AddReading("T", 1, "");
    rig.AddReading("T", 2, "38");
    rig.AddReading("T", 3, "36");
    rig.Paint(&CChartRenderer::DrawVitalLineOut, Curve("0"));
    // Symbol 0 draws the lines without markers.
    EXPECT_EQ(rig.Trace(), "moveto 76 70\nlineto 95 150\n");
}

TEST(SeriesCurve, SpecialSymbolsByFlag) {
    struct Row {
        int nFlag;
        const char* pszSpecial;   // null: absent
        const char* pszSpecial2;  // null: absent
        int nKind;
    };
    const Row rows[] = {
        {0, "4", "6", 2}, {1, "4", "6", 4},     {1, nullptr, "6", 2}, {1, "-1", "6", 2}, {1, "0", nullptr, 0},
        {2, "4", "6", 6}, {2, "4", nullptr, 2}, {2, "4", "-5", 2},    {3, "4", "6", 2},  {-1, "4", "6", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("flag " + std::to_string(row.nFlag) + " special " + (row.pszSpecial ? row.pszSpecial : "-") +
                     " special2 " + (row.pszSpecial2 ? row.pszSpecial2 : "-"));
        PainterRig rig;
        rig.AddReading("T", 0, "37", "", -1, row.nFlag);
        CMapStringToString map = Curve("2");
        if (row.pszSpecial != nullptr) map.SetAt("special-symbol", row.pszSpecial);
        if (row.pszSpecial2 != nullptr) map.SetAt("special-symbol2", row.pszSpecial2);
        rig.Paint(&CChartRenderer::DrawVitalLineOut, map);
        EXPECT_EQ(rig.Trace(), Marker(38, 110, row.nKind));
    }
}

TEST(SeriesCurve, ElementsThatCannotPlotDrawNoReadings) {
    struct Row {
        const char* pszName;
        const char* pszKey;
        const char* pszValue;  // null: remove the attribute
    };
    const Row rows[] = {
        {"no name", "name", nullptr},
        {"no scale", "scale", nullptr},
        {"no base value", "base-value", nullptr},
        {"no symbol", "symbol", nullptr},
        // A scale that cannot place a reading still selects the element's pen.
        {"scale 0", "scale", "0"},
        {"scale 0.000", "scale", "0.000"},
        {"scale below the float range", "scale", "1e-60"},
        {"infinite scale", "scale", "1e400"},
        {"scale written as a word", "scale", "nan"},
        {"scale beyond the float range", "scale", "1e60"},
        {"infinite base value", "base-value", "-1e400"},
    };
    const char* pszBase = "<vitalpen id=\"p1\" pen-width=\"1\" color=\"0,255,0\"/>\n";
    for (const char* pszElement : {"vitallineout", "vitallineblock"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(pszElement) + ": " + row.pszName);
            std::vector<std::pair<std::string, std::string>> attrs = {
                {"name", "T"},    {"x", "10"},          {"y", "50"},     {"cx", "5"},     {"cy", "2"},
                {"scale", "0.2"}, {"base-value", "35"}, {"symbol", "2"}, {"pen-id", "p1"}};
            std::string strTag = std::string("<") + pszElement;
            for (const auto& attr : attrs) {
                std::string strValue = attr.second;
                if (attr.first == row.pszKey) {
                    if (row.pszValue == nullptr) continue;
                    strValue = row.pszValue;
                }
                strTag += " " + attr.first + "=\"" + strValue + "\"";
            }
            test::TraceRun run;
            run.strTemplate = std::string(pszBase) + strTag + "/>\n";
            run.strData =
                "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"0\"/>\n"
                "<d vitalsigns=\"T\" vitalsignsvalues=\"38\" cellindex=\"1\"/>\n";
            std::string strTrace = test::RenderTrace(run);
            // A missing attribute leaves the element out altogether, pen and all.
            const bool bMissing = row.pszValue == nullptr;
            EXPECT_EQ(strTrace.find("#00ff00") == std::string::npos, bMissing) << strTrace;
            EXPECT_EQ(test::GrepTrace(strTrace, "ellipse") + test::GrepTrace(strTrace, "lineto"), "") << strTrace;
        }
    }
}

TEST(SeriesCurve, ThroughTheTemplate) {
    test::TraceRun run;
    run.strTemplate =
        "<vitalpen id=\"p1\" pen-width=\"1\" color=\"0,255,0\"/>\n"
        "<vitallineout name=\"T\" x=\"10\" y=\"50\" cx=\"5\" cy=\"2\" scale=\"0.2\" base-value=\"35\" symbol=\"2\" "
        "special-symbol=\"3\" pen-id=\"p1\"/>\n"
        "<vitalpen id=\"p2\" pen-width=\"1\" color=\"0,0,9\"/>\n"
        // No reading of this name: the pen is selected all the same.
        "<vitallineout name=\"R\" x=\"10\" y=\"50\" cx=\"5\" cy=\"2\" scale=\"1\" base-value=\"0\" symbol=\"2\" "
        "pen-id=\"p2\"/>\n";
    run.strData =
        "<d vitalsigns=\"T\" vitalsignsvalues=\"37.2\" cellindex=\"0\"/>\n"
        "<d vitalsigns=\"T\" vitalsignsvalues=\"36\" cellindex=\"1\" specialSymbolFlag=\"1\"/>\n";
    std::string strTrace = test::RenderTrace(run);
    // Markers bring their own pens and put the curve's green pen back.
    std::string strMarkers = Marker(38, 102, 2) + Marker(57, 150, 3);
    const std::string strBlack = "pen 0 1 #000000\n";
    for (std::size_t nAt = strMarkers.find(strBlack); nAt != std::string::npos; nAt = strMarkers.find(strBlack, nAt)) {
        strMarkers.replace(nAt, strBlack.size(), "pen 0 1 #00ff00\n");
    }
    std::string strExpected = "pen 0 1 #00ff00\n" + strMarkers + "moveto 38 102\nlineto 57 150\npen 0 1 #000009\n";
    std::size_t nFirst = strTrace.find("pen 0 1 #00ff00");
    ASSERT_NE(nFirst, std::string::npos) << strTrace;
    EXPECT_EQ(strTrace.substr(nFirst, strExpected.size()), strExpected);
}

TEST(SeriesCurve, LineBlockLinksOriginalValues) {
    struct Row {
        const char* pszName;
        int nCell;
        const char* pszValue;
        const char* pszOriginal;
        int nOriginalCell;
        std::string strExpected;
    };
    const Row rows[] = {
        {"carried over from column 3", 4, "37", "36", 3, "moveto 95 150\nlineto 114 110\n"},
        {"original column 0 counts", 4, "37", "36", 0, "moveto 38 150\nlineto 114 110\n"},
        {"own column without an original value", 1, "37", "", -1, Marker(57, 110, 3)},
        {"own column with an original value", 1, "37", "38", -1, Marker(57, 110, 3) + "moveto 57 70\nlineto 57 110\n"},
        {"empty value is plotted as 0", 1, "", "", -1, Marker(57, 1588, 3)},
        {"carried over without an original value", 4, "37", "", 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        PainterRig rig;
        rig.AddReading("T", row.nCell, row.pszValue, row.pszOriginal, row.nOriginalCell);
        rig.Paint(&CChartRenderer::DrawVitalLineBlock, Curve("3"));
        EXPECT_EQ(rig.Trace(), row.strExpected);
    }
}

TEST(SeriesCurve, LineBlockDoesNotChainReadings) {
    PainterRig rig;
    rig.AddReading("T", 0, "37");
    rig.AddReading("P", 1, "80");
    rig.AddReading("T", 1, "38", "36", 0);
    rig.AddReading("T", 2, "36");
    CMapStringToString map = Curve("5");
    // Special symbols belong to vitallineout only.
    map.SetAt("special-symbol", "2");
    rig.Paint(&CChartRenderer::DrawVitalLineBlock, map);
    EXPECT_EQ(rig.Trace(), Marker(38, 110, 5) + "moveto 38 150\nlineto 57 70\n" + Marker(76, 150, 5));
}

}  // namespace
}  // namespace vitalchart
