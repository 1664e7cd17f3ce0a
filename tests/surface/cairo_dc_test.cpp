#include "vitalchart/surface/cairo_dc.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

bool IsDark(COLORREF cr) {
    return GetRValue(cr) < 96 && GetGValue(cr) < 96 && GetBValue(cr) < 96;
}

struct InkBox {
    int nLeft = INT_MAX, nTop = INT_MAX, nRight = INT_MIN, nBottom = INT_MIN;  // inclusive
    bool Empty() const { return nRight < nLeft; }
};

// Bounding box of the pixels that are not white.
InkBox FindInk(CCairoDC& dc) {
    InkBox box;
    for (int y = 0; y < dc.GetHeight(); ++y) {
        for (int x = 0; x < dc.GetWidth(); ++x) {
            if (dc.GetPixel(x, y) == kWhite) continue;
            box.nLeft = std::min(box.nLeft, x);
            box.nRight = std::max(box.nRight, x);
            box.nTop = std::min(box.nTop, y);
            box.nBottom = std::max(box.nBottom, y);
        }
    }
    return box;
}

void SelectFont(CDC& dc, CFont& font, const char* pFace, LONG nHeight) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = nHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, pFace, LF_FACESIZE - 1);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
}

RECT Measure(CDC& dc, const std::string& strText, UINT nFormat = DT_NOPREFIX) {
    RECT rc = {10, 20, 10, 20};
    dc.DrawText(strText.data(), static_cast<int>(strText.size()), &rc, nFormat | DT_CALCRECT);
    return rc;
}

// The image's pixels as one string, to compare two renderings.
std::string Pixels(CCairoDC& dc) {
    std::string out;
    for (int y = 0; y < dc.GetHeight(); ++y) {
        for (int x = 0; x < dc.GetWidth(); ++x) out += std::to_string(dc.GetPixel(x, y)) + ",";
    }
    return out;
}

TEST(CairoDCTest, OneUnitLineCoversOnePixelRowAndLeavesOutItsEnd) {
    struct Row {
        POINT from, to, on, offA, offB;
    } rows[] = {
        {{10, 20}, {50, 20}, {30, 20}, {30, 19}, {30, 21}}, {{20, 10}, {20, 50}, {20, 30}, {19, 30}, {21, 30}},
        {{10, 20}, {50, 20}, {10, 20}, {50, 20}, {9, 20}},  // first point drawn, last point not
        {{50, 20}, {10, 20}, {50, 20}, {10, 20}, {51, 20}}, {{20, 50}, {20, 10}, {20, 50}, {20, 10}, {20, 51}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.from.x) + "," + std::to_string(r.from.y));
        auto dc = CCairoDC::CreatePng(64, 64);
        dc->MoveTo(r.from.x, r.from.y);
        dc->LineTo(r.to.x, r.to.y);
        EXPECT_EQ(dc->GetPixel(r.on.x, r.on.y), RGB(0, 0, 0));
        EXPECT_EQ(dc->GetPixel(r.offA.x, r.offA.y), kWhite);
        EXPECT_EQ(dc->GetPixel(r.offB.x, r.offB.y), kWhite);
        EXPECT_EQ(dc->GetCurrentPosition().x, r.to.x);
        EXPECT_EQ(dc->GetCurrentPosition().y, r.to.y);
    }
}

TEST(CairoDCTest, PenStylesFollowThePlatformPatterns) {
    // Runs of on and off pixels from the start of a horizontal line.
    struct Row {
        int nStyle;
        std::vector<int> runs;
    } rows[] = {
        {PS_SOLID, {60}},
        {PS_DASH, {18, 6, 18}},
        {PS_DOT, {3, 3, 3, 3}},
        {PS_DASHDOT, {9, 6, 3, 6, 9}},
        {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3, 9}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("style " + std::to_string(r.nStyle));
        auto dc = CCairoDC::CreatePng(80, 10);
        CPen pen;
        pen.CreatePen(r.nStyle, 1, RGB(0, 0, 0));
        dc->SelectObject(&pen);
        dc->MoveTo(0, 5);
        dc->LineTo(60, 5);
        int x = 0;
        for (std::size_t i = 0; i < r.runs.size(); ++i) {
            for (int k = 0; k < r.runs[i]; ++k, ++x) {
                EXPECT_EQ(IsDark(dc->GetPixel(x, 5)), i % 2 == 0) << "x " << x;
            }
        }
    }
}

TEST(CairoDCTest, WidePenIsSolidWithRoundEnds) {
    auto dc = CCairoDC::CreatePng(60, 40);
    CPen pen;
    pen.CreatePen(PS_DASH, 5, RGB(0, 0, 0));  // a wide patterned pen draws solid
    dc->SelectObject(&pen);
    dc->MoveTo(10, 20);
    dc->LineTo(50, 20);
    for (int x = 10; x < 50; ++x) {
        EXPECT_TRUE(IsDark(dc->GetPixel(x, 18)) && IsDark(dc->GetPixel(x, 22))) << "x " << x;
    }
    EXPECT_EQ(dc->GetPixel(30, 16), kWhite);
    EXPECT_EQ(dc->GetPixel(30, 24), kWhite);
    EXPECT_TRUE(IsDark(dc->GetPixel(8, 20)));  // the round end reaches past the end point
    EXPECT_EQ(dc->GetPixel(7, 17), kWhite);    // but not into the corner
}

TEST(CairoDCTest, FiguresAreOutlinedWithThePenAndFilledWithTheBrush) {
    auto dc = CCairoDC::CreatePng(64, 64);
    dc->FillSolidRect({0, 0, 64, 64}, RGB(0, 0, 255));
    dc->Ellipse(4, 4, 24, 24);  // the stock brush is white
    EXPECT_EQ(dc->GetPixel(14, 14), kWhite);
    EXPECT_TRUE(IsDark(dc->GetPixel(4, 14)));
    EXPECT_EQ(dc->GetPixel(3, 14), RGB(0, 0, 255));  // the figure stays inside its box

    CBrush brush;
    brush.CreateSolidBrush(kRed);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, kRed);
    dc->SelectObject(&brush);
    dc->SelectObject(&pen);
    dc->Ellipse(32, 32, 48, 48);
    EXPECT_EQ(dc->GetPixel(40, 40), kRed);
    POINT tri[] = {{4, 60}, {24, 60}, {14, 40}};
    dc->Polygon(tri, 3);
    EXPECT_EQ(dc->GetPixel(14, 55), kRed);
    EXPECT_EQ(dc->GetPixel(4, 44), RGB(0, 0, 255));
}

TEST(CairoDCTest, AbsurdGeometryNeverBreaksTheSurface) {
    auto dc = CCairoDC::CreatePng(100, 100);
    CPen pen;
    for (int nWidth : {-5, 0, INT_MAX, INT_MIN}) {
        pen.CreatePen(PS_SOLID, nWidth, RGB(0, 0, 0));
        dc->SelectObject(&pen);
        dc->MoveTo(INT_MIN, INT_MIN);
        dc->LineTo(INT_MAX, INT_MAX);
        dc->Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        POINT pts[] = {{INT_MIN, 0}, {INT_MAX, INT_MAX}, {0, INT_MIN}};
        dc->Polygon(pts, 3);
        dc->Polygon(pts, 1);
        dc->Polygon(nullptr, 3);
    }
    dc->FillSolidRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kWhite);
    // A line from far outside crosses the image at its true slope.
    pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    dc->SelectObject(&pen);
    dc->MoveTo(-2000000000, -1999999990);
    dc->LineTo(2000000000, 2000000010);
    EXPECT_TRUE(IsDark(dc->GetPixel(50, 60)));
    EXPECT_EQ(dc->GetPixel(50, 50), kWhite);
    dc->TextOut(INT_MAX, INT_MIN, "x", 1);
    EXPECT_TRUE(dc->Finish()) << dc->GetError();
}

TEST(CairoDCTest, OpaqueTextPaintsAWhiteBackgroundAndTransparentDoesNot) {
    for (int nMode : {OPAQUE, TRANSPARENT}) {
        SCOPED_TRACE(nMode);
        auto dc = CCairoDC::CreatePng(80, 40);
        dc->FillSolidRect({0, 0, 80, 40}, kRed);
        dc->SetBkMode(nMode);
        dc->TextOut(10, 10, "ab", 2);
        int nWhite = 0;
        int nDark = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 80; ++x) {
                nWhite += dc->GetPixel(x, y) == kWhite;
                nDark += IsDark(dc->GetPixel(x, y));
            }
        }
        EXPECT_GT(nDark, 10);
        EXPECT_EQ(nWhite > 50, nMode == OPAQUE);
        // The text's box starts exactly at the point given.
        EXPECT_EQ(dc->GetPixel(10, 10), nMode == OPAQUE ? kWhite : kRed);
        EXPECT_EQ(dc->GetPixel(9, 10), kRed);
        EXPECT_EQ(dc->GetPixel(10, 9), kRed);
    }
}

TEST(CairoDCTest, TextIsPlacedWhereItsFormatSays) {
    struct Row {
        UINT nFormat;
        int nExpectedLeft, nExpectedRight;  // ink columns, within two pixels
    } rows[] = {{DT_CENTER, -1, -1}, {DT_LEFT, 20, -1}, {DT_RIGHT, -1, 179}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nFormat);
        auto dc = CCairoDC::CreatePng(200, 60);
        CFont font;
        SelectFont(*dc, font, "Arial", -24);
        dc->SetTextColor(RGB(0, 0, 255));
        RECT rc = {20, 10, 180, 50};
        dc->DrawText("HHHH", 4, &rc, r.nFormat | DT_NOPREFIX);
        InkBox ink = FindInk(*dc);
        ASSERT_FALSE(ink.Empty());
        EXPECT_EQ(dc->GetPixel(ink.nLeft + 1, (ink.nTop + ink.nBottom) / 2), RGB(0, 0, 255));
        EXPECT_GE(ink.nTop, 10);
        if (r.nFormat == DT_CENTER) {
            EXPECT_NEAR(ink.nLeft + ink.nRight + 1, 200, 3);
        }
        if (r.nExpectedLeft >= 0) {
            EXPECT_NEAR(ink.nLeft, r.nExpectedLeft, 3);
        }
        if (r.nExpectedRight >= 0) {
            EXPECT_NEAR(ink.nRight, r.nExpectedRight, 3);
        }
    }
}

TEST(CairoDCTest, MeasuredExtentIsWhereDrawingPutsInk) {
    for (const char* pText : {"36.5", "\xe4\xbd\x93\xe6\xb8\xa9 37", "W\nWWW"}) {
        SCOPED_TRACE(pText);
        auto dc = CCairoDC::CreatePng(160, 120);
        CFont font;
        SelectFont(*dc, font, "SimSun", -20);
        RECT rc = Measure(*dc, pText);
        EXPECT_EQ(rc.left, 10);
        EXPECT_EQ(rc.top, 20);
        dc->DrawText(pText, -1, &rc, DT_CENTER | DT_NOPREFIX);
        InkBox ink = FindInk(*dc);
        ASSERT_FALSE(ink.Empty());
        EXPECT_GE(ink.nLeft, rc.left - 1);
        EXPECT_LE(ink.nRight, rc.right);
        EXPECT_GE(ink.nTop, rc.top);
        EXPECT_LE(ink.nBottom, rc.bottom);
        EXPECT_GT(ink.nRight - ink.nLeft + 1, (rc.right - rc.left) * 3 / 4);
    }
}

TEST(CairoDCTest, TextStaysInItsRectangleUnlessNoClipAndTabsExpandOnlyWhenAsked) {
    // Vertical text in a column narrower than its characters: cut at the
    // column's edges, as the platform cuts it.
    for (UINT nClip : {0u, DT_NOCLIP}) {
        SCOPED_TRACE(nClip);
        auto dc = CCairoDC::CreatePng(120, 60);
        CFont font;
        SelectFont(*dc, font, "SimSun", -24);
        RECT rc = {40, 10, 50, 40};
        dc->DrawText("\xe6\x89\x8bW", -1, &rc, DT_NOPREFIX | nClip);
        InkBox ink = FindInk(*dc);
        ASSERT_FALSE(ink.Empty());
        if (nClip == 0) {
            EXPECT_GE(ink.nLeft, 40);
            EXPECT_LE(ink.nRight, 49);
        } else {
            EXPECT_GT(ink.nRight, 60);
        }
    }
    auto dc = CCairoDC::CreatePng(10, 10);
    CFont font;
    SelectFont(*dc, font, "Arial", -20);
    const RECT blank = Measure(*dc, "a b");
    EXPECT_EQ(Measure(*dc, "a\tb").right, blank.right);
    EXPECT_GT(Measure(*dc, "a\tb", DT_NOPREFIX | DT_EXPANDTABS).right, blank.right);
}

TEST(CairoDCTest, TextIsCutToItsRectangleOnlyWhereItReachesTheEdge) {
    // A label well inside its rectangle is drawn without a cut, one near or
    // over the edge is cut: nothing lies outside the rectangle, and a label
    // with room to spare paints what the uncut text paints.
    struct Row {
        UINT nFormat;
        int nMode;
    } rows[] = {{DT_LEFT, TRANSPARENT}, {DT_CENTER, OPAQUE}, {DT_RIGHT, TRANSPARENT}};
    for (const Row& r : rows) {
        for (int nInset = -6; nInset <= 6; ++nInset) {
            SCOPED_TRACE(testing::Message() << "format " << r.nFormat << ", inset " << nInset);
            const auto draw = [&](UINT nClip) {
                auto dc = CCairoDC::CreatePng(120, 80);
                CFont font;
                SelectFont(*dc, font, "SimSun", -20);
                dc->SetBkMode(r.nMode);
                dc->FillSolidRect(RECT{0, 0, 120, 80}, kRed);
                RECT rc = Measure(*dc, "\xe4\xbd\x93\xe6\xb8\xa9 Wg\n37");
                rc = {rc.left + nInset, rc.top + nInset, rc.right - nInset, rc.bottom - nInset};
                dc->DrawText("\xe4\xbd\x93\xe6\xb8\xa9 Wg\n37", -1, &rc, r.nFormat | DT_NOPREFIX | nClip);
                return std::make_pair(std::move(dc), rc);
            };
            const auto cut = draw(0);
            const auto uncut = draw(DT_NOCLIP);
            const RECT& rc = cut.second;
            for (int y = 0; y < 80; ++y) {
                for (int x = 0; x < 120; ++x) {
                    const bool bInside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
                    const COLORREF cr = cut.first->GetPixel(x, y);
                    if (!bInside) {
                        ASSERT_EQ(cr, kRed) << x << "," << y;
                    } else if (nInset < 0) {
                        ASSERT_EQ(cr, uncut.first->GetPixel(x, y)) << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(CairoDCTest, LinesBreakAtLineFeedsAndPrefixesFollowThePlatform) {
    auto dc = CCairoDC::CreatePng(10, 10);
    CFont font;
    SelectFont(*dc, font, "Arial", -20);
    RECT one = Measure(*dc, "AB");
    RECT two = Measure(*dc, "AB\nA");
    EXPECT_EQ(two.right, one.right);
    EXPECT_NEAR(two.bottom - two.top, 2 * (one.bottom - one.top), 1);
    RECT crlf = Measure(*dc, "AB\r\nA");
    EXPECT_EQ(crlf.bottom, two.bottom);
    EXPECT_EQ(crlf.right, two.right);

    EXPECT_EQ(Measure(*dc, "A&&B", 0).right, Measure(*dc, "A&B").right);
    EXPECT_EQ(Measure(*dc, "&AB", 0).right, one.right);
    EXPECT_GT(Measure(*dc, "&AB").right, one.right);
    EXPECT_EQ(Measure(*dc, "AB&", 0).right, one.right);
    EXPECT_EQ(Measure(*dc, "").right, 10);
}

TEST(CairoDCTest, FontHeightSignChoosesCharacterOrCellHeight) {
    auto dc = CCairoDC::CreatePng(10, 10);
    CFont font;
    SelectFont(*dc, font, "Arial", 40);
    RECT cell = Measure(*dc, "H");
    EXPECT_NEAR(cell.bottom - cell.top, 40, 1);
    SelectFont(*dc, font, "Arial", -40);
    RECT character = Measure(*dc, "H");
    EXPECT_GT(character.bottom - character.top, 42);  // the em is 40, the cell larger
    SelectFont(*dc, font, "Arial", 0);
    RECT byDefault = Measure(*dc, "H");
    EXPECT_NEAR(byDefault.bottom - byDefault.top, 16, 1);
}

TEST(CairoDCTest, WeightItalicAndUnderlineChangeTheInk) {
    auto countDark = [](BYTE bItalic, BYTE bUnderline, LONG nWeight, std::string* pPixels) {
        auto dc = CCairoDC::CreatePng(120, 40);
        LOGFONT lf;
        std::memset(&lf, 0, sizeof lf);
        lf.lfHeight = -24;
        lf.lfWeight = nWeight;
        lf.lfItalic = bItalic;
        lf.lfUnderline = bUnderline;
        std::strcpy(lf.lfFaceName, "Arial");
        CFont font;
        font.CreateFontIndirect(&lf);
        dc->SelectObject(&font);
        dc->TextOut(4, 4, "HIH", 3);
        int n = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 120; ++x) n += IsDark(dc->GetPixel(x, y));
        }
        *pPixels = Pixels(*dc);
        return n;
    };
    std::string normal, bold, italic, underline;
    int nNormal = countDark(0, 0, FW_NORMAL, &normal);
    EXPECT_GT(countDark(0, 0, FW_BOLD, &bold), nNormal * 5 / 4);
    EXPECT_GT(countDark(0, 1, FW_NORMAL, &underline), nNormal);
    countDark(1, 0, FW_NORMAL, &italic);
    EXPECT_NE(italic, normal);
}

TEST(CairoDCTest, BadTextBytesBecomeReplacementCharacters) {
    struct Row {
        UINT nCodePage;
        std::string strBad, strGood;
    } rows[] = {
        {CP_GBK, std::string("\xcc\xe5\xce\xc2\x81", 5), "\xcc\xe5\xce\xc2"},
        {CP_UTF8, std::string("\xff\xe4\xbd\x93\xc0\x00x", 7), "\xe4\xbd\x93x"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nCodePage);
        auto dc = CCairoDC::CreatePng(200, 60, r.nCodePage);
        CFont font;
        SelectFont(*dc, font, "SimSun", -20);
        EXPECT_GT(Measure(*dc, r.strBad).right, Measure(*dc, r.strGood).right);
        dc->TextOut(5, 5, r.strBad.data(), static_cast<int>(r.strBad.size()));
        EXPECT_FALSE(FindInk(*dc).Empty());
        EXPECT_TRUE(dc->Finish());
    }
}

// Renders "体温 36.5" in a face given in the surface's code page.
std::string RenderFace(const char* pFace, UINT nCodePage = CP_UTF8) {
    auto dc = CCairoDC::CreatePng(120, 30, nCodePage);
    CFont font;
    SelectFont(*dc, font, pFace, -18);
    const char* pText = nCodePage == CP_GBK ? "\xcc\xe5\xce\xc2 36.5" : "\xe4\xbd\x93\xe6\xb8\xa9 36.5";
    dc->TextOut(2, 2, pText, static_cast<int>(std::strlen(pText)));
    EXPECT_FALSE(FindInk(*dc).Empty()) << pFace;
    return Pixels(*dc);
}

TEST(CairoDCTest, PlatformFaceNamesMapToTheChartFonts) {
    const std::string serif = RenderFace("Noto Serif CJK SC");
    const std::string sans = RenderFace("Noto Sans CJK SC");
    ASSERT_NE(serif, sans);
    EXPECT_EQ(RenderFace("SimSun"), serif);
    EXPECT_EQ(RenderFace("\xe5\xae\x8b\xe4\xbd\x93"), serif);  // 宋体 in UTF-8
    EXPECT_EQ(RenderFace("\xcb\xce\xcc\xe5", CP_GBK), serif);  // 宋体 in GBK
    EXPECT_EQ(RenderFace("SimHei"), sans);
    EXPECT_EQ(RenderFace("\xe9\xbb\x91\xe4\xbd\x93"), sans);                          // 黑体
    EXPECT_EQ(RenderFace("\xe5\xbe\xae\xe8\xbd\xaf\xe9\x9b\x85\xe9\xbb\x91"), sans);  // 微软雅黑
    EXPECT_EQ(RenderFace("System"), sans);
    EXPECT_EQ(RenderFace(""), sans);
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string RunCommand(const std::string& strCommand) {
    std::string out;
    if (std::FILE* p = ::popen(strCommand.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
        ::pclose(p);
    }
    return out;
}

TEST(CairoDCTest, PdfHasOneWhitePagePerPageDrawnOnAtTheDeviceResolution) {
    test::TempFile file("", ".pdf");
    {
        auto dc = CCairoDC::CreatePdf(file.Path(), 1200, 600, 600, CP_UTF8, 1);
        dc->MoveTo(0, 0);
        dc->LineTo(100, 100);
        EXPECT_TRUE(dc->ShowPage());
        // The second page's first drawing is cut to a small rectangle; the
        // page begun after it is never drawn on.
        RECT rect = {1000, 400, 1100, 450};
        dc->DrawText("page 2", 6, &rect, DT_LEFT);
        EXPECT_TRUE(dc->ShowPage());
        EXPECT_TRUE(dc->Finish()) << dc->GetError();
        EXPECT_FALSE(dc->ShowPage());
    }
    EXPECT_TRUE(StartsWith(test::ReadFileText(file.Path()), "%PDF"));
    const std::string strInfo = RunCommand("pdfinfo '" + file.Path() + "' 2>/dev/null");
    EXPECT_NE(strInfo.find("Pages:           2\n"), std::string::npos) << strInfo;
    EXPECT_NE(strInfo.find("Page size:       144 x 72 pts"), std::string::npos) << strInfo;
    // Rendered without a backdrop, paper is opaque white and nothing else is.
    const std::string strPrefix = file.Path() + "-page";
    RunCommand("pdftocairo -png -transp -r 10 '" + file.Path() + "' '" + strPrefix + "'");
    for (const char* pszPage : {"-1.png", "-2.png"}) {
        SCOPED_TRACE(pszPage);
        const std::string strPng = strPrefix + pszPage;
        cairo_surface_t* pImage = cairo_image_surface_create_from_png(strPng.c_str());
        std::remove(strPng.c_str());
        ASSERT_EQ(cairo_surface_status(pImage), CAIRO_STATUS_SUCCESS);
        const auto* pCorner = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(pImage));
        EXPECT_EQ(pCorner[cairo_image_surface_get_width(pImage) - 1], 0xFFFFFFFFu);
        cairo_surface_destroy(pImage);
    }
}

TEST(CairoDCTest, SvgIsWrittenAsOnePage) {
    test::TempFile file("", ".svg");
    auto dc = CCairoDC::CreateSvg(file.Path(), 960, 480, 96, CP_UTF8, 0);
    dc->Ellipse(10, 10, 100, 100);
    EXPECT_FALSE(dc->ShowPage());
    EXPECT_TRUE(dc->Finish()) << dc->GetError();
    std::string strSvg = test::ReadFileText(file.Path());
    EXPECT_NE(strSvg.find("<svg"), std::string::npos);
    EXPECT_NE(strSvg.find("width=\"720pt\""), std::string::npos);
}

TEST(CairoDCTest, DocumentsKeptInMemoryAreHandedOverOnceFinished) {
    const struct {
        std::unique_ptr<CCairoDC> dc;
        const char* pszStart;
        const char* pszEnd;  // null: the document fails
    } rows[] = {
        {CCairoDC::CreatePdfInMemory(1200, 600, 600, CP_UTF8, 1), "%PDF", "%%EOF\n"},
        {CCairoDC::CreateSvgInMemory(960, 480, 96, CP_UTF8, 0), "<?xml", "</svg>\n"},
        {CCairoDC::CreatePdfInMemory(100, 100, 5, CP_UTF8, 1), "", nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pszStart);
        r.dc->Ellipse(10, 10, 100, 100);
        r.dc->TextOut(100, 100, "page", 4);
        EXPECT_EQ(r.dc->TakeDocument(), "");  // not finished yet
        EXPECT_EQ(r.dc->Finish(), r.pszEnd != nullptr) << r.dc->GetError();
        const std::string strDocument = r.dc->TakeDocument();
        EXPECT_EQ(r.dc->TakeDocument(), "");
        if (r.pszEnd == nullptr) {
            EXPECT_EQ(strDocument, "");
            continue;
        }
        EXPECT_TRUE(StartsWith(strDocument, r.pszStart));
        ASSERT_GT(strDocument.size(), std::strlen(r.pszEnd));
        EXPECT_EQ(strDocument.substr(strDocument.size() - std::strlen(r.pszEnd)), r.pszEnd);
    }
}

TEST(CairoDCTest, FailuresAreReportedOnceAtTheEndWithTheFirstMessage) {
    const std::string strBadDir = "/nonexistent-vitalchart-dir/";
    unsigned char lent[40 * 10] = {};
    struct Row {
        std::unique_ptr<CCairoDC> dc;
        const char* pExpected;
    } rows[] = {
        {CCairoDC::CreatePdf(strBadDir + "a.pdf", 100, 100, 96, CP_UTF8, 1), "a.pdf"},
        {CCairoDC::CreateSvg(strBadDir + "a.svg", 100, 100, 96, CP_UTF8, 0), "a.svg"},
        {CCairoDC::CreatePdf("/tmp/never-written.pdf", 100, 100, 5, CP_UTF8, 1), "resolution"},
        {CCairoDC::CreatePng(0, 10), "image size"},
        {CCairoDC::CreatePng(CCairoDC::kMaxImageSide, CCairoDC::kMaxImageSide), "image size"},
        {CCairoDC::CreatePngOn(nullptr, 40, 10, 10), "no pixels"},
        {CCairoDC::CreatePngOn(lent, 36, 10, 10), "stride 36"},
        {CCairoDC::CreatePngOn(lent, 42, 10, 10), "stride 42"},
        {CCairoDC::CreatePngOn(lent, 40, 0, 10), "image size"},
    };
    for (Row& r : rows) {
        SCOPED_TRACE(r.pExpected);
        CCairoDC& dc = *r.dc;
        dc.MoveTo(0, 0);
        dc.LineTo(50, 50);
        dc.TextOut(0, 0, "x", 1);
        EXPECT_GT(Measure(dc, "x").right, 10);  // measuring still works
        EXPECT_FALSE(dc.Finish());
        EXPECT_FALSE(dc.Finish());
        EXPECT_NE(dc.GetError().find(r.pExpected), std::string::npos) << dc.GetError();
        EXPECT_EQ(dc.GetError().find('\n'), std::string::npos);
    }

    auto png = CCairoDC::CreatePng(8, 8);
    EXPECT_FALSE(png->WritePng(strBadDir + "first.png"));
    EXPECT_FALSE(png->WritePng(strBadDir + "second.png"));
    EXPECT_NE(png->GetError().find("first.png"), std::string::npos) << png->GetError();
    EXPECT_FALSE(png->Finish());
}

TEST(CairoDCTest, LentPixelsAreDrawnAsAnImageOfItsOwn) {
    // A buffer that held another chart comes out as a fresh image: painted
    // white first, and drawn within its rows only.
    const int nWidth = 30, nHeight = 20, nStride = 4 * nWidth + 8;
    std::vector<unsigned char> arrPixels(static_cast<std::size_t>(nStride) * nHeight, 0x5a);
    auto own = CCairoDC::CreatePng(nWidth, nHeight);
    auto lent = CCairoDC::CreatePngOn(arrPixels.data(), nStride, nWidth, nHeight);
    for (CCairoDC* dc : {own.get(), lent.get()}) {
        dc->MoveTo(-5, 3);
        dc->LineTo(40, 17);
        RECT rc = {2, 2, 28, 18};
        dc->DrawText("37.5", -1, &rc, DT_NOPREFIX);
    }
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) ASSERT_EQ(lent->GetPixel(x, y), own->GetPixel(x, y)) << x << "," << y;
    std::vector<unsigned char> arrOwn, arrLent;
    ASSERT_TRUE(own->EncodePng(arrOwn));
    ASSERT_TRUE(lent->EncodePng(arrLent));
    EXPECT_EQ(arrLent, arrOwn);
    EXPECT_TRUE(lent->Finish()) << lent->GetError();
    for (int y = 0; y < nHeight; ++y)
        for (int x = 4 * nWidth; x < nStride; ++x) EXPECT_EQ(arrPixels[y * nStride + x], 0x5a);
}

TEST(CairoDCTest, PngIsEncodedAndPixelsOutsideAreInvalid) {
    auto dc = CCairoDC::CreatePng(8, 8);
    std::vector<unsigned char> arrBytes;
    ASSERT_TRUE(dc->EncodePng(arrBytes));
    ASSERT_GT(arrBytes.size(), 8u);
    EXPECT_EQ(std::string(arrBytes.begin() + 1, arrBytes.begin() + 4), "PNG");
    EXPECT_EQ(dc->GetPixel(8, 0), CCairoDC::CLR_INVALID);
    EXPECT_EQ(dc->GetPixel(-1, 0), CCairoDC::CLR_INVALID);
    test::TempFile file("", ".png");
    EXPECT_TRUE(dc->WritePng(file.Path())) << dc->GetError();
    EXPECT_EQ(test::ReadFileText(file.Path()).size(), arrBytes.size());
}

}  // namespace
}  // namespace vitalchart
