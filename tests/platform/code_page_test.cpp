#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/string_map.h"

namespace vitalchart {
namespace {

TEST(CodePageTest, CompareNoCaseFoldsAsciiOnly) {
    struct Row {
        UINT cp;
        std::string a, b;
        bool equal;
    } rows[] = {
        {CP_UTF8, "left", "LEFT", true},
        {CP_UTF8, "Left", "lEfT", true},
        {CP_UTF8, " left", "left", false},
        {CP_UTF8, "left", "lef", false},
        {CP_UTF8, "", "", true},
        {CP_UTF8, "体温", "体温", true},
        {CP_UTF8, "体温A", "体温a", true},
        {CP_UTF8, "体温", "脉搏", false},
        // GBK: the trail byte 0x41 ('A') must not fold to 0x61 ('a').
        {CP_GBK, "\x81\x41", "\x81\x61", false},
        {CP_GBK, "\x81\x41x", "\x81\x41X", true},
        {CP_GBK, "\xcc\xe5\xce\xc2", "\xcc\xe5\xce\xc2", true},
        // Single-byte code page: 0x41 after 0x81 is an ordinary letter.
        {1252, "\x81\x41", "\x81\x61", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.a + " vs " + r.b);
        EXPECT_EQ(EqualsNoCase(r.cp, r.a, r.b), r.equal);
        EXPECT_EQ(EqualsNoCase(r.cp, r.b, r.a), r.equal);
    }
}

TEST(CodePageTest, CharLengthKeepsCharactersWholeAndNeverOverruns) {
    struct Row {
        UINT cp;
        std::string text;
        std::size_t expected;
    } rows[] = {
        {CP_GBK, "\xcc\xe5", 2},      {CP_GBK, "\xcc", 1},           // lone lead byte at the end
        {CP_GBK, "A\xcc", 1},         {CP_GBK, "\x80\x41", 1},       // 0x80 is no lead byte
        {CP_GBK, "\xff\x41", 1},      {CP_UTF8, "\xe4\xbd\x93", 3},  // 体
        {CP_UTF8, "\xe4\xbd", 1},                                    // cut short
        {CP_UTF8, "\xc3\xa9", 2},     {CP_UTF8, "\xf0\x9f\x98\x80", 4},
        {CP_UTF8, "\xc0\x80", 1},      // overlong
        {CP_UTF8, "\xe4\x41\x41", 1},  // bad continuation
        {CP_UTF8, "\x80", 1},         {1252, "\xe4\xbd\x93", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(CharLength(r.cp, r.text.data(), r.text.size()), r.expected);
    }
    EXPECT_EQ(CharLength(CP_UTF8, "", 0), 0u);
}

TEST(CodePageTest, BoundedCopyNeverSplitsACharacter) {
    char buf[32];
    CopyTextBounded(CP_UTF8, buf, 31, std::string(40, 'a'));
    EXPECT_EQ(std::string(buf), std::string(31, 'a'));
    // Ten three-byte characters and one more: 30 bytes fit, the eleventh does not.
    std::string strChinese;
    for (int i = 0; i < 11; ++i) strChinese += "\xe5\xae\x8b";
    CopyTextBounded(CP_UTF8, buf, 31, strChinese);
    EXPECT_EQ(std::string(buf).size(), 30u);
    // GBK: 'a' and fifteen double-byte characters fit in 31; the sixteenth would split.
    std::string strGbk = "a";
    for (int i = 0; i < 16; ++i) strGbk += "\xcb\xce";
    CopyTextBounded(CP_GBK, buf, 31, strGbk);
    EXPECT_EQ(std::string(buf).size(), 31u);
    CopyTextBounded(CP_GBK, buf, 31, "aa" + strGbk.substr(1));
    EXPECT_EQ(std::string(buf).size(), 30u);
}

TEST(StringMapTest, KeysAreExactAndTheLastValueWins) {
    CMapStringToString map;
    map.SetAt("width", "1");
    map.SetAt("Width", "2");
    map.SetAt("width", "3");
    std::string value;
    EXPECT_TRUE(map.Lookup("width", value));
    EXPECT_EQ(value, "3");
    EXPECT_TRUE(map.Lookup("Width", value));
    EXPECT_EQ(value, "2");
    EXPECT_FALSE(map.Lookup("WIDTH", value));
    EXPECT_EQ(value, "2");
    EXPECT_EQ(map.GetCount(), 2);
    map.SetAt("a", "");
    ASSERT_NE(map.Find("a"), nullptr);
    EXPECT_TRUE(map.Find("a")->empty());
}

TEST(StringMapTest, KeysStayFoundAndInOrderAsTheMapGrowsPastItsIndexSize) {
    // A tag of a few attributes is searched in place, a long one by index:
    // every key is found, replaced in place and kept in first-stored order
    // on both sides of the change.
    CMapStringToString map;
    for (int n = 0; n < 40; ++n) {
        map.SetAt("k" + std::to_string(n), std::to_string(n));
        map.SetAt("k0", "first-" + std::to_string(n));
        for (int k = 1; k <= n; ++k) ASSERT_EQ(*map.Find("k" + std::to_string(k)), std::to_string(k)) << n;
        ASSERT_EQ(map.GetCount(), n + 1);
    }
    EXPECT_EQ(*map.Find("k0"), "first-39");
    EXPECT_EQ(map.Find("k40"), nullptr);
    EXPECT_EQ(map.Entries().front().first, "k0");
    EXPECT_EQ(map.Entries().back().first, "k39");
}

}  // namespace
}  // namespace vitalchart
