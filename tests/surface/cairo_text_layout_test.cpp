#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "vitalchart/surface/cairo_dc.h"
// clang-format off
#include <fontconfig/fontconfig.h>
// clang-format on

namespace vitalchart {
namespace {

void SelectFont(CDC& dc, CFont& font, const char* pFace, LONG nHeight, BYTE bUnderline = 0) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = nHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = bUnderline;
    std::strncpy(lf.lfFaceName, pFace, LF_FACESIZE - 1);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
}

std::string Pixels(CCairoDC& dc) {
    std::string out;
    for (int y = 0; y < dc.GetHeight(); ++y) {
        for (int x = 0; x < dc.GetWidth(); ++x) out += std::to_string(dc.GetPixel(x, y)) + ",";
    }
    return out;
}

// What the renderer does with a label: measure it, then draw it where the
// measurement puts it. The measured text, font or format may differ from
// the drawn one; the picture must not show it.
struct Label {
    const char* pMeasured;
    UINT nMeasureFormat;
    bool bUnderlineMeasured;
    const char* pDrawn;
    UINT nDrawFormat;
    bool bUnderlineDrawn;
};

std::string DrawLabel(const Label& label, bool bMeasure) {
    auto dc = CCairoDC::CreatePng(160, 60);
    CFont measured;
    CFont drawn;
    SelectFont(*dc, measured, "SimSun", -18, label.bUnderlineMeasured);
    RECT rc = {10, 10, 150, 50};
    if (bMeasure) dc->DrawText(label.pMeasured, -1, &rc, label.nMeasureFormat | DT_CALCRECT);
    SelectFont(*dc, drawn, "SimSun", -18, label.bUnderlineDrawn);
    rc = {10, 10, 150, 50};
    dc->DrawText(label.pDrawn, -1, &rc, label.nDrawFormat);
    return Pixels(*dc);
}

TEST(CairoTextLayoutTest, AMeasuredLabelDrawsAsOneDrawnWithoutMeasuring) {
    const Label labels[] = {
        {"36.5", DT_CENTER | DT_NOPREFIX, false, "36.5", DT_CENTER | DT_NOPREFIX, false},
        {"\xe4\xbd\x93\xe6\xb8\xa9\n37", DT_NOPREFIX, false, "\xe4\xbd\x93\xe6\xb8\xa9\n37", DT_NOPREFIX, false},
        // Another text, font or layout flag than the one measured.
        {"36.5", DT_NOPREFIX, false, "36.6", DT_NOPREFIX, false},
        {"36.5", DT_NOPREFIX, false, "36.5", DT_NOPREFIX, true},
        {"A&B", DT_NOPREFIX, false, "A&B", 0, false},
        {"a\tb", DT_NOPREFIX, false, "a\tb", DT_NOPREFIX | DT_EXPANDTABS, false},
        {"12", DT_NOPREFIX, false, "123", DT_NOPREFIX, false},
    };
    for (const Label& label : labels) {
        SCOPED_TRACE(std::string(label.pMeasured) + " / " + label.pDrawn);
        EXPECT_EQ(DrawLabel(label, true), DrawLabel(label, false));
    }
}

// A label of one line is shaped without Pango's line breaking; a label of
// two lines is laid out by Pango in full. The first line of "text\n" is the
// line Pango makes of "text", so both must paint alike.
TEST(CairoTextLayoutTest, OneLineLabelsDrawAsPangoLaysThemOut) {
    struct Font {
        const char* pFace;
        LONG nHeight;
        LONG nWeight;
        BYTE bItalic;
        struct {
            int cx;
            int cy;
        } size;  // of the picture
    };
    // The last one large enough for a Latin run's lower baseline to show.
    const Font fonts[] = {{"SimSun", -18, FW_NORMAL, 0, {200, 50}},
                          {"SimHei", 15, FW_BOLD, 0, {200, 50}},
                          {"Arial", -14, FW_NORMAL, 1, {200, 50}},
                          {"Arial", -90, FW_NORMAL, 0, {600, 130}}};
    const char* const texts[] = {
        "36.5",
        "\xe8\xa1\x80\xe5\x8e\x8b(mmHg)",                    // Latin after Chinese sits on the Chinese font's baseline
        "mmHg \xe8\xa1\x80\xe5\x8e\x8b",                     // and Chinese after Latin on the Latin one
        "\xe2\x84\x83 \xe2\x86\x91\xc3\x97",                 // degrees Celsius, arrow, times
        "e\xcc\x81 \xc3\xbc",                                // combining accent
        "\xe0\xb8\xa0\xe0\xb8\xb2\xe0\xb8\xa9\xe0\xb8\xb2",  // Thai
        "\xe0\xa4\xa8\xe0\xa4\xae\xe0\xa4\xb8\xe0\xa5\x8d\xe0\xa4\xa4\xe0\xa5\x87",  // Devanagari
        "\xd7\xa2\xd7\x91 12",                                                       // right to left
    };
    for (const Font& f : fonts) {
        for (const char* pText : texts) {
            for (UINT nAlign : {UINT{DT_LEFT}, UINT{DT_CENTER}, UINT{DT_RIGHT}}) {
                if (f.size.cx > 200 && nAlign != DT_LEFT) continue;
                SCOPED_TRACE(std::string(f.pFace) + " " + pText + " " + std::to_string(nAlign));
                auto draw = [&](const std::string& strText, LONG& nWidth) {
                    auto dc = CCairoDC::CreatePng(f.size.cx, f.size.cy);
                    LOGFONT lf;
                    std::memset(&lf, 0, sizeof lf);
                    lf.lfHeight = f.nHeight;
                    lf.lfWeight = f.nWeight;
                    lf.lfItalic = f.bItalic;
                    std::strncpy(lf.lfFaceName, f.pFace, LF_FACESIZE - 1);
                    CFont font;
                    font.CreateFontIndirect(&lf);
                    dc->SelectObject(&font);
                    dc->SetBkMode(nAlign == DT_CENTER ? OPAQUE : TRANSPARENT);
                    const RECT rcCell = {10, 5, f.size.cx - 10, f.size.cy - 5};
                    RECT rc = rcCell;
                    dc->DrawText(strText.c_str(), -1, &rc, DT_CALCRECT | DT_NOPREFIX);
                    nWidth = rc.right - rc.left;
                    rc = rcCell;
                    dc->DrawText(strText.c_str(), -1, &rc, nAlign | DT_NOPREFIX | DT_NOCLIP);
                    return Pixels(*dc);
                };
                LONG nOneLine = 0;
                LONG nTwoLines = 0;
                // Compared whole: a difference prints pages of pixels.
                EXPECT_TRUE(draw(pText, nOneLine) == draw(std::string(pText) + "\n", nTwoLines));
                EXPECT_EQ(nOneLine, nTwoLines);
            }
        }
    }
}

TEST(CairoTextLayoutTest, SurfacesOnSeveralThreadsDrawWhatOneThreadDraws) {
    auto draw = [] {
        // Two surfaces in turn: the second one reuses the thread's fonts.
        std::string strPixels;
        for (int i = 0; i < 2; ++i) {
            auto dc = CCairoDC::CreatePng(120, 40);
            CFont font;
            SelectFont(*dc, font, "SimHei", -16);
            dc->TextOut(4, 4, "\xe4\xbd\x93\xe6\xb8\xa9 36.5", 11);
            RECT rc = {4, 20, 116, 40};
            dc->DrawText("Pulse", -1, &rc, DT_CENTER | DT_NOPREFIX);
            strPixels = Pixels(*dc);
        }
        return strPixels;
    };
    const std::string strExpected = draw();
    std::vector<std::string> results(3);
    std::vector<std::thread> threads;
    for (std::string& strResult : results) threads.emplace_back([&strResult, &draw] { strResult = draw(); });
    for (std::thread& thread : threads) thread.join();
    for (const std::string& strResult : results) EXPECT_EQ(strResult, strExpected);
}

TEST(CairoTextLayoutTest, ImagesInTwoCodePagesShareNoLabels) {
    // The same bytes are other characters in another code page.
    auto draw = [](UINT nCodePage) {
        auto dc = CCairoDC::CreatePng(80, 30, nCodePage);
        CFont font;
        SelectFont(*dc, font, "SimSun", -16);
        RECT rc = {2, 2, 78, 28};
        dc->DrawText("\xcc\xe5\xce\xc2", -1, &rc, DT_NOPREFIX);
        return Pixels(*dc);
    };
    const std::string strGbk = draw(CP_GBK);
    const std::string strUtf8 = draw(CP_UTF8);
    EXPECT_NE(strGbk, strUtf8);
    std::string strUtf8First;
    std::string strGbkSecond;
    std::thread([&] {
        strUtf8First = draw(CP_UTF8);
        strGbkSecond = draw(CP_GBK);
    }).join();
    EXPECT_EQ(strUtf8First, strUtf8);
    EXPECT_EQ(strGbkSecond, strGbk);
}

TEST(CairoTextLayoutTest, SharedFontsAreTheProcesssCurrentConfiguration) {
    ASSERT_TRUE(CCairoDC::ShareFontsWithProcess());
    // The chart's face names resolve in fontconfig's current configuration.
    FcPattern* pPattern = FcNameParse(reinterpret_cast<const FcChar8*>("SimSun"));
    FcConfigSubstitute(nullptr, pPattern, FcMatchPattern);
    FcDefaultSubstitute(pPattern);
    FcResult result = FcResultNoMatch;
    FcPattern* pMatch = FcFontMatch(nullptr, pPattern, &result);
    ASSERT_NE(pMatch, nullptr);
    FcChar8* pFamily = nullptr;
    ASSERT_EQ(FcPatternGetString(pMatch, FC_FAMILY, 0, &pFamily), FcResultMatch);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pFamily)).rfind("Noto Serif CJK", 0), 0u) << pFamily;
    FcPatternDestroy(pMatch);
    FcPatternDestroy(pPattern);
}

}  // namespace
}  // namespace vitalchart
