#include "platform/int_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "platform/mul_div.h"

namespace vitalchart {
namespace {

TEST(MulDivTest, RoundsHalvesAwayFromZeroAndFailsOutside32Bits) {
    struct Row {
        int a, b, c, expected;
    } rows[] = {
        {10, 96, 254, 4},      // 960 / 254 = 3.78
        {253, 96, 254, 96},    // 25.3 mm is one inch of reference units
        {38, 600, 96, 238},    // 237.5 rounds away from zero
        {-38, 600, 96, -238},  // and so does -237.5
        {2, 600, 96, 13},      // 12.5
        {1, 1, 2, 1},          // 0.5
        {-1, 1, 2, -1},        // -0.5
        {1, 1, 3, 0},
        {5, 7, 0, -1},             // zero divisor
        {INT_MAX, 2, 1, -1},       // result above INT_MAX
        {INT_MIN, 1, 1, INT_MIN},  // INT_MIN itself still fits
        {INT_MIN, 2, 2, INT_MIN},
        {INT_MIN, -1, 1, -1},                  // 2^31 does not fit
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the 64-bit product does not overflow
        {7, 3, -2, -11},                       // -10.5
        {0, 96, 254, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " * " << r.b << " / " << r.c);
        EXPECT_EQ(MulDiv(r.a, r.b, r.c), r.expected);
    }
}

TEST(DoubleToIntTest, TruncatesTowardZeroAndGivesIntMinOutsideTheRange) {
    struct Row {
        double value;
        int expected;
    } rows[] = {
        {0.0, 0},
        {87.9999987, 87},
        {-87.9999987, -87},
        {2147483647.9, INT_MAX},
        {2147483648.0, INT_MIN},
        {-2147483648.9, INT_MIN},
        {-2147483649.0, INT_MIN},
        {1e300, INT_MIN},
        {std::numeric_limits<double>::infinity(), INT_MIN},
        {-std::numeric_limits<double>::infinity(), INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), INT_MIN},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(DoubleToInt(r.value), r.expected);
    }
}

TEST(DoubleToFloatTest, OverflowsToInfinityInsteadOfUndefinedBehaviour) {
    EXPECT_EQ(DoubleToFloat(37.2), 37.2f);
    EXPECT_TRUE(std::isinf(DoubleToFloat(1e300)));
    EXPECT_LT(DoubleToFloat(-1e300), 0.0f);
    EXPECT_TRUE(std::isnan(DoubleToFloat(std::nan(""))));
}

TEST(WrapTest, DeviceArithmeticWrapsAsTwosComplement) {
    EXPECT_EQ(WrapAdd(INT_MAX, 1), INT_MIN);
    EXPECT_EQ(WrapSub(INT_MIN, 1), INT_MAX);
    EXPECT_EQ(WrapMul(65536, 65536), 0);
    EXPECT_EQ(WrapMul(INT_MAX, 2), -2);
    EXPECT_EQ(WrapNeg(INT_MIN), INT_MIN);
    EXPECT_EQ(WrapDiv(INT_MIN, -1), INT_MIN);
    EXPECT_EQ(WrapDiv(-7, 2), -3);
    EXPECT_EQ(WrapDiv(5, 0), 0);
}

TEST(OffsetRectTest, MovesAllFourEdgesAndWraps) {
    RECT rect = {10, 20, 30, 40};
    EXPECT_EQ(OffsetRect(&rect, 5, -25), 1);
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, -5);
    EXPECT_EQ(rect.right, 35);
    EXPECT_EQ(rect.bottom, 15);
    RECT edge = {INT_MAX, 0, INT_MAX, 0};
    OffsetRect(&edge, 1, 0);
    EXPECT_EQ(edge.left, INT_MIN);
    EXPECT_EQ(OffsetRect(nullptr, 1, 1), 0);
}

}  // namespace
}  // namespace vitalchart
