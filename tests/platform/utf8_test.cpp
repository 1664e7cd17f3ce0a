#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace vitalchart {
namespace {

TEST(Utf8Test, SequenceLengthAtEachBoundary) {
    const struct {
        std::string strBytes;
        std::size_t nExpected;
    } rows[] = {
        {"", 0},
        {std::string(1, '\0'), 1},
        {"A", 1},
        {"\x7f", 1},
        {"\x80", 0},                  // a stray continuation byte
        {"\xc0\x80", 0},              // overlong NUL
        {"\xc1\xbf", 0},              // overlong
        {"\xc2\x80", 2},              // U+0080
        {"\xdf\xbf", 2},              // U+07FF
        {"\xe0\x9f\xbf", 0},          // overlong U+07FF
        {"\xe0\xa0\x80", 3},          // U+0800
        {"\xed\x9f\xbf", 3},          // U+D7FF
        {"\xed\xa0\x80", 0},          // U+D800, a surrogate
        {"\xed\xbf\xbf", 0},          // U+DFFF
        {"\xef\xbf\xbf", 3},          // U+FFFF
        {"\xf0\x8f\xbf\xbf", 0},      // overlong U+FFFF
        {"\xf0\x90\x80\x80", 4},      // U+10000
        {"\xf4\x8f\xbf\xbf", 4},      // U+10FFFF
        {"\xf4\x90\x80\x80", 0},      // above U+10FFFF
        {"\xf5\x80\x80\x80", 0},      // no such lead byte
        {"\xff", 0},                  // nor is this
        {"\xe4\xbd", 0},              // cut short
        {"\xe4\x41\x93", 0},          // second byte not a continuation
        {"\xe4\xbd\x41", 0},          // third byte not a continuation
        {"\xf0\x90\x80\xc0", 0},      // fourth byte not a continuation
        {"\xe4\xbd\x93\xe4\xbd", 3},  // only the first character counts
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.strBytes));
        EXPECT_EQ(Utf8SequenceLength(row.strBytes.data(), row.strBytes.size()), row.nExpected);
    }
}

// A decoder written from the definition: decode the code point, then reject
// overlong forms, surrogates and what lies above U+10FFFF.
std::size_t DecodedLength(const unsigned char* p, std::size_t nRemaining) {
    if (p[0] < 0x80) return 1;
    std::size_t n = (p[0] & 0xE0) == 0xC0 ? 2 : (p[0] & 0xF0) == 0xE0 ? 3 : (p[0] & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || n > nRemaining) return 0;
    unsigned long cp = p[0] & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[k] & 0x3Fu);
    }
    const unsigned long kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kShortest[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return n;
}

TEST(Utf8Test, AgreesWithDecodingOverEveryLeadAndSecondByte) {
    const unsigned char kTails[] = {0x00, 0x7F, 0x80, 0xBF, 0xC0, 0xFF};
    for (unsigned b0 = 0; b0 < 256; ++b0) {
        for (unsigned b1 = 0; b1 < 256; ++b1) {
            for (unsigned char b2 : kTails) {
                for (unsigned char b3 : kTails) {
                    const unsigned char bytes[] = {static_cast<unsigned char>(b0), static_cast<unsigned char>(b1), b2,
                                                   b3};
                    for (std::size_t n = 1; n <= 4; ++n) {
                        const std::size_t nActual = Utf8SequenceLength(reinterpret_cast<const char*>(bytes), n);
                        if (nActual != DecodedLength(bytes, n)) {
                            ADD_FAILURE() << std::hex << b0 << " " << b1 << " " << +b2 << " " << +b3 << " in " << n;
                            return;
                        }
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace vitalchart
