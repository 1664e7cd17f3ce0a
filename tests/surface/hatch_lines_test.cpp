// Hatching: the recording surface writes one trace line; every other
// surface draws the strokes the base computes, in integer arithmetic.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/trace_parser.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

// A recording surface that draws a hatching as any other surface does:
// with the base's strokes.
struct CLineDC : CRecordingDC {
    void HatchPolygon(const POINT* p, int n, int s, BOOL b) override { CDC::HatchPolygon(p, n, s, b); }
};

// The strokes as "x0,y0-x1,y1 " each.
std::string Strokes(const std::vector<POINT>& points, int nSpacing, bool bRising) {
    CLineDC dc;
    dc.HatchPolygon(points.data(), static_cast<int>(points.size()), nSpacing, bRising ? 1 : 0);
    std::string out;
    const std::vector<test::TraceOp> ops = test::ParseTrace(dc.GetTrace());
    for (std::size_t i = 1; i < ops.size(); ++i) {
        if (ops[i].strOp != "lineto") continue;
        out += std::to_string(ops[i - 1].arrNums[0]) + "," + std::to_string(ops[i - 1].arrNums[1]) + "-" +
               std::to_string(ops[i].arrNums[0]) + "," + std::to_string(ops[i].arrNums[1]) + " ";
    }
    return out;
}

TEST(HatchStrokesTest, LinesOnMultiplesOfTheSpacingCutAtTheEdges) {
    const std::vector<POINT> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Row {
        const char* pszName;
        std::vector<POINT> points;
        int nSpacing;
        bool bRising;
        const char* pszExpected;
    } rows[] = {
        // x + y = 5, 10, 15 inside the square (0 and 20 touch corners only).
        {"rising in a square", square, 5, true, "0,5-5,0 0,10-10,0 5,10-10,5 "},
        {"falling in a square", square, 5, false, "0,5-5,10 0,0-10,10 5,0-10,5 "},
        // A deficit between two curves over one column: a thin diamond.
        {"a diamond", {{0, 20}, {4, 16}, {8, 20}, {4, 24}}, 8, true, "2,22-6,18 "},
        {"no spacing", square, 0, true, ""},
        {"two points", {{0, 0}, {10, 10}}, 1, true, ""},
        {"a line of three points", {{0, 0}, {5, 5}, {10, 10}}, 1, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        EXPECT_EQ(Strokes(row.points, row.nSpacing, row.bRising), row.pszExpected);
    }
}

TEST(HatchStrokesTest, AHostilePolygonIsBounded) {
    const std::vector<POINT> huge = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    EXPECT_EQ(Strokes(huge, 1, true), "");
    CLineDC dc;
    dc.HatchPolygon(huge.data(), 4, 1 << 20, 0);
    EXPECT_LE(test::CountLines(dc.GetTrace(), "lineto"), 20000);
}

TEST(HatchStrokesTest, TheRecordingSurfaceWritesOneLineAndOtherSurfacesDrawTheStrokes) {
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    CRecordingDC recording;
    recording.HatchPolygon(square, 4, 5, 1);
    EXPECT_EQ(recording.GetTrace(), "hatch 5 rising 0 0 10 0 10 10 0 10\n");

    // A surface that keeps the base's drawing: the strokes, and the position kept.
    CLineDC lines;
    lines.MoveTo(3, 4);
    lines.HatchPolygon(square, 4, 5, 0);
    EXPECT_EQ(lines.GetTrace(),
              "moveto 3 4\nmoveto 0 5\nmoveto 0 5\nlineto 5 10\nmoveto 0 0\nlineto 10 10\nmoveto 5 0\nlineto 10 5\n"
              "moveto 3 4\n");
}

}  // namespace
}  // namespace vitalchart
