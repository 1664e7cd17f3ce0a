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

// At 1:1: 5 mm is 19 device units, 10 mm 38, 20 mm 76, 50 mm 189.

TEST(VitalLine, RepeatCountBelowTwo) {
    struct Row {
        const char* pszTimes;  // null: absent
        const char* pszExpected;
    };
    const Row rows[] = {
        {nullptr, "moveto 38 19\nlineto 189 76\n"},
        {"0", "moveto 38 19\nlineto 189 76\n"},
        {"-3", "moveto 38 19\nlineto 189 76\n"},
        {"abc", "moveto 38 19\nlineto 189 76\n"},
        // One cell has no inner separator.
        {"1", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszTimes != nullptr ? row.pszTimes : "(absent)");
        PainterRig rig;
        CMapStringToString map = Attributes({{"left", "10"}, {"top", "5"}, {"right", "50"}, {"bottom", "20"}});
        if (row.pszTimes != nullptr) map.SetAt("times", row.pszTimes);
        rig.Paint(&CChartRenderer::DrawVitalLine, map);
        EXPECT_EQ(rig.Trace(), row.pszExpected);
    }
}

TEST(VitalLine, FamilyDrawsInnerSeparatorsOnly) {
    struct Row {
        const char* pszName;
        std::vector<std::pair<const char*, const char*>> extra;
        const char* pszExpected;
    };
    const Row rows[] = {
        {"vertical lines, spacing from right",
         {{"right", "5"}, {"times", "5"}},
         "moveto 57 19\nlineto 57 76\nmoveto 76 19\nlineto 76 76\n"
         "moveto 95 19\nlineto 95 76\nmoveto 114 19\nlineto 114 76\n"},
        {"multiple scales the spacing",
         {{"right", "5"}, {"times", "3"}, {"multiple", "2"}},
         "moveto 76 19\nlineto 76 76\nmoveto 114 19\nlineto 114 76\n"},
        {"direction x counts as absent",
         {{"right", "5"}, {"times", "2"}, {"direction", "x"}},
         "moveto 57 19\nlineto 57 76\n"},
        {"direction Y gives horizontal lines, spacing from bottom",
         {{"right", "50"}, {"bottom", "5"}, {"times", "4"}, {"direction", "Y"}},
         "moveto 38 38\nlineto 189 38\nmoveto 38 57\nlineto 189 57\nmoveto 38 76\nlineto 189 76\n"},
        {"negative multiple runs backwards",
         {{"right", "5"}, {"times", "2"}, {"multiple", "-1"}},
         "moveto 19 19\nlineto 19 76\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        PainterRig rig;
        CMapStringToString map = Attributes({{"left", "10"}, {"top", "5"}, {"bottom", "20"}});
        for (const auto& pair : row.extra) map.SetAt(pair.first, pair.second);
        rig.Paint(&CChartRenderer::DrawVitalLine, map);
        EXPECT_EQ(rig.Trace(), row.pszExpected);
    }
}

TEST(VitalLine, RepeatCountIsCapped) {
    struct Row {
        const char* pszTimes;
        int nLines;
    };
    const Row rows[] = {{"10000", 9999}, {"10001", 10000}, {"10002", 10000}, {"2147483647", 10000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszTimes);
        PainterRig rig;
        rig.Paint(&CChartRenderer::DrawVitalLine,
                  Attributes({{"right", "1"}, {"bottom", "1"}, {"times", row.pszTimes}}));
        EXPECT_EQ(CountLines(rig.Trace(), "lineto"), row.nLines);
        EXPECT_EQ(CountLines(rig.Trace(), "moveto"), row.nLines);
    }
}

TEST(VitalLine, PositionsWrapAroundAs32BitCoordinates) {
    PainterRig rig(RECT{2147483600, 0, 100, 800});
    rig.Paint(&CChartRenderer::DrawVitalLine,
              Attributes({{"left", "left"}, {"top", "0"}, {"right", "right"}, {"bottom", "0"}, {"times", "3"}}));
    EXPECT_EQ(rig.Trace(), "moveto -2147483596 0\nlineto -2147483596 0\nmoveto -2147483496 0\nlineto -2147483496 0\n");

    PainterRig big(RECT{0, 0, 2000000000, 800});
    big.Paint(&CChartRenderer::DrawVitalLine, Attributes({{"right", "right"}, {"times", "2"}, {"multiple", "3"}}));
    // 6,000,000,000 taken modulo 2^32.
    EXPECT_EQ(big.Trace(), "moveto 1705032704 0\nlineto 1705032704 0\n");
}

TEST(VitalLine, AbsentCoordinatesReadAsZero) {
    PainterRig rig;
    rig.Paint(&CChartRenderer::DrawVitalLine, CMapStringToString());
    EXPECT_EQ(rig.Trace(), "moveto 0 0\nlineto 0 0\n");

    PainterRig partial;
    partial.Paint(&CChartRenderer::DrawVitalLine, Attributes({{"right", "10"}, {"bottom", "5"}}));
    EXPECT_EQ(partial.Trace(), "moveto 0 0\nlineto 38 19\n");
}

TEST(VitalLine, ThroughTheTemplate) {
    test::TraceRun run;
    run.strTemplate =
        "<vitalsign>\n"
        "<vitalpen id=\"grid\" pen-width=\"1\" color=\"255,0,0\"/>\n"
        "<vitalline left=\"10\" top=\"5\" right=\"5\" bottom=\"20\" times=\"3\" pen-id=\"GRID\"/>\n"
        "<vitalline left=\"+1\" top=\"+1\" right=\"right\" bottom=\"bottom\" pen-id=\"nope\"/>\n"
        "</vitalline>\n";
    run.nLeft = 100;
    run.nTop = 200;
    std::string strTrace = test::RenderTrace(run);
    std::string strExpected =
        "pen 0 1 #ff0000\n"
        "moveto 57 19\nlineto 57 76\nmoveto 76 19\nlineto 76 76\n"
        // Relative to the rectangle, and an unknown pen leaves the red one.
        "moveto 104 204\nlineto 600 800\n"
        "moveto 0 0\nlineto 0 0\n";
    std::size_t nFirst = strTrace.find("pen 0 1 #ff0000");
    ASSERT_NE(nFirst, std::string::npos);
    std::size_t nEnd = strTrace.find("\npen", nFirst + 1);
    ASSERT_NE(nEnd, std::string::npos);
    EXPECT_EQ(strTrace.substr(nFirst, nEnd + 1 - nFirst), strExpected);
}

}  // namespace
}  // namespace vitalchart
