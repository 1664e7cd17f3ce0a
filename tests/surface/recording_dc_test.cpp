#include "vitalchart/surface/recording_dc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace vitalchart {
namespace {

CFont MakeFont(const char* face, int height) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    std::strcpy(lf.lfFaceName, face);
    lf.lfHeight = height;
    lf.lfWeight = 700;
    lf.lfItalic = 1;
    CFont font;
    font.CreateFontIndirect(&lf);
    return font;
}

TEST(RecordingDCTest, StartsInTheDocumentedState) {
    CRecordingDC dc;
    EXPECT_EQ(dc.GetCodePage(), CP_UTF8);
    EXPECT_FALSE(dc.IsPrinting());
    auto* pPen = static_cast<CPen*>(dc.GetCurrentObject(OBJ_PEN));
    ASSERT_NE(pPen, nullptr);
    EXPECT_EQ(pPen->m_nStyle, 0);
    EXPECT_EQ(pPen->m_nWidth, 1);
    EXPECT_EQ(pPen->m_crColor, 0u);
    auto* pFont = static_cast<CFont*>(dc.GetCurrentObject(OBJ_FONT));
    ASSERT_NE(pFont, nullptr);
    EXPECT_STREQ(pFont->m_logFont.lfFaceName, "System");
    EXPECT_EQ(pFont->m_logFont.lfHeight, 16);
    EXPECT_EQ(pFont->m_logFont.lfWeight, 400);
    EXPECT_EQ(dc.GetBrush().m_crColor, 0xFFFFFFu);
    EXPECT_EQ(dc.GetTextColor(), 0u);
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetTrace(), "");  // queries write nothing
    CRecordingDC gbk(CP_GBK, 1);
    EXPECT_EQ(gbk.GetCodePage(), CP_GBK);
    EXPECT_TRUE(gbk.IsPrinting());
}

TEST(RecordingDCTest, WritesOneCanonicalLinePerCall) {
    CRecordingDC dc;
    CPen pen;
    pen.CreatePen(PS_DASH, 3, RGB(255, 0, 0));
    CBrush brush;
    brush.CreateSolidBrush(RGB(0, 0, 255));
    CFont font = MakeFont("Sim\"Sun", -12);
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(0x12, 0x34, 0x56));
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(1, 2);
    dc.LineTo(-3, 4);
    dc.Ellipse(1, 2, 3, 4);
    POINT pts[3] = {{1, 2}, {3, 4}, {5, 6}};
    dc.Polygon(pts, 3);
    dc.FillSolidRect(RECT{0, 0, 10, 20}, RGB(0, 0, 0));
    dc.TextOut(5, 6, "a\\b\n\xe4", 5);
    RECT rect = {1, 2, 3, 4};
    dc.DrawText("A&B", 3, &rect, DT_CENTER | DT_NOPREFIX);
    EXPECT_EQ(dc.GetTrace(),
              "pen 1 3 #ff0000\n"
              "brush #0000ff\n"
              "font \"Sim\\\"Sun\" -12 700 1 0\n"
              "textcolor #123456\n"
              "bkmode 1\n"
              "moveto 1 2\n"
              "lineto -3 4\n"
              "ellipse 1 2 3 4\n"
              "polygon 1 2 3 4 5 6\n"
              "fillrect 0 0 10 20 #000000\n"
              "textout 5 6 \"a\\\\b\\x0a\\xe4\"\n"
              "drawtext 1 2 3 4 0x801 \"A&B\"\n");
}

TEST(RecordingDCTest, SelectReturnsThePreviousObjectAndRestoresIt) {
    CRecordingDC dc;
    CPen red;
    red.CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* pOld = dc.SelectObject(&red);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(pOld->m_nWidth, 1);
    // The returned object keeps describing the old pen after the selection changed.
    CPen* pBack = dc.SelectObject(pOld);
    EXPECT_EQ(pBack->m_crColor, RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPen().m_crColor, 0u);
    // An object without a system object is not selected and writes nothing.
    CPen unattached;
    std::string before = dc.GetTrace();
    EXPECT_EQ(dc.SelectObject(&unattached), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_EQ(dc.GetTrace(), before);
}

TEST(RecordingDCTest, TemporariesDoNotPileUp) {
    CRecordingDC dc;
    CPen a;
    a.CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    CPen* pFirst = dc.SelectObject(&a);
    for (int i = 0; i < 1000; ++i) {
        CPen* pOld = dc.SelectObject(pFirst);
        dc.SelectObject(pOld);
    }
    CGdiObject* pCurrent = dc.GetCurrentObject(OBJ_PEN);
    CPen* pReturned = dc.SelectObject(pFirst);
    // One surface-owned object per description, handed out again and again.
    EXPECT_EQ(pCurrent, pReturned);
}

TEST(RecordingDCTest, CalcRectMeasuresWithTheFixedMetricAndDrawsNothing) {
    struct Row {
        int height;
        std::string text;
        int width, lines;
    } rows[] = {
        {0, "abc", 24, 16},  // height 0 counts as 16: 8 per byte
        {-12, "abcd", 24, 12},
        {12, "ab\ncdef\r\ng", 24, 36},  // widest line 4 bytes, 3 lines
        {1, "abc", 3, 1},               // at least one unit a byte
        {-16, "", 0, 0},
        {-16, "\n", 0, 32},
        {-16, "\xe4\xbd\x93", 24, 16},  // bytes, not characters
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        CRecordingDC dc;
        CFont font = MakeFont("x", r.height);
        dc.SelectObject(&font);
        std::string before = dc.GetTrace();
        RECT rect = {10, 20, 0, 0};
        dc.DrawText(r.text.data(), static_cast<int>(r.text.size()), &rect, DT_CALCRECT | DT_NOPREFIX);
        EXPECT_EQ(rect.left, 10);
        EXPECT_EQ(rect.top, 20);
        EXPECT_EQ(rect.right - rect.left, r.width);
        EXPECT_EQ(rect.bottom - rect.top, r.lines);
        EXPECT_EQ(dc.GetTrace(), before);
    }
}

TEST(RecordingDCTest, HugeFontHeightsWrapInsteadOfOverflowing) {
    CRecordingDC dc;
    CFont font = MakeFont("x", INT_MIN);
    dc.SelectObject(&font);
    RECT rect = {INT_MAX, INT_MAX, 0, 0};
    dc.DrawText("abc", 3, &rect, DT_CALCRECT);
    EXPECT_EQ(rect.left, INT_MAX);
    // 3 * 2^30 and 2^31 taken modulo 2^32 and added with wrap-around.
    EXPECT_EQ(rect.right, static_cast<int>(0x7FFFFFFFu + 0xC0000000u - 0x100000000ull));
    EXPECT_EQ(rect.bottom, static_cast<int>(0x7FFFFFFFu + 0x80000000u - 0x100000000ull));
}

}  // namespace
}  // namespace vitalchart
