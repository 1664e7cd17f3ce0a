// The bundled example as a person gets it from the command: a PDF whose
// captions and readings stand in their boxes, an SVG that other programs
// read, and a PNG that matches the reviewed reference picture.

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/captured_output.h"
#include "support/pdf_words.h"
#include "support/shape_log.h"
#include "vitalchart/plugin.h"

namespace {

const std::string kExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
const std::string kData = std::string(VITALCHART_EXAMPLES) + "/week.data";

using vitalchart::test::CapturedOutput;

class ExampleOutputTest : public testing::Test {
protected:
    void SetUp() override {
        char szDir[] = "/tmp/vitalchart-out-XXXXXX";
        ASSERT_NE(::mkdtemp(szDir), nullptr);
        m_strDir = szDir;
    }
    void TearDown() override { std::system(("rm -rf '" + m_strDir + "'").c_str()); }
    int Render(const std::string& strArgs) {
        int nExit = -1;
        CapturedOutput(std::string("'") + VITALCHART_CLI + "' render '" + kExample + "' " + strArgs + " 2>&1", &nExit);
        return nExit;
    }
    std::string m_strDir;
};

TEST_F(ExampleOutputTest, PdfPagesHoldTheCaptionsAndReadingsInTheirBoxes) {
    std::string strPdf = m_strDir + "/chart.pdf";
    ASSERT_EQ(Render("--data '" + kData + "' --data '" + kData + "' -o '" + strPdf + "'"), 0);
    std::string strInfo = CapturedOutput("pdfinfo '" + strPdf + "'");
    EXPECT_NE(strInfo.find("Pages:           2"), std::string::npos) << strInfo;

    const auto words = vitalchart::test::PdfWords(strPdf);
    // Boxes in millimetres from the chart's top-left, as the template gives them.
    struct Box {
        const char* word;
        double left, top, right, bottom;
    } boxes[] = {
        {"体", 6.3, 6.2, 160.8, 13.1},           // the title
        {"入量(ml)", 6.3, 196.8, 27.5, 201.6},   // a row caption
        {"2024-12-01", 27.5, 25.3, 46.5, 30.1},  // the date of day 1
        {"1800", 27.5, 196.8, 46.5, 201.6},      // day 1's intake
    };
    for (int nPage = 1; nPage <= 2; ++nPage) {
        for (const Box& box : boxes) {
            SCOPED_TRACE(testing::Message() << box.word << " on page " << nPage);
            EXPECT_TRUE(vitalchart::test::WordInBox(words, box.word, nPage, box.left, box.top, box.right, box.bottom));
        }
    }
}

TEST_F(ExampleOutputTest, SvgIsWellFormedAndRendersElsewhere) {
    std::string strSvg = m_strDir + "/chart.svg";
    ASSERT_EQ(Render("--data '" + kData + "' -o '" + strSvg + "'"), 0);
    int nExit = -1;
    CapturedOutput("rsvg-convert -o '" + m_strDir + "/back.png' '" + strSvg + "' 2>&1", &nExit);
    EXPECT_EQ(nExit, 0);
    std::ifstream back(m_strDir + "/back.png", std::ios::binary);
    char magic[4] = {};
    back.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    // rsvg's parser is strict XML; check the document ends properly too.
    std::string strText = CapturedOutput("cat '" + strSvg + "'");
    EXPECT_EQ(strText.compare(0, 5, "<?xml"), 0);
    EXPECT_NE(strText.rfind("</svg>"), std::string::npos);
}

struct Image {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<unsigned char> rgba;
};

bool ReadPng(const std::string& strPath, Image& image) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, strPath.c_str())) return false;
    png.format = PNG_FORMAT_RGBA;
    image.nWidth = static_cast<int>(png.width);
    image.nHeight = static_cast<int>(png.height);
    image.rgba.resize(PNG_IMAGE_SIZE(png));
    return png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr) != 0;
}

bool WritePng(const std::string& strPath, const Image& image) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.nWidth);
    png.height = static_cast<png_uint_32>(image.nHeight);
    png.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&png, strPath.c_str(), 0, image.rgba.data(), 0, nullptr) != 0;
}

TEST_F(ExampleOutputTest, PngMatchesTheReferencePicture) {
    std::string strPng = m_strDir + "/chart.png";
    ASSERT_EQ(Render("--data '" + kData + "' -o '" + strPng + "'"), 0);
    Image actual;
    Image reference;
    ASSERT_TRUE(ReadPng(strPng, actual));
    ASSERT_TRUE(ReadPng(std::string(VITALCHART_TEST_DATA) + "/example.png", reference));
    ASSERT_EQ(actual.nWidth, reference.nWidth);
    ASSERT_EQ(actual.nHeight, reference.nHeight);

    // A pixel differs when a channel moves by more than a quarter of its
    // range: anti-aliasing of another font build stays below that.
    Image diff = actual;
    long nDiffering = 0;
    for (std::size_t i = 0; i < actual.rgba.size(); i += 4) {
        int nMax = 0;
        for (int c = 0; c < 3; ++c) {
            int d = std::abs(actual.rgba[i + c] - reference.rgba[i + c]);
            if (d > nMax) nMax = d;
        }
        bool bDiffers = nMax > 64;
        nDiffering += bDiffers ? 1 : 0;
        diff.rgba[i] = bDiffers ? 255 : static_cast<unsigned char>(reference.rgba[i] / 4 + 190);
        diff.rgba[i + 1] = bDiffers ? 0 : diff.rgba[i];
        diff.rgba[i + 2] = bDiffers ? 0 : diff.rgba[i];
        diff.rgba[i + 3] = 255;
    }
    const long nPixels = static_cast<long>(actual.nWidth) * actual.nHeight;
    if (nDiffering * 1000 > nPixels) {
        std::string strActual = std::string(VITALCHART_TEST_OUTPUT) + "/example.actual.png";
        std::string strDiff = std::string(VITALCHART_TEST_OUTPUT) + "/example.diff.png";
        WritePng(strActual, actual);
        WritePng(strDiff, diff);
        ADD_FAILURE() << nDiffering << " of " << nPixels << " pixels differ from tests/data/example.png; see "
                      << strActual << " and " << strDiff << " (differing pixels in red)";
    }
}

// The readings of one vital sign in the data text, line by line.
std::vector<std::string> ReadingsOf(const std::string& strData, const std::string& strName) {
    std::vector<std::string> lines;
    std::istringstream in(strData);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("vitalsigns=\"" + strName + "\"") != std::string::npos) lines.push_back(line);
    }
    return lines;
}

// Where the plug-in puts the marker of one reading drawn alone on the chart
// at 96 units per inch: the centre of the small blue shapes it adds.
bool MarkerCentre(const std::string& strReading, int nWidth, int nHeight, int& x, int& y) {
    vitalchart::CShapeLog log(vitalchart::CP_UTF8, vitalchart::FALSE);
    DrawPlugin(&log, 0, 0, nHeight, nWidth, 96, 96, 96, 96, kExample.c_str(), strReading.data(),
               static_cast<int>(strReading.size()), "", 0);
    for (const vitalchart::LoggedShape& shape : log.GetShapes()) {
        const bool bSmall = shape.box.right - shape.box.left <= 10 && shape.box.bottom - shape.box.top <= 10;
        if (shape.crPen == vitalchart::RGB(0, 0, 255) && bSmall && shape.nKind != vitalchart::LoggedShape::kText) {
            x = (shape.box.left + shape.box.right) / 2;
            y = (shape.box.top + shape.box.bottom) / 2;
            return true;
        }
    }
    return false;
}

TEST_F(ExampleOutputTest, EveryTemperatureReadingIsVisibleInThePng) {
    std::string strPng = m_strDir + "/week.png";
    ASSERT_EQ(Render("--data '" + kData + "' -o '" + strPng + "'"), 0);
    Image image;
    ASSERT_TRUE(ReadPng(strPng, image));
    auto pixel = [&](int x, int y) {
        const std::size_t i = (static_cast<std::size_t>(y) * image.nWidth + x) * 4;
        return std::vector<int>{image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]};
    };
    // A colour stands out when its channel leads the other two by a quarter of the range.
    auto isBlue = [&](int x, int y) {
        const std::vector<int> p = pixel(x, y);
        return p[2] - std::max(p[0], p[1]) > 64;
    };
    auto isRed = [&](int x, int y) {
        const std::vector<int> p = pixel(x, y);
        return p[0] - std::max(p[1], p[2]) > 64;
    };
    // Some pixel of the square of half-width n around (x, y) passes.
    auto near = [&](int x, int y, int n, auto test) {
        for (int dy = -n; dy <= n; ++dy) {
            for (int dx = -n; dx <= n; ++dx) {
                if (test(x + dx, y + dy)) return true;
            }
        }
        return false;
    };
    const std::string strData = CapturedOutput("cat '" + kData + "'");
    int nChecked = 0;
    for (const std::string& strReading : ReadingsOf(strData, "体温")) {
        // Readings not taken and values below the scale are written, not marked.
        if (strReading.find("vitalsignsvalues=\"\"") != std::string::npos) continue;
        if (strReading.find("comparator") != std::string::npos) continue;
        SCOPED_TRACE(strReading);
        int x = 0;
        int y = 0;
        ASSERT_TRUE(MarkerCentre(strReading + "\n", image.nWidth, image.nHeight, x, y));
        const bool bOral = strReading.find("specialSymbolFlag=\"1\"") != std::string::npos;
        const bool bRectal = strReading.find("specialSymbolFlag=\"2\"") != std::string::npos;
        // The ring of 1.6 mm (6 units) around a mark that pulse or heart rate met.
        int nRinged = 0;
        for (const auto& d : {std::pair<int, int>{6, 0}, {-6, 0}, {0, 6}, {0, -6}}) {
            nRinged += near(x + d.first, y + d.second, 1, isRed) ? 1 : 0;
        }
        if (bOral) {
            EXPECT_TRUE(isBlue(x, y)) << "the oral dot is blue at its centre";
        } else if (bRectal) {
            // A blue circle, with a red dot inside when met.
            EXPECT_TRUE(near(x + 4, y, 1, isBlue) && near(x - 4, y, 1, isBlue));
        } else {
            EXPECT_TRUE(near(x, y, 1, isBlue) || nRinged == 4);
        }
        ++nChecked;
    }
    EXPECT_GE(nChecked, 25);
}

}  // namespace
