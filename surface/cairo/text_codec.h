#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// Turns chart text in the surface's code page into valid UTF-8 for the text
// shaper. 65001 is checked byte by byte; 936 goes through iconv as GBK;
// any other code page n through iconv as "CPn", or, when iconv does not know
// it, keeps ASCII and replaces every other byte. A byte that does not start a
// valid character, a lead byte left without its trail at the end and a zero
// byte each become U+FFFD, so no character after them is lost.
class CTextCodec {
public:
    explicit CTextCodec(UINT nCodePage);
    ~CTextCodec();
    CTextCodec(const CTextCodec&) = delete;
    CTextCodec& operator=(const CTextCodec&) = delete;

    // The text as UTF-8; empty for a null pointer.
    std::string ToUtf8(const char* pText, std::size_t nCount);

private:
    std::string FromUtf8(const char* pText, std::size_t nCount) const;
    std::string FromIconv(const char* pText, std::size_t nCount);
    std::string FromAscii(const char* pText, std::size_t nCount) const;

    UINT m_nCodePage;
    iconv_t m_hConverter;
};

}  // namespace vitalchart
