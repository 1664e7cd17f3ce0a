#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// Multi-byte text of a code page: 936 (GBK, a lead byte 0x81 to 0xFE starts a
// two-byte character), 65001 (UTF-8) or any single-byte code page.

// Whether the byte starts a multi-byte character in the code page.
bool IsLeadByte(UINT nCodePage, unsigned char byte);

// Length in bytes of the character that starts at p, never more than the
// nRemaining bytes left (at least 1 when nRemaining > 0). A GBK lead byte
// without its trail byte, and a malformed UTF-8 sequence, count as one byte.
std::size_t CharLength(UINT nCodePage, const char* p, std::size_t nRemaining);

// Case-insensitive comparison: ASCII letters fold, a multi-byte character is
// compared whole (its trail bytes never fold). <0, 0 or >0.
int CompareNoCase(UINT nCodePage, std::string_view a, std::string_view b);
inline bool EqualsNoCase(UINT nCodePage, std::string_view a, std::string_view b) {
    return CompareNoCase(nCodePage, a, b) == 0;
}

// The text with the ASCII letters of its single-byte characters folded to
// lower case: two texts compare equal without case exactly when their keys
// are equal, so the key can index names.
std::string FoldCaseKey(UINT nCodePage, std::string_view text);

// The length of the byte-order mark the text begins with in the code page:
// 3 for EF BB BF in UTF-8 (65001), else 0. Editors on the platform put one at
// the start of files they save as UTF-8.
std::size_t ByteOrderMarkLength(UINT nCodePage, const char* p, std::size_t nCount);

// Copies at most nMax bytes of the text into pDest (which takes nMax + 1) and
// terminates it, never splitting a multi-byte character.
void CopyTextBounded(UINT nCodePage, char* pDest, std::size_t nMax, std::string_view text);

}  // namespace vitalchart
