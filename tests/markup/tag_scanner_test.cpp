#include "markup/tag_scanner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "markup/byte_buffer.h"
#include "markup/line_walk.h"
#include "platform/string_map.h"

namespace vitalchart {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// A line on the heap holding exactly its bytes and, unless bTerminate is
// false, the terminating zero: AddressSanitizer catches any read beyond.
class HeapLine {
public:
    explicit HeapLine(const std::string& strText, bool bTerminate = true)
        : m_nLength(static_cast<std::int32_t>(strText.size())),
          m_pBytes(new char[strText.size() + (bTerminate ? 1 : 0)]) {
        std::memcpy(m_pBytes.get(), strText.data(), strText.size());
        if (bTerminate) m_pBytes[strText.size()] = '\0';
    }
    const char* Get() const { return m_pBytes.get(); }
    std::int32_t Length() const { return m_nLength; }

private:
    std::int32_t m_nLength;
    std::unique_ptr<char[]> m_pBytes;
};

struct ScannedTag {
    std::string strName;
    Pairs attributes;
    Pairs styles;
    std::int32_t nNameEnd = 0;  // position after ReadTagName
    std::int32_t nEnd = 0;      // position after ParseAttributes
};

ScannedTag ScanOne(const char* pszLine, std::int32_t nLength, std::int32_t nPos) {
    ScannedTag tag;
    tag.strName = ReadTagName(pszLine, nLength, nPos);
    tag.nNameEnd = nPos;
    CMapStringToString mapAttributes;
    CMapStringToString mapStyles;
    ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
    tag.attributes = mapAttributes.Entries();
    tag.styles = mapStyles.Entries();
    tag.nEnd = nPos;
    return tag;
}

// The tags of a line read as the callers read them: each one where the
// previous one ended, until the position reaches the line's length.
std::vector<ScannedTag> ScanAll(const std::string& strLine) {
    HeapLine line(strLine);
    std::vector<ScannedTag> tags;
    std::int32_t nPos = 0;
    while (nPos < line.Length()) {
        tags.push_back(ScanOne(line.Get(), line.Length(), nPos));
        EXPECT_GT(tags.back().nEnd, nPos);
        if (tags.back().nEnd <= nPos) break;
        nPos = tags.back().nEnd;
    }
    return tags;
}

std::string Printable(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\0') {
            out += "\\0";
        } else {
            out += c;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Table-driven rows: one line, the first tag read from position 0.

struct ScanRow {
    const char* pszTitle;
    std::string strLine;
    std::string strName;
    Pairs attributes;
    Pairs styles;
    std::int32_t nEnd;  // final position; -1 means the line's length
};

void PrintTo(const ScanRow& row, std::ostream* os) {
    *os << row.pszTitle << ": " << Printable(row.strLine);
}

class TagScannerRowTest : public ::testing::TestWithParam<ScanRow> {};

TEST_P(TagScannerRowTest, NameAttributesStylesAndPosition) {
    const ScanRow& row = GetParam();
    HeapLine line(row.strLine);
    const ScannedTag tag = ScanOne(line.Get(), line.Length(), 0);
    EXPECT_EQ(tag.strName, row.strName);
    EXPECT_EQ(tag.attributes, row.attributes);
    EXPECT_EQ(tag.styles, row.styles);
    EXPECT_EQ(tag.nEnd, row.nEnd < 0 ? line.Length() : row.nEnd);
}

const std::string k600(600, 'v');
const std::string k31(31, 'n');
const std::string k32(32, 'n');
const std::string k33(33, 'n');

INSTANTIATE_TEST_SUITE_P(
    PartRows, TagScannerRowTest,
    ::testing::Values(
        ScanRow{"size",
                R"(<vitalsize width="100" height="200"/>)",
                "vitalsize",
                {{"width", "100"}, {"height", "200"}},
                {},
                -1},
        ScanRow{"name only", "<vitalsize>", "vitalsize", {}, {}, 11},
        ScanRow{"name only then more", "<vitalsize>xyz", "vitalsize", {}, {}, 11},
        ScanRow{"slash in name", "<print/>", "print/", {}, {}, 8},
        ScanRow{"slash after blank", "<print />", "print", {}, {}, 9}, ScanRow{"closing tag", "</d>", "d", {}, {}, 4},
        ScanRow{"leading blank", R"( <d a="1">)", "<d", {{"a", "1"}}, {}, -1},
        ScanRow{"equals in name", R"(<a=b c="1">)", "a=b", {{"c", "1"}}, {}, -1},
        ScanRow{"empty value", R"(<t a="">)", "t", {{"a", ""}}, {}, -1},
        ScanRow{"repeated attribute", R"(<t a="1" a="2">)", "t", {{"a", "2"}}, {}, -1},
        ScanRow{"600-byte value", "<t a=\"" + k600 + "\">", "t", {{"a", k600}}, {}, -1},
        ScanRow{"blanks kept in value", R"(<t a=" x  y ">)", "t", {{"a", " x  y "}}, {}, -1},
        ScanRow{"semicolon ends value", R"(<t x="1;2" y="3">)", "t", {{"x", "1"}, {"2\"", " y="}}, {}, -1},
        ScanRow{"runs of blanks", R"(<t    a="1"     b="2"   >)", "t", {{"a", "1"}, {"b", "2"}}, {}, -1},
        ScanRow{"tab is text", "<t\ta=\"1\">", "t\ta=\"1\"", {}, {}, -1},
        ScanRow{"case kept", R"(<t Width="5">)", "t", {{"Width", "5"}}, {}, -1},
        ScanRow{"name before bracket dropped", R"(<t a="1" b>)", "t", {{"a", "1"}}, {}, -1},
        ScanRow{"slash ends tag", R"(<t a="1"/><u b="2">)", "t", {{"a", "1"}}, {}, 10},
        ScanRow{"props", R"(<t props="a:1;b:2">)", "t", {}, {{"a", "1"}, {"b", "2"}}, -1},
        ScanRow{"props blank after semicolon", R"(<t props="a:1; b:2">)", "t", {}, {{"a", "1"}, {"b", "2"}}, -1},
        ScanRow{"props blank in value", R"(<t props="a:x y">)", "t", {}, {{"a", "x y"}}, -1},
        ScanRow{"props blank ends key", R"(<t props="a 1">)", "t", {}, {{"a", "1"}}, -1},
        ScanRow{"props then attribute", R"(<t props="a:1" c="2"/>)", "t", {{"c", "2"}}, {{"a", "1"}}, -1},
        ScanRow{"props repeated key", R"(<t props="a:1;a:2">)", "t", {}, {{"a", "2"}}, -1},
        ScanRow{"Props is plain", R"(<t Props="a:1">)", "t", {{"Props", "a:1"}}, {}, -1},
        ScanRow{"props after blank", R"(<t props "a:1">)", "t", {}, {{"\"a", "1"}}, -1},
        ScanRow{"props semicolon before quote", R"(<t props="a:1;"/><u>)", "t", {}, {{"a", "1"}}, -1},
        ScanRow{
            "multi-byte text", "<d v=\"\xE4\xBD\x93\xE6\xB8\xA9\">", "d", {{"v", "\xE4\xBD\x93\xE6\xB8\xA9"}}, {}, -1},
        // Cut off by the end of the line (mends): never past the length, and a
        // value the end cuts off is not kept.
        ScanRow{"empty line", "", "", {}, {}, 0}, ScanRow{"bracket alone", "<", "", {}, {}, 1},
        ScanRow{"slash alone", "</", "", {}, {}, 2}, ScanRow{"name cut off", "<vitals", "vitals", {}, {}, -1},
        ScanRow{"blank at end", "<t ", "t", {}, {}, -1}, ScanRow{"attribute name cut off", "<t ab", "t", {}, {}, -1},
        ScanRow{"line ends after equals", "<t a=", "t", {}, {}, -1},
        ScanRow{"line ends after quote", "<t a=\"", "t", {}, {}, -1},
        ScanRow{"value cut off", "<t a=\"12", "t", {}, {}, -1},
        ScanRow{"value closed, tag not", "<t a=\"1\"", "t", {{"a", "1"}}, {}, -1},
        ScanRow{"slash at the end", "<t /", "t", {}, {}, -1},
        ScanRow{"slash after value at the end", "<t a=\"1\"/", "t", {{"a", "1"}}, {}, -1},
        ScanRow{"props after equals at end", "<t props=", "t", {}, {}, -1},
        ScanRow{"props key cut off", "<t props=\"ab", "t", {}, {}, -1},
        ScanRow{"props value cut off", "<t props=\"a:1", "t", {}, {}, -1},
        ScanRow{"props semicolon at end", "<t props=\"a:1;", "t", {}, {{"a", "1"}}, -1},
        ScanRow{"props colon at end", "<t props=\"a:", "t", {}, {}, -1},
        ScanRow{"props quote at end", "<t props=\"a:1\"", "t", {}, {{"a", "1"}}, -1},
        // A zero byte inside the line is an ordinary byte.
        ScanRow{"zero byte in name", std::string("<a\0b c=\"1\">", 11), std::string("a\0b", 3), {{"c", "1"}}, {}, -1},
        ScanRow{"zero byte in value", std::string("<t a=\"x\0y\">", 11), "t", {{"a", std::string("x\0y", 3)}}, {}, -1},
        ScanRow{"zero byte after tag", std::string("<t>\0", 4), "t", {}, {}, 3},
        // Names longer than 31 bytes are cut to 31, the rest passed over.
        ScanRow{"31-byte tag name", "<" + k31 + " a=\"1\">", k31, {{"a", "1"}}, {}, -1},
        ScanRow{"32-byte tag name", "<" + k32 + " a=\"1\">", k31, {{"a", "1"}}, {}, -1},
        ScanRow{"33-byte tag name", "<" + k33 + " a=\"1\">", k31, {{"a", "1"}}, {}, -1},
        ScanRow{"33-byte closing tag name", "</" + k33 + ">", k31, {}, {}, -1},
        ScanRow{"31-byte attribute name", "<t " + k31 + "=\"v\">", "t", {{k31, "v"}}, {}, -1},
        ScanRow{"32-byte attribute name", "<t " + k32 + "=\"v\">", "t", {{k31, "v"}}, {}, -1},
        ScanRow{"33-byte attribute name", "<t " + k33 + "=\"v\" b=\"2\">", "t", {{k31, "v"}, {"b", "2"}}, {}, -1},
        ScanRow{"cut names meet", "<t " + k32 + "=\"1\" " + k33 + "=\"2\">", "t", {{k31, "2"}}, {}, -1},
        ScanRow{"31-byte style key", "<t props=\"" + k31 + ":v\">", "t", {}, {{k31, "v"}}, -1},
        ScanRow{"32-byte style key", "<t props=\"" + k32 + ":v\">", "t", {}, {{k31, "v"}}, -1},
        ScanRow{"33-byte style key", "<t props=\"" + k33 + ":v;k:w\">", "t", {}, {{k31, "v"}, {"k", "w"}}, -1},
        ScanRow{"long props name is plain",
                "<t props" + k33 + "=\"a:1\">",
                "t",
                {{"props" + k33.substr(0, 26), "a:1"}},
                {},
                -1}));

// ---------------------------------------------------------------------------

TEST(TagScannerTest, NamePositionStopsOnBlankOrBracket) {
    HeapLine line(R"(<vitalsize width="100">)");
    std::int32_t nPos = 0;
    EXPECT_EQ(ReadTagName(line.Get(), line.Length(), nPos), "vitalsize");
    EXPECT_EQ(nPos, 10);
    HeapLine closed("<d>");
    nPos = 0;
    EXPECT_EQ(ReadTagName(closed.Get(), closed.Length(), nPos), "d");
    EXPECT_EQ(nPos, 2);
}

TEST(TagScannerTest, FirstByteIsNotExamined) {
    HeapLine line("xab>");
    std::int32_t nPos = 0;
    EXPECT_EQ(ReadTagName(line.Get(), line.Length(), nPos), "ab");
    EXPECT_EQ(nPos, 3);
    HeapLine blank(">> >");  // the first bracket is skipped like any first byte
    nPos = 0;
    EXPECT_EQ(ReadTagName(blank.Get(), blank.Length(), nPos), "");
    EXPECT_EQ(nPos, 1);
}

TEST(TagScannerTest, AttributesAreCaseSensitive) {
    HeapLine line(R"(<vitalsize Width="5"/>)");
    std::int32_t nPos = 0;
    ReadTagName(line.Get(), line.Length(), nPos);
    CMapStringToString mapAttributes;
    CMapStringToString mapStyles;
    ParseAttributes(line.Get(), line.Length(), mapAttributes, mapStyles, nPos);
    std::string strValue;
    EXPECT_EQ(mapAttributes.Lookup("width", strValue), 0);
    EXPECT_EQ(mapAttributes.Lookup("Width", strValue), 1);
    EXPECT_EQ(strValue, "5");
}

TEST(TagScannerTest, TwoTagsBackToBackAreBothRead) {
    const std::vector<ScannedTag> tags = ScanAll(R"(<d a="1"><e b="2"/>)");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].strName, "d");
    EXPECT_EQ(tags[0].attributes, (Pairs{{"a", "1"}}));
    EXPECT_EQ(tags[0].nEnd, 9);
    EXPECT_EQ(tags[1].strName, "e");
    EXPECT_EQ(tags[1].attributes, (Pairs{{"b", "2"}}));
}

TEST(TagScannerTest, BlankBetweenTagsMakesSecondNameStartWithBracket) {
    const std::vector<ScannedTag> tags = ScanAll(R"(<d a="1"> <e b="2">)");
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].strName, "d");
    EXPECT_EQ(tags[1].strName, "<e");
    EXPECT_EQ(tags[1].attributes, (Pairs{{"b", "2"}}));
}

TEST(TagScannerTest, PositionsOutsideTheLineEndAtTheLength) {
    HeapLine line("<t>");
    std::int32_t nPos = 3;
    EXPECT_EQ(ReadTagName(line.Get(), line.Length(), nPos), "");
    EXPECT_EQ(nPos, 3);
    nPos = 7;
    EXPECT_EQ(ReadTagName(line.Get(), line.Length(), nPos), "");
    EXPECT_EQ(nPos, 3);
    CMapStringToString mapAttributes;
    CMapStringToString mapStyles;
    nPos = 9;
    ParseAttributes(line.Get(), line.Length(), mapAttributes, mapStyles, nPos);
    EXPECT_EQ(nPos, 3);
    nPos = 3;
    ParseAttributes(line.Get(), line.Length(), mapAttributes, mapStyles, nPos);
    EXPECT_EQ(nPos, 3);
    EXPECT_TRUE(mapAttributes.IsEmpty());
    EXPECT_TRUE(mapStyles.IsEmpty());
}

TEST(TagScannerTest, LongNameBytesNeverWrittenPastLimit) {
    const std::string strLong(5000, 'L');
    const std::vector<ScannedTag> tags = ScanAll("<" + strLong + " " + strLong + "=\"v\" props=\"" + strLong + ":w\">");
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].strName, strLong.substr(0, 31));
    EXPECT_EQ(tags[0].attributes, (Pairs{{strLong.substr(0, 31), "v"}}));
    EXPECT_EQ(tags[0].styles, (Pairs{{strLong.substr(0, 31), "w"}}));
}

// Names and values of every length to past two blocks of sixteen bytes, each
// ended by each byte that ends its kind (a tag name by a blank and by a
// bracket, an attribute name by an equals sign, a key by a colon, a value by
// a double quote and by a semicolon): each is read up to that byte, wherever
// it lies.
TEST(TagScannerTest, EveryLengthEndsOnItsStopByte) {
    for (std::size_t k = 0; k <= 40; ++k) {
        SCOPED_TRACE(testing::Message() << k << " bytes");
        const std::string v(k, 'v'), n = "n" + std::string(k, 'n'), x = "x" + std::string(k, 'x');
        const std::vector<ScannedTag> tags = ScanAll("<" + n + " " + n + "=\"" + v + "\" props=\"" + n + ":" + v + ";" +
                                                     x + ":" + v + "\"/><" + x + ">");
        ASSERT_EQ(tags.size(), 2u);
        EXPECT_EQ(tags[0].strName, n.substr(0, 31));
        EXPECT_EQ(tags[0].attributes, (Pairs{{n.substr(0, 31), v}}));
        EXPECT_EQ(tags[0].styles, (Pairs{{n.substr(0, 31), v}, {x.substr(0, 31), v}}));
        EXPECT_EQ(tags[1].strName, x.substr(0, 31));
        EXPECT_EQ(tags[1].nNameEnd, static_cast<std::int32_t>(tags[0].nEnd + 1 + x.size()));
    }
}

// Checks one line read as the callers read it: every position stays within
// [0, length], every tag moves forward, names keep their limit, and the loop
// ends.
void ScanWholeLine(const char* pszLine, std::int32_t nLength) {
    std::int32_t nPos = 0;
    int nTags = 0;
    while (nPos < nLength) {
        ASSERT_LE(++nTags, nLength) << "the loop over the line does not end";
        const std::int32_t nStart = nPos;
        const std::string strName = ReadTagName(pszLine, nLength, nPos);
        ASSERT_LE(strName.size(), 31u);
        ASSERT_GT(nPos, nStart);
        ASSERT_LE(nPos, nLength);
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
        ASSERT_GT(nPos, nStart);
        ASSERT_LE(nPos, nLength);
        for (const auto& entry : mapAttributes.Entries()) ASSERT_LE(entry.first.size(), 31u);
        for (const auto& entry : mapStyles.Entries()) ASSERT_LE(entry.first.size(), 31u);
    }
    ASSERT_EQ(nPos, nLength);
}

const char kZeroBytesLine[] = "<a\0b c=\"\0\" props=\"\0:\0;\"/>\0<z>";

const std::vector<std::string>& RichLines() {
    static const std::vector<std::string> lines = {
        R"(<vitalpen id="1" pen-width="1" color="0,0,0" props="a:1;b:x y; c:2"/><d a="1;2" b="">)",
        R"(<t props="k:v;"/>< /x a=b= c="/>"/ ; : "> <u>)",
        "</d vitalsigns=\"\xE4\xBD\x93\xE6\xB8\xA9\" x=\"a;b\" props=\"p q:r;s:t\"  /><e props=\"::;;\" f=\"\"/>",
        R"(<vitaltextout props="a:1" props="b" =" x=">" ;y="2" z=3 "/"/>)",
        std::string(kZeroBytesLine, sizeof(kZeroBytesLine) - 1),
        "<" + std::string(40, 'N') + " " + std::string(35, 'A') + "=\"v\" props=\"" + std::string(33, 'K') + ":w;" +
            std::string(32, 'k') + " u\"/>",
    };
    return lines;
}

// For every prefix of a few rich lines, a heap copy of exactly that prefix and
// its terminating zero is scanned to the end.
TEST(TagScannerTest, LinesCutOffAtEveryByteOffset) {
    for (const std::string& strLine : RichLines()) {
        for (std::size_t n = 0; n <= strLine.size(); ++n) {
            SCOPED_TRACE("prefix of " + std::to_string(n) + " bytes: " + Printable(strLine.substr(0, n)));
            HeapLine line(strLine.substr(0, n));
            ASSERT_NO_FATAL_FAILURE(ScanWholeLine(line.Get(), line.Length()));
        }
    }
}

// The same, starting at every position and without even the terminating zero:
// the scanner goes by the length alone.
TEST(TagScannerTest, LinesCutOffAtEveryByteOffsetWithoutTerminator) {
    for (const std::string& strLine : RichLines()) {
        for (std::size_t n = 0; n <= strLine.size(); ++n) {
            HeapLine line(strLine.substr(0, n), false);
            for (std::int32_t nStart = 0; nStart < line.Length(); ++nStart) {
                SCOPED_TRACE("prefix of " + std::to_string(n) + " bytes from " + std::to_string(nStart));
                std::int32_t nPos = nStart;
                ReadTagName(line.Get(), line.Length(), nPos);
                ASSERT_GT(nPos, nStart);
                ASSERT_LE(nPos, line.Length());
                CMapStringToString mapAttributes;
                CMapStringToString mapStyles;
                ParseAttributes(line.Get(), line.Length(), mapAttributes, mapStyles, nPos);
                ASSERT_GT(nPos, nStart);
                ASSERT_LE(nPos, line.Length());
            }
        }
    }
}

// Every line of up to five bytes over the delimiters, a letter and a zero byte.
TEST(TagScannerTest, AllShortLinesOverTheDelimiters) {
    const char kAlphabet[] = {'<', '>', '/', '=', '"', ';', ':', ' ', 'p', '\0'};
    const int nLetters = static_cast<int>(sizeof(kAlphabet));
    for (int nLength = 0; nLength <= 5; ++nLength) {
        int nCount = 1;
        for (int k = 0; k < nLength; ++k) nCount *= nLetters;
        for (int nCode = 0; nCode < nCount; ++nCode) {
            std::string strLine;
            for (int k = 0, c = nCode; k < nLength; ++k, c /= nLetters) strLine += kAlphabet[c % nLetters];
            HeapLine line(strLine);
            ScanWholeLine(line.Get(), line.Length());
            if (HasFatalFailure()) {
                ADD_FAILURE() << "line: " << Printable(strLine);
                return;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// The line walk.

CByteBuffer* MakeBuffer(CByteBuffer& buffer, const std::string& strText) {
    if (!strText.empty()) {
        EXPECT_EQ(buffer.Append(strText.data(), static_cast<std::int32_t>(strText.size())), 1);
    }
    return &buffer;
}

// The lines the walk hands over, each once (the step gives up the line).
std::vector<std::string> WalkedLines(const std::string& strText) {
    CByteBuffer buffer(0);
    MakeBuffer(buffer, strText);
    std::vector<std::string> lines;
    WalkLines(buffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        EXPECT_EQ(nPos, 0);
        EXPECT_GT(nLength, 0);
        lines.emplace_back(pszLine, static_cast<std::size_t>(nLength));
        nPos = nLength;
        return true;
    });
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineWalkTest, EmptyBufferHasNoLines) {
    EXPECT_EQ(WalkedLines(""), Lines{});
}

TEST(LineWalkTest, LineFeedsCutLines) {
    EXPECT_EQ(WalkedLines("<a>\n<b>\n"), (Lines{"<a>", "<b>"}));
    EXPECT_EQ(WalkedLines("one"), (Lines{"one"}));
}

TEST(LineWalkTest, LastLineWithoutLineFeedIsRead) {
    EXPECT_EQ(WalkedLines("<a>\n<b>"), (Lines{"<a>", "<b>"}));
    EXPECT_EQ(WalkedLines("<a>\r\n<b>\r"), (Lines{"<a>", "<b>"}));
}

TEST(LineWalkTest, EmptyLinesAreSkipped) {
    EXPECT_EQ(WalkedLines("\n\n<a>\n\n\n<b>\n\n"), (Lines{"<a>", "<b>"}));
    EXPECT_EQ(WalkedLines("\n"), Lines{});
}

TEST(LineWalkTest, OneCarriageReturnRemovedPerLine) {
    EXPECT_EQ(WalkedLines("a\r\nb\r\r\n\r\n\r\r\nc"), (Lines{"a", "b\r", "\r", "c"}));
    EXPECT_EQ(WalkedLines("\r\n\r"), Lines{});  // carriage returns alone yield nothing
    EXPECT_EQ(WalkedLines("\ra\r\n"), (Lines{"\ra"}));
}

TEST(LineWalkTest, ZeroBytesInsideLinesKeepTheLength) {
    EXPECT_EQ(WalkedLines(std::string("a\0b\n\0\n", 6)), (Lines{std::string("a\0b", 3), std::string(1, '\0')}));
}

TEST(LineWalkTest, LineAtTheEndOfAFullBlock) {
    CByteBuffer buffer(256);
    const std::string strText = "<a>\n" + std::string(252, 'x');
    ASSERT_EQ(buffer.Append(strText.data(), 256), 1);
    ASSERT_EQ(buffer.GetCapacity(), 256);  // no zero byte after the content
    std::vector<std::int32_t> lengths;
    WalkLines(buffer, [&](const char*, std::int32_t nLength, std::int32_t& nPos) {
        lengths.push_back(nLength);
        nPos = nLength;
        return true;
    });
    EXPECT_EQ(lengths, (std::vector<std::int32_t>{3, 252}));
}

// The callers' step: every tag of the line, each where the previous ended.
std::vector<std::string> WalkTagNames(const std::string& strText) {
    CByteBuffer buffer(0);
    MakeBuffer(buffer, strText);
    std::vector<std::string> names;
    WalkLines(buffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        names.push_back(ReadTagName(pszLine, nLength, nPos));
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
        return true;
    });
    return names;
}

TEST(LineWalkTest, SeveralTagsPerLine) {
    EXPECT_EQ(WalkTagNames("<a x=\"1\"><b y=\"2\"/><c>\r\n<d/>\n"), (Lines{"a", "b", "c", "d/"}));
    EXPECT_EQ(WalkTagNames("<a> <b>"), (Lines{"a", "<b"}));
}

TEST(LineWalkTest, TagCutOffAtTheEndOfTheBuffer) {
    EXPECT_EQ(WalkTagNames("<a x=\"1\">\n<b props=\"k:"), (Lines{"a", "b"}));
    EXPECT_EQ(WalkTagNames("<a x=\"1\r\n<b"), (Lines{"a", "b"}));
}

TEST(LineWalkTest, StepReturningFalseEndsTheWalk) {
    CByteBuffer buffer(0);
    MakeBuffer(buffer, "<a><b>\n<c>\n");
    std::vector<std::string> names;
    WalkLines(buffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        names.push_back(ReadTagName(pszLine, nLength, nPos));
        return names.back() != "a";
    });
    EXPECT_EQ(names, (Lines{"a"}));
}

TEST(LineWalkTest, StepThatDoesNotAdvanceGivesUpTheLine) {
    CByteBuffer buffer(0);
    MakeBuffer(buffer, "<a><b>\n<c>\n<d>");
    int nCalls = 0;
    WalkLines(buffer, [&](const char*, std::int32_t, std::int32_t&) {
        ++nCalls;
        return true;
    });
    EXPECT_EQ(nCalls, 3);  // once per line

    nCalls = 0;
    WalkLines(buffer, [&](const char*, std::int32_t, std::int32_t& nPos) {
        ++nCalls;
        nPos = nCalls % 2 == 0 ? -5 : 1;  // forward, then backward
        return true;
    });
    EXPECT_EQ(nCalls, 6);  // per line: forward to 1, then backward, which ends the line

    nCalls = 0;
    WalkLines(buffer, [&](const char*, std::int32_t nLength, std::int32_t& nPos) {
        ++nCalls;
        nPos = nLength + 100;  // beyond the line: the line is done
        return true;
    });
    EXPECT_EQ(nCalls, 3);
}

TEST(LineWalkTest, EmptyStepDoesNothing) {
    CByteBuffer buffer(0);
    MakeBuffer(buffer, "<a>\n");
    WalkLines(buffer, TagStep());
    SUCCEED();
}

}  // namespace
}  // namespace vitalchart
