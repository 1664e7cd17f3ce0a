#pragma once

// The grammar of the recording surface's trace, checked line by line: what a
// template author's debugging tool or a golden-trace diff relies on, whatever
// the template and readings were.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vitalchart {
namespace fuzz {

namespace grammar {

// A cursor over one trace line that consumes input only when a piece matches.
// It looks at the line where it lies in the trace, copying nothing.
class CLineCursor {
public:
    explicit CLineCursor(std::string_view strLine) : m_str(strLine) {}

    bool AtEnd() const { return m_i == m_str.size(); }

    bool Word(const char* pszWord) {
        // Byte by byte: a trace has many lines, each tried against several words.
        std::size_t j = m_i;
        for (const char* p = pszWord; *p != '\0'; ++p, ++j) {
            if (j >= m_str.size() || m_str[j] != *p) return false;
        }
        m_i = j;
        return true;
    }

    bool Blank() { return Word(" "); }

    // A decimal integer in the 32-bit range, "-" allowed, no leading zeros.
    bool Integer() {
        std::size_t j = m_i;
        bool bNegative = j < m_str.size() && m_str[j] == '-';
        if (bNegative) ++j;
        std::size_t nStart = j;
        std::int64_t value = 0;
        while (j < m_str.size() && m_str[j] >= '0' && m_str[j] <= '9') {
            if (j - nStart >= 10) return false;
            value = value * 10 + (m_str[j] - '0');
            ++j;
        }
        std::size_t nDigits = j - nStart;
        if (nDigits == 0 || (nDigits > 1 && m_str[nStart] == '0')) return false;
        if (bNegative && value == 0) return false;
        if (bNegative ? value > 2147483648LL : value > 2147483647LL) return false;
        m_i = j;
        return true;
    }

    // "#rrggbb" in lower-case hexadecimal.
    bool Colour() {
        if (m_i + 7 > m_str.size() || m_str[m_i] != '#') return false;
        for (std::size_t k = 1; k <= 6; ++k) {
            if (!IsLowerHex(m_str[m_i + k])) return false;
        }
        m_i += 7;
        return true;
    }

    // "0x" and lower-case hexadecimal without leading zeros.
    bool Format() {
        if (!Word("0x")) return false;
        std::size_t nStart = m_i;
        while (m_i < m_str.size() && IsLowerHex(m_str[m_i])) ++m_i;
        std::size_t nDigits = m_i - nStart;
        return nDigits >= 1 && nDigits <= 8 && !(nDigits > 1 && m_str[nStart] == '0');
    }

    // A quoted text: bytes 0x20 to 0x7E, '"' and '\' escaped with '\', any
    // other byte written \xhh.
    bool Quoted() {
        if (m_i >= m_str.size() || m_str[m_i] != '"') return false;
        std::size_t j = m_i + 1;
        while (j < m_str.size()) {
            char c = m_str[j];
            if (c == '"') {
                m_i = j + 1;
                return true;
            }
            if (c == '\\') {
                if (j + 1 >= m_str.size()) return false;
                char e = m_str[j + 1];
                if (e == '"' || e == '\\') {
                    j += 2;
                } else if (e == 'x' && j + 3 < m_str.size() && IsLowerHex(m_str[j + 2]) && IsLowerHex(m_str[j + 3])) {
                    // Printable bytes other than the two escaped ones are written as themselves.
                    int b = HexValue(m_str[j + 2]) * 16 + HexValue(m_str[j + 3]);
                    if (b >= 0x20 && b <= 0x7E) return false;
                    j += 4;
                } else {
                    return false;
                }
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
            ++j;
        }
        return false;
    }

    // n blank-separated integers.
    bool Integers(int n) {
        for (int k = 0; k < n; ++k) {
            if (!Blank() || !Integer()) return false;
        }
        return true;
    }

private:
    static bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
    static int HexValue(char c) { return c <= '9' ? c - '0' : c - 'a' + 10; }

    std::string_view m_str;
    std::size_t m_i = 0;
};

inline bool IsWellFormedLine(std::string_view strLine) {
    CLineCursor c(strLine);
    bool bOk = false;
    if (c.Word("pen ")) {
        bOk = c.Integer() && c.Integers(1) && c.Blank() && c.Colour();
    } else if (c.Word("brush ")) {
        bOk = c.Colour();
    } else if (c.Word("font ")) {
        bOk = c.Quoted() && c.Integers(2) && c.Blank() && (c.Word("0") || c.Word("1")) && c.Blank() &&
              (c.Word("0") || c.Word("1"));
    } else if (c.Word("textcolor ")) {
        bOk = c.Colour();
    } else if (c.Word("bkmode")) {
        bOk = c.Integers(1);
    } else if (c.Word("moveto") || c.Word("lineto")) {
        bOk = c.Integers(2);
    } else if (c.Word("ellipse")) {
        bOk = c.Integers(4);
    } else if (c.Word("polygon")) {
        bOk = c.Integers(2);
        while (bOk && !c.AtEnd()) bOk = c.Integers(2);
    } else if (c.Word("hatch")) {
        bOk = c.Integers(1) && (c.Word(" rising") || c.Word(" falling")) && c.Integers(6);
        while (bOk && !c.AtEnd()) bOk = c.Integers(2);
    } else if (c.Word("fillrect")) {
        bOk = c.Integers(4) && c.Blank() && c.Colour();
    } else if (c.Word("textout")) {
        bOk = c.Integers(2) && c.Blank() && c.Quoted();
    } else if (c.Word("drawtext")) {
        bOk = c.Integers(4) && c.Blank() && c.Format() && c.Blank() && c.Quoted();
    }
    return bOk && c.AtEnd();
}

}  // namespace grammar

// Whether every line of the trace is one of the recording surface's line
// forms and the trace ends with a line feed (or is empty). On failure
// pBadLine, when given, receives the first line that does not match.
inline bool IsWellFormedTrace(std::string_view strTrace, std::string* pBadLine = nullptr) {
    std::size_t i = 0;
    while (i < strTrace.size()) {
        std::size_t e = strTrace.find('\n', i);
        const std::string_view strLine =
            strTrace.substr(i, e == std::string_view::npos ? std::string_view::npos : e - i);
        if (e == std::string_view::npos || !grammar::IsWellFormedLine(strLine)) {
            if (pBadLine != nullptr) {
                *pBadLine = strLine.size() > 200 ? std::string(strLine.substr(0, 200)) + "..." : std::string(strLine);
            }
            return false;
        }
        i = e + 1;
    }
    return true;
}

}  // namespace fuzz
}  // namespace vitalchart
