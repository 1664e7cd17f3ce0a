#include "clinical/diagnostic.h"

#include <cstdio>

namespace vitalchart::clinical {

namespace {

constexpr std::size_t kMaxQuoted = 60;

void AppendPrintable(std::string& rOut, const std::string& strText) {
    for (char c : strText) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            char szHex[8];
            std::snprintf(szHex, sizeof szHex, "\\x%02x", b);
            rOut += szHex;
        } else {
            rOut += c;
        }
    }
}

}  // namespace

std::string CDiagnostic::Format() const {
    std::string strOut;
    AppendPrintable(strOut, m_strFile);
    strOut += ": ";
    if (!m_strPointer.empty()) {
        AppendPrintable(strOut, m_strPointer);
        strOut += ": ";
    }
    if (m_bWarning) strOut += "warning: ";
    AppendPrintable(strOut, m_strMessage);
    return strOut;
}

bool HasErrors(const std::vector<CDiagnostic>& arrDiagnostics) {
    for (const CDiagnostic& d : arrDiagnostics) {
        if (!d.m_bWarning) return true;
    }
    return false;
}

std::string ChildPointer(const std::string& strParent, const std::string& strKey) {
    std::string strOut = strParent + "/";
    for (char c : strKey) {
        if (c == '~') {
            strOut += "~0";
        } else if (c == '/') {
            strOut += "~1";
        } else {
            strOut += c;
        }
    }
    return strOut;
}

std::string ChildPointer(const std::string& strParent, std::size_t nIndex) {
    return strParent + "/" + std::to_string(nIndex);
}

std::string Printable(const std::string& strText) {
    std::string strOut;
    AppendPrintable(strOut, strText);
    return strOut;
}

std::string QuoteForMessage(const std::string& strText) {
    std::string strCut = strText;
    if (strCut.size() > kMaxQuoted) {
        std::size_t n = kMaxQuoted;
        // Back up to the first byte of a UTF-8 sequence.
        while (n > 0 && (static_cast<unsigned char>(strCut[n]) & 0xC0) == 0x80) --n;
        strCut = strCut.substr(0, n) + "...";
    }
    std::string strOut = "'";
    AppendPrintable(strOut, strCut);
    strOut += "'";
    return strOut;
}

}  // namespace vitalchart::clinical
