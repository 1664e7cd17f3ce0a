#include "platform/crt_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace vitalchart {
namespace {

TEST(CrtAtoiTest, ReadsTheLeadingDecimalIntegerAndSaturates) {
    struct Row {
        const char* text;
        int expected;
    } rows[] = {
        {"7", 7},
        {" 7", 7},
        {"\t\n-2", -2},
        {"+15", 15},
        {"3.9", 3},
        {"12px", 12},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999999", -2147483647 - 1},
        {"000000000000000000000042", 42},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(crt::atoi(r.text), r.expected);
    }
    EXPECT_EQ(crt::atoi(nullptr), 0);
}

TEST(CrtAtofTest, ReadsTheLongestDecimalNumber) {
    struct Row {
        const char* text;
        double expected;
    } rows[] = {
        {"37.2", 37.2},
        {"  -1.5e2x", -150.0},
        {"12.5mm", 12.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"2E-1", 0.2},
        {"abc", 0.0},
        {"", 0.0},
        {"+", 0.0},
        {".", 0.0},
        {"0x10", 0.0},
        {"1e-400", 0.0},
        {"1,5", 1.0},
        // Words read as no number at all, as the platform's C library of the
        // time read them: a reading written "Info" plots at 0 like any other word.
        {"inf", 0.0},
        {"-INF", 0.0},
        {"infinity", 0.0},
        {"nan", 0.0},
        {"NaN(1)", 0.0},
        {"Info", 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_DOUBLE_EQ(crt::atof(r.text), r.expected);
    }
    EXPECT_TRUE(std::isinf(crt::atof("1e400")));
    EXPECT_TRUE(std::isinf(crt::atof("-1e400")) && crt::atof("-1e400") < 0.0);
    EXPECT_TRUE(std::signbit(crt::atof("-0")));
    // A number with thousands of digits still reads.
    std::string strLong(5000, '9');
    EXPECT_TRUE(std::isinf(crt::atof(strLong.c_str())));
    std::string strSmall = "0." + std::string(5000, '0') + "1";
    EXPECT_EQ(crt::atof(strSmall.c_str()), 0.0);
    EXPECT_TRUE(std::isinf(crt::atof("1e99999999999999999999")));
}

TEST(CrtAtofTest, IgnoresACommaDecimalLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string strPrevious = previous != nullptr ? previous : "C";
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
    bool bSet = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            bSet = true;
            break;
        }
    }
    if (!bSet) {
        std::setlocale(LC_ALL, strPrevious.c_str());
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_DOUBLE_EQ(crt::atof("37.2"), 37.2);
    EXPECT_DOUBLE_EQ(crt::atof("37,2"), 37.0);
    std::setlocale(LC_ALL, strPrevious.c_str());
}

}  // namespace
}  // namespace vitalchart
