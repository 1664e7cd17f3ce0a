#include "render/chart_renderer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

struct ScaledRenderer {
    CRecordingDC dc;
    CChartRenderer renderer;
    ScaledRenderer(int nLeft, int nTop, int nNumX, int nDenX, int nNumY, int nDenY)
        : renderer(&dc, CChartGeometry({nLeft, nTop, 600, 800}, {nNumX, nDenX}, {nNumY, nDenY})) {}
};

TEST(EvalPositionTest, MillimetresThroughTenthsAndTheScalePair) {
    ScaledRenderer s(100, 50, 1, 1, 1, 1);
    struct Row {
        const char* expr;
        BOOL bVertical;
        int expected;
    } rows[] =
        {
            {"0", 0, 0},        {"1", 0, 4},       {"10", 0, 38},
            {"0.5", 0, 2},      {"0.7", 0, 2},  // 0.7f is just below 0.7: 6 tenths
            {"2.3", 0, 8},                      // 22 tenths
            {"25.4", 0, 96},                    // 253 tenths
            {"-1", 0, -4},      {"", 0, 0},        {"abc", 0, 0},
            {"+5", 0, 119},  // relative: the rectangle's left added after scaling
            {"5", 0, 19},       {"+5", 1, 69},     {"+", 0, 100},
            {"+", 1, 50},       {"left", 0, 100},  {"LEFT", 1, 100},
            {"Left", 0, 100},   {" left", 0, 0},   {"+left", 0, 100},
            {"top", 0, 50},  // the axis is not consulted for edge words
            {"bottom", 0, 800}, {"right", 1, 600},
        };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "'" << r.expr << "' vertical " << r.bVertical);
        EXPECT_EQ(s.renderer.EvalPosition(r.expr, r.bVertical), r.expected);
    }
}

TEST(EvalPositionTest, EachAxisUsesItsOwnPair) {
    ScaledRenderer s(0, 0, 300, 96, 600, 96);
    EXPECT_EQ(s.renderer.EvalPosition("10", 1), 238);  // 38 * 600 / 96 = 237.5
    EXPECT_EQ(s.renderer.EvalPosition("10", 0), 119);  // 38 * 300 / 96 = 118.75
    ScaledRenderer zero(7, 9, 1, 0, 1, 0);
    EXPECT_EQ(zero.renderer.EvalPosition("10", 0), -1);
    EXPECT_EQ(zero.renderer.EvalPosition("+10", 1), 8);
    EXPECT_EQ(zero.renderer.EvalPosition("right", 0), 600);
}

TEST(EvalPositionTest, HostileFiguresStayDefined) {
    ScaledRenderer s(INT_MAX, INT_MIN, 96, 96, 96, 96);
    // Tenths beyond the int range convert as the platform does: INT_MIN.
    const int kFromIntMin = -811647363;
    EXPECT_EQ(s.renderer.EvalPosition("1e30", 0), kFromIntMin);
    EXPECT_EQ(s.renderer.EvalPosition("1e400", 0), kFromIntMin);
    EXPECT_EQ(s.renderer.EvalPosition("-1e400", 1), kFromIntMin);
    // Words are no numbers: position 0, as any text without digits.
    EXPECT_EQ(s.renderer.EvalPosition("nan", 0), 0);
    EXPECT_EQ(s.renderer.EvalPosition("inf", 1), 0);
    // Relative positions wrap around the 32-bit range.
    EXPECT_EQ(s.renderer.EvalPosition("+1", 0), INT_MIN + 3);
    EXPECT_EQ(s.renderer.EvalPosition("+-1", 1), INT_MAX - 3);
}

TEST(ColorAllowedTest, OnlyPrintingWithoutPrintColourLosesColour) {
    CTagAttributes off;
    off.AddAttribute("print-color", "false");
    for (BOOL bPrinting : {0, 1}) {
        CRecordingDC dc(CP_UTF8, bPrinting);
        CChartRenderer r(&dc, CChartGeometry());
        EXPECT_TRUE(r.IsColorAllowed());
        r.ApplySize(r.Attributes(*FindElementRule(kElementSize), off));
        EXPECT_EQ(r.IsColorAllowed(), !bPrinting);
    }
}

TEST(ItemArrayTest, GrowsGeometricallyThenInSteps) {
    CItemArray<int> arr;
    int value = 0;
    EXPECT_EQ(arr.GetCapacity(), 0);
    EXPECT_EQ(arr.GetAt(0), nullptr);
    struct Step {
        int count, capacity;
    } steps[] = {{1, 256}, {256, 256}, {257, 512}, {1025, 2048}, {2048, 2048}, {2049, 2304}, {2305, 2560}};
    int nAdded = 0;
    for (const Step& s : steps) {
        while (nAdded < s.count) {
            ASSERT_TRUE(arr.Add(&value));
            ++nAdded;
        }
        SCOPED_TRACE(s.count);
        EXPECT_EQ(arr.GetCount(), s.count);
        EXPECT_EQ(arr.GetCapacity(), s.capacity);
    }
    EXPECT_EQ(arr.GetAt(-1), nullptr);
    EXPECT_EQ(arr.GetAt(arr.GetCount()), nullptr);
}

TEST(ItemArrayTest, RemoveAtMovesLaterElementsForward) {
    CItemArray<int> arr;
    int a = 1, b = 2, c = 3;
    arr.Add(&a);
    arr.Add(&b);
    arr.Add(&c);
    arr.RemoveAt(0);
    EXPECT_EQ(arr.GetCount(), 2);
    EXPECT_EQ(arr.GetAt(0), &b);
    EXPECT_EQ(arr.GetAt(1), &c);
    EXPECT_EQ(arr.GetAt(2), nullptr);
    arr.RemoveAt(5);
    EXPECT_EQ(arr.GetCount(), 2);
}

TEST(TemplatePathTest, TrimsWhiteSpaceAndDefaults) {
    EXPECT_EQ(SettleTemplatePath(nullptr), "vitalsign.xml");
    EXPECT_EQ(SettleTemplatePath(""), "vitalsign.xml");
    EXPECT_EQ(SettleTemplatePath(" \t\r\n\v\f"), "vitalsign.xml");
    EXPECT_EQ(SettleTemplatePath("  a b.xml \n"), "a b.xml");
}

}  // namespace
}  // namespace vitalchart
