#include "platform/code_page.h"

#include <cstring>

#include "platform/utf8.h"

#if defined(_WIN32)
// The system's own lead-byte test for the double-byte code pages of other
// locales (932, 949, 950, ...); declared here so that only the device-context
// backend pulls in the platform headers.
extern "C" __declspec(dllimport) int __stdcall IsDBCSLeadByteEx(unsigned int nCodePage, unsigned char byte);
#endif

namespace vitalchart {

namespace {

unsigned char FoldAscii(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

}  // namespace

bool IsLeadByte(UINT nCodePage, unsigned char byte) {
    switch (nCodePage) {
        case CP_GBK:
            return byte >= 0x81 && byte <= 0xFE;
        case CP_UTF8:
            return byte >= 0xC2 && byte <= 0xF4;
#if defined(_WIN32)
        default:
            return IsDBCSLeadByteEx(nCodePage, byte) != 0;
#else
        default:
            return false;
#endif
    }
}

std::size_t CharLength(UINT nCodePage, const char* p, std::size_t nRemaining) {
    if (nRemaining == 0) return 0;
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    switch (nCodePage) {
        case CP_GBK:
            return (IsLeadByte(CP_GBK, u[0]) && nRemaining >= 2) ? 2 : 1;
        case CP_UTF8: {
            // A malformed sequence counts as one byte.
            const std::size_t n = Utf8SequenceLength(p, nRemaining);
            return n == 0 ? 1 : n;
        }
        default:
            return (IsLeadByte(nCodePage, u[0]) && nRemaining >= 2) ? 2 : 1;
    }
}

int CompareNoCase(UINT nCodePage, std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        std::size_t na = CharLength(nCodePage, a.data() + i, a.size() - i);
        std::size_t nb = CharLength(nCodePage, b.data() + j, b.size() - j);
        if (na == 1 && nb == 1) {
            unsigned char ca = FoldAscii(static_cast<unsigned char>(a[i]));
            unsigned char cb = FoldAscii(static_cast<unsigned char>(b[j]));
            if (ca != cb) return ca < cb ? -1 : 1;
        } else {
            // A multi-byte character only equals the same bytes.
            int c = std::memcmp(a.data() + i, b.data() + j, na < nb ? na : nb);
            if (c != 0) return c < 0 ? -1 : 1;
            if (na != nb) return na < nb ? -1 : 1;
        }
        i += na;
        j += nb;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

std::string FoldCaseKey(UINT nCodePage, std::string_view text) {
    std::string key;
    key.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = CharLength(nCodePage, text.data() + i, text.size() - i);
        if (n == 1) {
            key += static_cast<char>(FoldAscii(static_cast<unsigned char>(text[i])));
        } else {
            key.append(text, i, n);
        }
        i += n;
    }
    return key;
}

std::size_t ByteOrderMarkLength(UINT nCodePage, const char* p, std::size_t nCount) {
    if (nCodePage != CP_UTF8 || p == nullptr || nCount < 3) return 0;
    return std::memcmp(p, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

void CopyTextBounded(UINT nCodePage, char* pDest, std::size_t nMax, std::string_view text) {
    std::size_t n = 0;
    while (n < text.size()) {
        std::size_t len = CharLength(nCodePage, text.data() + n, text.size() - n);
        if (n + len > nMax) break;
        n += len;
    }
    std::memcpy(pDest, text.data(), n);
    pDest[n] = '\0';
}

}  // namespace vitalchart
