#include "surface/cairo/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace vitalchart {
namespace {

TEST(TextCodecTest, ConvertsToValidUtf8AndReplacesWhatIsNotText) {
    const std::string kFffd = "\xef\xbf\xbd";
    struct Row {
        UINT nCodePage;
        std::string strIn, strOut;
    } rows[] = {
        {CP_GBK, "\xcc\xe5\xce\xc2 36.5", "\xe4\xbd\x93\xe6\xb8\xa9 36.5"},
        {CP_GBK, "\xcc\xe5\x81", "\xe4\xbd\x93" + kFffd},  // lone lead byte at the end
        {CP_GBK,
         "\xff"
         "A",
         kFffd + "A"},                                        // never a lead byte
        {CP_GBK, std::string("a\0b", 3), "a" + kFffd + "b"},  // a zero byte would end the text
        {CP_UTF8, "\xe4\xbd\x93", "\xe4\xbd\x93"},
        {CP_UTF8, "\xe4\xbd", kFffd + kFffd},  // cut short
        {CP_UTF8,
         "\xc0\xaf"
         "x",
         kFffd + kFffd + "x"},                             // overlong
        {CP_UTF8, "\xed\xa0\x80", kFffd + kFffd + kFffd},  // surrogate
        {CP_UTF8, std::string("\0", 1), kFffd},
        {1252, "caf\xe9", "caf\xc3\xa9"},
        {12345, "ok\x80", "ok" + kFffd},  // unknown code page keeps ASCII
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.nCodePage) + " " + r.strOut);
        CTextCodec codec(r.nCodePage);
        EXPECT_EQ(codec.ToUtf8(r.strIn.data(), r.strIn.size()), r.strOut);
        EXPECT_EQ(codec.ToUtf8(r.strIn.data(), r.strIn.size()), r.strOut);  // no state left behind
    }
    CTextCodec codec(CP_GBK);
    EXPECT_EQ(codec.ToUtf8(nullptr, 5), "");
}

}  // namespace
}  // namespace vitalchart
