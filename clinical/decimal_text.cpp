#include "clinical/decimal_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace vitalchart::clinical {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// -?digits(.digits)?
bool IsPlain(const std::string& s) {
    std::size_t i = s.size() > 0 && s[0] == '-' ? 1 : 0;
    const std::size_t nStart = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == nStart) return false;
    if (i == s.size()) return true;
    if (s[i] != '.') return false;
    const std::size_t nFraction = ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i > nFraction && i == s.size();
}

bool ParseDouble(const std::string& s, double& rOut) {
    const char* pEnd = s.data() + s.size();
    auto result = std::from_chars(s.data(), pEnd, rOut);
    return result.ec == std::errc() && result.ptr == pEnd && std::isfinite(rOut);
}

}  // namespace

bool PlainDecimal(const std::string& strText, std::string& rPlain, bool* pTooLarge) {
    double d = 0.0;
    bool bTooLarge = false;
    if (pTooLarge == nullptr) pTooLarge = &bTooLarge;
    *pTooLarge = false;
    if (IsPlain(strText)) {
        if (!ParseDouble(strText, d) || std::fabs(d) >= kMaxReadingMagnitude) {
            *pTooLarge = true;
            return false;
        }
        rPlain = strText;
        return true;
    }
    // The exponent form, as JSON writes it: -?digits(.digits)?[eE][+-]?digits.
    const std::size_t nE = strText.find_first_of("eE");
    if (nE == std::string::npos || !IsPlain(strText.substr(0, nE))) return false;
    std::size_t i = nE + 1;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) ++i;
    if (i == strText.size()) return false;
    for (; i < strText.size(); ++i) {
        if (!IsDigit(strText[i])) return false;
    }
    if (!ParseDouble(strText, d) || std::fabs(d) >= kMaxReadingMagnitude) {
        *pTooLarge = true;
        return false;
    }
    char sz[512];
    auto result = std::to_chars(sz, sz + sizeof sz, d, std::chars_format::fixed);
    if (result.ec != std::errc()) return false;
    rPlain.assign(sz, result.ptr);
    return true;
}

double DecimalValue(const std::string& strPlain) {
    double d = 0.0;
    return ParseDouble(strPlain, d) ? d : 0.0;
}

std::string RoundDecimal(const std::string& strPlain, int nDecimals) {
    const bool bNegative = !strPlain.empty() && strPlain[0] == '-';
    const std::string strBody = bNegative ? strPlain.substr(1) : strPlain;
    const std::size_t nPoint = strBody.find('.');
    std::string strWhole = nPoint == std::string::npos ? strBody : strBody.substr(0, nPoint);
    std::string strFraction = nPoint == std::string::npos ? std::string() : strBody.substr(nPoint + 1);
    const auto nKeep = static_cast<std::size_t>(nDecimals < 0 ? 0 : nDecimals);
    bool bUp = strFraction.size() > nKeep && strFraction[nKeep] >= '5';
    strFraction.resize(nKeep, '0');
    std::string strDigits = strWhole + strFraction;
    for (std::size_t i = strDigits.size(); bUp && i > 0; --i) {
        if (strDigits[i - 1] == '9') {
            strDigits[i - 1] = '0';
        } else {
            ++strDigits[i - 1];
            bUp = false;
        }
    }
    if (bUp) strDigits.insert(strDigits.begin(), '1');
    const std::size_t nWhole = strDigits.size() - nKeep;
    std::string strOut = strDigits.substr(0, nWhole);
    if (nKeep > 0) strOut += "." + strDigits.substr(nWhole);
    if (bNegative && strOut.find_first_not_of("0.") != std::string::npos) strOut.insert(strOut.begin(), '-');
    return strOut;
}

std::string FormatDecimal(double dValue, int nDecimals) {
    char sz[512];
    auto result = std::to_chars(sz, sz + sizeof sz, dValue, std::chars_format::fixed);
    if (result.ec != std::errc()) return "0";
    return RoundDecimal(std::string(sz, result.ptr), nDecimals);
}

}  // namespace vitalchart::clinical
