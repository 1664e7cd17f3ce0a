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

namespace {

const std::string kExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
const std::string kData = std::string(VITALCHART_EXAMPLES) + "/week.data";

std::string Capture(const std::string& strCommand, int* pExit = nullptr) {
    std::string strOut;
    FILE* pipe = ::popen(strCommand.c_str(), "r");
    if (pipe == nullptr) return strOut;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) strOut.append(buf, n);
    int nStatus = ::pclose(pipe);
    if (pExit != nullptr) *pExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return strOut;
}

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
        Capture(std::string("'") + VITALCHART_CLI + "' render '" + kExample + "' " + strArgs + " 2>&1", &nExit);
        return nExit;
    }
    std::string m_strDir;
};

struct Word {
    int nPage;
    double xMin, yMin, xMax, yMax;
};

// Words of `pdftotext -bbox`, with the page each stands on.
std::vector<std::pair<std::string, Word>> PdfWords(const std::string& strPdf) {
    std::string strXml = Capture("pdftotext -bbox '" + strPdf + "' -");
    std::vector<std::pair<std::string, Word>> words;
    std::regex wordRe(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    int nPage = 0;
    std::istringstream in(strXml);
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (line.find("<page ") != std::string::npos) ++nPage;
        if (std::regex_search(line, m, wordRe)) {
            // The figures are C-locale decimals; istringstream in the classic locale reads them so.
            auto num = [](const std::string& s) {
                std::istringstream is(s);
                is.imbue(std::locale::classic());
                double d = 0;
                is >> d;
                return d;
            };
            words.push_back({m[5], {nPage, num(m[1]), num(m[2]), num(m[3]), num(m[4])}});
        }
    }
    return words;
}

TEST_F(ExampleOutputTest, PdfPagesHoldTheCaptionsAndReadingsInTheirBoxes) {
    std::string strPdf = m_strDir + "/chart.pdf";
    ASSERT_EQ(Render("--data '" + kData + "' --data '" + kData + "' -o '" + strPdf + "'"), 0);
    std::string strInfo = Capture("pdfinfo '" + strPdf + "'");
    EXPECT_NE(strInfo.find("Pages:           2"), std::string::npos) << strInfo;

    auto words = PdfWords(strPdf);
    // Boxes in millimetres from the chart's top-left, as the template gives them.
    struct Box {
        const char* word;
        double left, top, right, bottom;
    } boxes[] = {
        {"体", 6.3, 1.1, 160.8, 8.0},            // the title
        {"入量(ml)", 6.3, 185.8, 27.5, 190.6},   // a row caption
        {"2024-12-01", 27.5, 14.3, 46.5, 19.1},  // the date of day 1
        {"1800", 27.5, 185.8, 46.5, 190.6},      // day 1's intake
    };
    const double kPointsPerMm = 72.0 / 25.4;
    const double kSlack = 2.5;  // glyph boxes reach a little beyond the ink
    for (int nPage = 1; nPage <= 2; ++nPage) {
        for (const Box& box : boxes) {
            SCOPED_TRACE(testing::Message() << box.word << " on page " << nPage);
            bool bFound = false;
            for (const auto& w : words) {
                if (w.first != box.word || w.second.nPage != nPage) continue;
                if (w.second.xMin >= box.left * kPointsPerMm - kSlack &&
                    w.second.xMax <= box.right * kPointsPerMm + kSlack &&
                    w.second.yMin >= box.top * kPointsPerMm - kSlack &&
                    w.second.yMax <= box.bottom * kPointsPerMm + kSlack) {
                    bFound = true;
                }
            }
            EXPECT_TRUE(bFound);
        }
    }
}

TEST_F(ExampleOutputTest, SvgIsWellFormedAndRendersElsewhere) {
    std::string strSvg = m_strDir + "/chart.svg";
    ASSERT_EQ(Render("--data '" + kData + "' -o '" + strSvg + "'"), 0);
    int nExit = -1;
    Capture("rsvg-convert -o '" + m_strDir + "/back.png' '" + strSvg + "' 2>&1", &nExit);
    EXPECT_EQ(nExit, 0);
    std::ifstream back(m_strDir + "/back.png", std::ios::binary);
    char magic[4] = {};
    back.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    // rsvg's parser is strict XML; check the document ends properly too.
    std::string strText = Capture("cat '" + strSvg + "'");
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

}  // namespace
