// render --png-compression: the level changes the file, never the picture.

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "tools/command_fixture.h"

namespace {

using Result = vitalchart::test::CommandResult;
using PngCompressionTest = vitalchart::test::CommandTest;

const std::string kExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
const std::string kWeek = std::string(VITALCHART_EXAMPLES) + "/week.data";

// The file's RGB pixels as libpng reads them; empty when it does not read.
std::vector<unsigned char> Pixels(const std::string& strPath) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, strPath.c_str())) return {};
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return {};
    return rgb;
}

TEST_F(PngCompressionTest, EveryLevelWritesThePictureOfTheDefault) {
    const Result byDefault = Run("render '" + kExample + "' --data '" + kWeek + "' -o default.png");
    ASSERT_EQ(byDefault.nExit, 0) << byDefault.strErr;
    const std::vector<unsigned char> expected = Pixels(m_strDir + "/default.png");
    ASSERT_FALSE(expected.empty());
    const std::size_t nDefaultSize = vitalchart::test::ReadFileText(m_strDir + "/default.png").size();
    struct Row {
        const char* pLevel;
        bool bSmallerThanDefault;
    } rows[] = {{"0", false}, {"1", false}, {"9", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pLevel);
        const std::string strName = std::string("level-") + row.pLevel + ".png";
        const Result r =
            Run("render '" + kExample + "' --data '" + kWeek + "' --png-compression " + row.pLevel + " -o " + strName);
        ASSERT_EQ(r.nExit, 0) << r.strErr;
        EXPECT_TRUE(Pixels(m_strDir + "/" + strName) == expected);
        const std::size_t nSize = vitalchart::test::ReadFileText(m_strDir + "/" + strName).size();
        EXPECT_EQ(nSize < nDefaultSize, row.bSmallerThanDefault) << nSize << " against " << nDefaultSize;
    }
}

TEST_F(PngCompressionTest, ALevelOutsideZeroToNineIsRefused) {
    for (const char* pLevel : {"10", "-1", "x", "3.5", ""}) {
        SCOPED_TRACE(pLevel);
        const Result r = Run("render '" + kExample + "' --png-compression '" + pLevel + "' -o out.png");
        EXPECT_EQ(r.nExit, 2);
        EXPECT_EQ(r.strErr, std::string("vitalchart: --png-compression wants a whole number from 0 to 9, not '") +
                                pLevel + "'\n");
        EXPECT_TRUE(Pixels(m_strDir + "/out.png").empty());
    }
}

}  // namespace
