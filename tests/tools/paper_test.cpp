// A chart on a sheet of paper: at full size in the middle, refused when it
// does not fit, shrunk only with --fit.

#include "tools/paper.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vitalchart {
namespace cli {
namespace {

TEST(PaperTest, PapersAreFoundWhateverTheirCase) {
    struct Row {
        const char* pszName;
        const char* pszFound;  // null: unknown
    };
    const Row rows[] = {{"A4", "A4"}, {"a4", "A4"},    {"16k", "16K"}, {"LETTER", "letter"},
                        {"B5", "B5"}, {"A5", nullptr}, {"", nullptr},  {"A4 ", nullptr}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        const PaperSize* pPaper = FindPaper(row.pszName);
        if (row.pszFound == nullptr) {
            EXPECT_EQ(pPaper, nullptr);
        } else {
            ASSERT_NE(pPaper, nullptr);
            EXPECT_STREQ(pPaper->pszName, row.pszFound);
        }
    }
}

// At 254 dots an inch a millimetre is 10 dots: the example's 167 x 253 mm
// chart lies centred on each sheet it fits, at full size.
TEST(PaperTest, AChartThatFitsLiesCentredAtFullSize) {
    struct Row {
        const char* pszPaper;
        int nWidth, nHeight;  // the sheet, in tenths of a millimetre
    };
    const Row rows[] = {{"A4", 2100, 2970}, {"A3", 2970, 4200}, {"16K", 1950, 2700}, {"letter", 2159, 2794}};
    const int nChartWidth = CChartGeometry(RECT{}, {254, 96}, {254, 96}).MmToDeviceX(167.0f);
    const int nChartHeight = CChartGeometry(RECT{}, {254, 96}, {254, 96}).MmToDeviceY(253.0f);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszPaper);
        PaperPlacement placement;
        std::string strError;
        ASSERT_TRUE(PlaceOnPaper(*FindPaper(row.pszPaper), 167.0f, 253.0f, 254, false, placement, strError))
            << strError;
        EXPECT_EQ(placement.nPageWidth, row.nWidth);
        EXPECT_EQ(placement.nPageHeight, row.nHeight);
        EXPECT_EQ(placement.scaleX.nNum * 96, placement.scaleX.nDen * 254);
        EXPECT_EQ(placement.scaleY.nNum * 96, placement.scaleY.nDen * 254);
        EXPECT_EQ(placement.rcChart.right - placement.rcChart.left, nChartWidth);
        EXPECT_EQ(placement.rcChart.bottom - placement.rcChart.top, nChartHeight);
        EXPECT_LE(std::abs(placement.rcChart.left - (row.nWidth - placement.rcChart.right)), 1);
        EXPECT_LE(std::abs(placement.rcChart.top - (row.nHeight - placement.rcChart.bottom)), 1);
    }
}

TEST(PaperTest, AChartTooLargeIsRefusedUnlessFitShrinksIt) {
    // B5 is 176 x 250 mm: 240 mm inside its margins, short of the chart's 253.
    PaperPlacement placement;
    std::string strError;
    EXPECT_FALSE(PlaceOnPaper(*FindPaper("B5"), 167.0f, 253.0f, 254, false, placement, strError));
    EXPECT_EQ(strError,
              "the chart is 167 x 253 mm and does not fit on B5 (176 x 250 mm, 166 x 240 mm inside its 5 mm "
              "margins) at full size; --fit shrinks it to 94.8 %");

    ASSERT_TRUE(PlaceOnPaper(*FindPaper("B5"), 167.0f, 253.0f, 254, true, placement, strError));
    EXPECT_NEAR(placement.dShrink, 240.0 / 253.0, 1e-9);
    EXPECT_GE(placement.rcChart.top, 50);
    EXPECT_LE(placement.rcChart.bottom, 2500 - 50);
    EXPECT_GE(placement.rcChart.left, 50);
    EXPECT_LE(placement.rcChart.right, 1760 - 50);

    EXPECT_FALSE(PlaceOnPaper(*FindPaper("A4"), 0.0f, 253.0f, 254, true, placement, strError));
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
