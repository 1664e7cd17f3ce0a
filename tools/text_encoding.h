#pragma once

#include <cstddef>
#include <string>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// How a file's bytes are written.
enum class TextEncoding {
    kAscii,    // 7-bit only: the same in UTF-8 and GBK
    kUtf8,     // well-formed UTF-8 (after a byte-order mark, if any)
    kGbk,      // GBK (code page 936) and not UTF-8
    kNeither,  // neither: nOffset is its first byte that fits no character
};

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::kAscii;
    bool bByteOrderMark = false;  // begins with the UTF-8 byte-order mark
    std::size_t nOffset = 0;      // kNeither: the first byte that breaks both
};

// What the bytes are written in: UTF-8 first, then GBK.
DetectedEncoding DetectEncoding(const std::string& strBytes);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(const std::string& strBytes);

// "UTF-8", "GBK" or "ASCII", as messages name them.
const char* EncodingName(TextEncoding encoding);

// The text, written in one code page (65001 or 936), in the other, with
// iconv; a byte-order mark is dropped. False, with rError saying what and
// where, when a character cannot be written in the target.
bool ConvertText(const std::string& strText, UINT nFrom, UINT nTo, std::string& rOut, std::string& rError);

// Text of the code page as the user's terminal shows it (its locale's
// character set; UTF-8 when the locale names none). Bytes that do not
// convert are written \xhh, never raw.
std::string ForTerminal(const std::string& strText, UINT nCodePage);
// Text of the code page as UTF-8, for JSON; bytes that do not convert are left
// for the JSON writer to escape.
std::string ToUtf8(const std::string& strText, UINT nCodePage);

}  // namespace cli
}  // namespace vitalchart
