#include "surface/cairo/text_codec.h"

#include <cerrno>
#include <string>

#include "platform/code_page.h"

namespace vitalchart {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr const char kReplacement[] = "\xEF\xBF\xBD";

iconv_t OpenConverter(UINT nCodePage) {
    if (nCodePage == CP_UTF8) return kNoConverter;
    if (nCodePage == CP_GBK) {
        iconv_t h = iconv_open("UTF-8", "GBK");
        if (h != kNoConverter) return h;
    }
    std::string strName = "CP" + std::to_string(nCodePage);
    return iconv_open("UTF-8", strName.c_str());
}

}  // namespace

CTextCodec::CTextCodec(UINT nCodePage) : m_nCodePage(nCodePage), m_hConverter(OpenConverter(nCodePage)) {}

CTextCodec::~CTextCodec() {
    if (m_hConverter != kNoConverter) iconv_close(m_hConverter);
}

std::string CTextCodec::ToUtf8(const char* pText, std::size_t nCount) {
    if (pText == nullptr || nCount == 0) return std::string();
    if (m_nCodePage == CP_UTF8) return FromUtf8(pText, nCount);
    if (m_hConverter != kNoConverter) return FromIconv(pText, nCount);
    return FromAscii(pText, nCount);
}

std::string CTextCodec::FromUtf8(const char* pText, std::size_t nCount) const {
    std::string out;
    out.reserve(nCount);
    std::size_t i = 0;
    while (i < nCount) {
        std::size_t n = CharLength(CP_UTF8, pText + i, nCount - i);
        auto b = static_cast<unsigned char>(pText[i]);
        if (b == 0 || (n == 1 && b >= 0x80)) {
            out += kReplacement;
        } else {
            out.append(pText + i, n);
        }
        i += n;
    }
    return out;
}

std::string CTextCodec::FromAscii(const char* pText, std::size_t nCount) const {
    std::string out;
    out.reserve(nCount);
    for (std::size_t i = 0; i < nCount; ++i) {
        auto b = static_cast<unsigned char>(pText[i]);
        if (b == 0 || b >= 0x80) {
            out += kReplacement;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

std::string CTextCodec::FromIconv(const char* pText, std::size_t nCount) {
    iconv(m_hConverter, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    // Four output bytes per input byte cover every replacement and every
    // character of a double-byte code page; E2BIG below handles the rest.
    std::string chunk(nCount * 4 + 16, '\0');
    char* pIn = const_cast<char*>(pText);
    std::size_t nInLeft = nCount;
    while (nInLeft > 0) {
        char* pOut = &chunk[0];
        std::size_t nOutLeft = chunk.size();
        std::size_t r = iconv(m_hConverter, &pIn, &nInLeft, &pOut, &nOutLeft);
        int nError = errno;
        out.append(chunk.data(), chunk.size() - nOutLeft);
        if (r != static_cast<std::size_t>(-1)) break;
        if (nError == E2BIG) continue;
        // An invalid or incomplete sequence: one replacement for its first
        // byte, then carry on with the next byte.
        out += kReplacement;
        ++pIn;
        --nInLeft;
        iconv(m_hConverter, nullptr, nullptr, nullptr, nullptr);
    }
    // A zero byte would end the text early for the shaper.
    std::string result;
    result.reserve(out.size());
    for (char c : out) {
        if (c == '\0') {
            result += kReplacement;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace vitalchart
