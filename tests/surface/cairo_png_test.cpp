#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/file_text.h"
#include "support/trace_fixture.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"
// clang-format off
#include <cairo.h>
#include <png.h>
// clang-format on

namespace vitalchart {
namespace {

struct Decoded {
    png_uint_32 nWidth = 0;
    png_uint_32 nHeight = 0;
    std::vector<unsigned char> rgb;
};

// The picture of PNG bytes as libpng reads it; empty when it does not read.
Decoded DecodePng(const std::vector<unsigned char>& arrBytes) {
    Decoded image;
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, arrBytes.data(), arrBytes.size())) return image;
    png.format = PNG_FORMAT_RGB;
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) return Decoded();
    image.nWidth = png.width;
    image.nHeight = png.height;
    return image;
}

std::unique_ptr<CCairoDC> DrawExample(int nWidth = 631, int nHeight = 805) {
    auto dc = CCairoDC::CreatePng(nWidth, nHeight);
    const std::string strData = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    DrawPlugin(dc.get(), 0, 0, nHeight, nWidth, 96, 96, 96, 96,
               (std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml").c_str(), strData.data(),
               static_cast<int>(strData.size()), "", 0);
    return dc;
}

cairo_status_t AppendBytes(void* pClosure, const unsigned char* pData, unsigned int nLength) {
    auto* pBytes = static_cast<std::vector<unsigned char>*>(pClosure);
    pBytes->insert(pBytes->end(), pData, pData + nLength);
    return CAIRO_STATUS_SUCCESS;
}

// The surface's pixels as Cairo's own PNG writer stores them.
std::vector<unsigned char> CairoWriterPng(CCairoDC& dc) {
    cairo_surface_t* pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, dc.GetWidth(), dc.GetHeight());
    cairo_surface_flush(pSurface);
    unsigned char* pData = cairo_image_surface_get_data(pSurface);
    const int nStride = cairo_image_surface_get_stride(pSurface);
    for (int y = 0; y < dc.GetHeight(); ++y) {
        for (int x = 0; x < dc.GetWidth(); ++x) {
            const COLORREF cr = dc.GetPixel(x, y);
            auto* pPixel = reinterpret_cast<std::uint32_t*>(pData + y * nStride + x * 4);
            *pPixel = (std::uint32_t{GetRValue(cr)} << 16) | (std::uint32_t{GetGValue(cr)} << 8) | GetBValue(cr);
        }
    }
    cairo_surface_mark_dirty(pSurface);
    std::vector<unsigned char> arrBytes;
    EXPECT_EQ(cairo_surface_write_to_png_stream(pSurface, AppendBytes, &arrBytes), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(pSurface);
    return arrBytes;
}

// The encoder compresses a large picture in bands of rows side by side: one
// band for the small canvas, two for the example's, four for the large one.
// It stores rows two pixels at a time: the narrow canvases end on a pair, a
// single pixel, or have no pair at all.
TEST(CairoPngTest, EveryCompressionDecodesToThePixelsOfCairosWriter) {
    for (const auto& [nWidth, nHeight] : {std::pair{631, 805}, std::pair{240, 300}, std::pair{1300, 1100},
                                          std::pair{1, 9}, std::pair{2, 9}, std::pair{3, 9}}) {
        auto dc = DrawExample(nWidth, nHeight);
        const std::vector<unsigned char> cairoPng = CairoWriterPng(*dc);
        const Decoded expected = DecodePng(cairoPng);
        ASSERT_EQ(expected.nWidth, static_cast<png_uint_32>(nWidth));
        ASSERT_EQ(expected.nHeight, static_cast<png_uint_32>(nHeight));
        for (int nLevel : {0, 1, CCairoDC::kDefaultPngCompression, CCairoDC::kMaxPngCompression}) {
            SCOPED_TRACE(std::to_string(nWidth) + " by " + std::to_string(nHeight) + " at " + std::to_string(nLevel));
            std::vector<unsigned char> arrBytes;
            ASSERT_TRUE(dc->EncodePng(arrBytes, nLevel)) << dc->GetError();
            const Decoded actual = DecodePng(arrBytes);
            EXPECT_EQ(actual.nWidth, expected.nWidth);
            EXPECT_EQ(actual.nHeight, expected.nHeight);
            EXPECT_TRUE(actual.rgb == expected.rgb);
            if (nLevel == CCairoDC::kDefaultPngCompression) {
                EXPECT_LE(arrBytes.size(), cairoPng.size() * 5 / 4);
            }
        }
        EXPECT_TRUE(dc->Finish()) << dc->GetError();
    }
}

TEST(CairoPngTest, AFailedEncodeIsTheFirstErrorAndWritesNoFile) {
    for (int nLevel : {-1, CCairoDC::kMaxPngCompression + 1}) {
        SCOPED_TRACE(nLevel);
        auto dc = CCairoDC::CreatePng(8, 8);
        test::TempFile file("", ".png");
        std::remove(file.Path().c_str());
        std::vector<unsigned char> arrBytes = {1, 2, 3};
        EXPECT_FALSE(dc->EncodePng(arrBytes, nLevel));
        EXPECT_TRUE(arrBytes.empty());
        EXPECT_FALSE(dc->WritePng(file.Path(), nLevel));
        EXPECT_EQ(std::fopen(file.Path().c_str(), "rb"), nullptr);
        EXPECT_FALSE(dc->WritePng("/nonexistent-vitalchart-dir/later.png"));
        EXPECT_FALSE(dc->Finish());
        EXPECT_NE(dc->GetError().find("PNG compression " + std::to_string(nLevel)), std::string::npos)
            << dc->GetError();
    }
}

}  // namespace
}  // namespace vitalchart
