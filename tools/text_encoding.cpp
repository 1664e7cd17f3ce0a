#include "tools/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/code_page.h"
#include "platform/utf8.h"

namespace vitalchart {
namespace cli {

namespace {

// Length of the GBK character at i: 1 for ASCII, 2 for a lead byte with its
// trail byte; 0 when the bytes there are none.
std::size_t GbkLength(const std::string& s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) return 1;
    if (b < 0x81 || b > 0xFE || i + 1 >= s.size()) return 0;
    const auto t = static_cast<unsigned char>(s[i + 1]);
    return (t >= 0x40 && t <= 0xFE && t != 0x7F) ? 2 : 0;
}

const char* IconvName(UINT nCodePage) {
    return nCodePage == CP_GBK ? "GBK" : "UTF-8";
}

// Converts with iconv; bytes that do not convert are handed to pfnBad, which
// appends what stands for them, or, without pfnBad, end the conversion with
// false and their offset.
template <typename Bad>
bool Iconv(const std::string& strText, const char* pszFrom, const char* pszTo, std::string& rOut, std::size_t& rBad,
           Bad fnBad) {
    rOut.clear();
    iconv_t cd = ::iconv_open(pszTo, pszFrom);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        rOut = strText;
        return true;
    }
    std::size_t i = 0;
    char buffer[4096];
    bool bOk = true;
    while (i < strText.size()) {
        char* pIn = const_cast<char*>(strText.data() + i);
        std::size_t nIn = strText.size() - i;
        char* pOut = buffer;
        std::size_t nOut = sizeof buffer;
        const std::size_t r = ::iconv(cd, &pIn, &nIn, &pOut, &nOut);
        rOut.append(buffer, static_cast<std::size_t>(pOut - buffer));
        i = static_cast<std::size_t>(pIn - strText.data());
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // An invalid or cut sequence, or a character the target lacks.
        if (!fnBad(static_cast<unsigned char>(strText[i]), rOut)) {
            rBad = i;
            bOk = false;
            break;
        }
        ++i;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(cd);
    return bOk;
}

// The character set the user's locale names, for iconv; UTF-8 when it names none.
std::string TerminalCharset() {
    for (const char* pszName : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* pszValue = std::getenv(pszName);
        if (pszValue == nullptr || *pszValue == '\0') continue;
        std::string strLocale = pszValue;
        const std::size_t nDot = strLocale.find('.');
        if (nDot == std::string::npos) return "UTF-8";
        std::string strCharset = strLocale.substr(nDot + 1, strLocale.find('@', nDot) - nDot - 1);
        for (char& c : strCharset) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        return strCharset == "UTF8" ? "UTF-8" : strCharset;
    }
    return "UTF-8";
}

}  // namespace

bool IsValidUtf8(const std::string& strBytes) {
    std::size_t i = 0;
    while (i < strBytes.size()) {
        const std::size_t n = Utf8SequenceLength(strBytes.data() + i, strBytes.size() - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

DetectedEncoding DetectEncoding(const std::string& strBytes) {
    DetectedEncoding detected;
    detected.bByteOrderMark = ByteOrderMarkLength(CP_UTF8, strBytes.data(), strBytes.size()) > 0;
    std::size_t i = detected.bByteOrderMark ? 3 : 0;
    bool bAscii = true;
    std::size_t nUtf8Break = std::string::npos;
    const char* p = strBytes.data();
    while (i < strBytes.size()) {
        // Markup is mostly ASCII: a byte below 0x80 is a character of its own.
        if (static_cast<unsigned char>(p[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = Utf8SequenceLength(p + i, strBytes.size() - i);
        if (n == 0) {
            nUtf8Break = i;
            break;
        }
        bAscii = false;
        i += n;
    }
    if (nUtf8Break == std::string::npos) {
        detected.encoding = bAscii && !detected.bByteOrderMark ? TextEncoding::kAscii : TextEncoding::kUtf8;
        return detected;
    }
    for (i = 0; i < strBytes.size();) {
        const std::size_t n = GbkLength(strBytes, i);
        if (n == 0) {
            // Neither: the later of the two breaks is where no reading fits.
            detected.encoding = TextEncoding::kNeither;
            detected.nOffset = i > nUtf8Break ? i : nUtf8Break;
            return detected;
        }
        i += n;
    }
    detected.encoding = TextEncoding::kGbk;
    return detected;
}

const char* EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kAscii:
            return "ASCII";
        case TextEncoding::kUtf8:
            return "UTF-8";
        case TextEncoding::kGbk:
            return "GBK";
        case TextEncoding::kNeither:
            break;
    }
    return "neither UTF-8 nor GBK";
}

bool ConvertText(const std::string& strText, UINT nFrom, UINT nTo, std::string& rOut, std::string& rError) {
    const std::size_t nMark = ByteOrderMarkLength(nFrom, strText.data(), strText.size());
    const std::string strBody = strText.substr(nMark);
    if (nFrom == nTo) {
        rOut = strBody;
        return true;
    }
    std::size_t nBad = 0;
    if (Iconv(strBody, IconvName(nFrom), IconvName(nTo), rOut, nBad,
              [](unsigned char, std::string&) { return false; })) {
        return true;
    }
    std::size_t nLine = 1;
    for (std::size_t i = 0; i < nBad; ++i) nLine += strBody[i] == '\n' ? 1 : 0;
    rError =
        std::string("line ") + std::to_string(nLine) + " holds a character that " + IconvName(nTo) + " cannot write";
    return false;
}

std::string ForTerminal(const std::string& strText, UINT nCodePage) {
    static const std::string s_strCharset = TerminalCharset();
    std::string strOut;
    std::size_t nBad = 0;
    Iconv(strText, IconvName(nCodePage), s_strCharset.c_str(), strOut, nBad, [](unsigned char c, std::string& rOut) {
        char sz[8];
        std::snprintf(sz, sizeof sz, "\\x%02x", c);
        rOut += sz;
        return true;
    });
    return strOut;
}

std::string ToUtf8(const std::string& strText, UINT nCodePage) {
    if (nCodePage == CP_UTF8) return strText;
    std::string strOut;
    std::size_t nBad = 0;
    Iconv(strText, IconvName(nCodePage), "UTF-8", strOut, nBad, [](unsigned char c, std::string& rOut) {
        rOut += static_cast<char>(c);
        return true;
    });
    return strOut;
}

}  // namespace cli
}  // namespace vitalchart
