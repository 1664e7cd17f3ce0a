#include "tools/check/value_checker.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"
#include "render/color_triple.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsEdgeKeyword(UINT nCodePage, const std::string& s) {
    for (const char* pszEdge : {"left", "top", "right", "bottom"}) {
        if (EqualsNoCase(nCodePage, s, pszEdge)) return true;
    }
    return false;
}

}  // namespace

namespace {

// Where the number that the C runtime reads at the start of the text ends,
// and how many figures it has; nEnd: where the runtime stops reading (a zero
// byte).
std::size_t NumberEnd(const std::string& s, std::size_t nEnd, bool bDecimal, std::size_t& rDigits) {
    std::size_t i = 0;
    while (i < nEnd && IsSpace(s[i])) ++i;
    if (i < nEnd && (s[i] == '+' || s[i] == '-')) ++i;
    rDigits = 0;
    while (i < nEnd && IsDigit(s[i])) ++i, ++rDigits;
    if (bDecimal && i < nEnd && s[i] == '.') {
        ++i;
        while (i < nEnd && IsDigit(s[i])) ++i, ++rDigits;
    }
    if (bDecimal && rDigits > 0 && i < nEnd && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < nEnd && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < nEnd && IsDigit(s[j])) {
            while (j < nEnd && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

// The separators figures are written with that the C runtime does not read
// on: ASCII ones, and the full-width comma, stops and enumeration comma of
// UTF-8 and of GBK text (their bytes cannot be mistaken for one another
// after an ASCII figure).
constexpr const char* kSeparators[] = {",",
                                       ".",
                                       "/",
                                       ":",
                                       "-",
                                       "~",
                                       "\xEF\xBC\x8C",
                                       "\xE3\x80\x82",
                                       "\xEF\xBC\x8E",
                                       "\xE3\x80\x81",
                                       "\xA3\xAC",
                                       "\xA1\xA3",
                                       "\xA3\xAE",
                                       "\xA1\xA2"};
// Those a decimal is mistakenly written with instead of a point.
constexpr const char* kDecimalMarks[] = {",",        "\xEF\xBC\x8C", "\xE3\x80\x82", "\xEF\xBC\x8E",
                                         "\xA3\xAC", "\xA1\xA3",     "\xA3\xAE"};

std::size_t SeparatorAt(const std::string& s, std::size_t i) {
    for (const char* pszSeparator : kSeparators) {
        const std::size_t n = std::char_traits<char>::length(pszSeparator);
        if (s.compare(i, n, pszSeparator) == 0) return n;
    }
    return 0;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where the figures that the reading leaves out begin after the number
// ending at i: after blanks, or after one separator; 0 when none follow.
std::size_t CutFigures(const std::string& s, std::size_t i, std::size_t nEnd, bool bDecimal) {
    if (i >= nEnd) return 0;
    std::size_t j = i;
    while (j < nEnd && IsBlank(s[j])) ++j;
    if (j > i && j < nEnd && IsDigit(s[j])) return j;
    std::size_t n = SeparatorAt(s, j);
    // A whole number read by atoi stops at its exponent too.
    if (n == 0 && !bDecimal && j < nEnd && (s[j] == 'e' || s[j] == 'E')) n = 1;
    if (n == 0 || j + n >= nEnd || !IsDigit(s[j + n])) return 0;
    const std::size_t nFigures = j + n;
    if (!bDecimal && s[j] == '.') {
        // Only zeros after the point of a whole number (12.0): its value is what is read.
        std::size_t k = nFigures;
        while (k < nEnd && s[k] == '0') ++k;
        if (k == nEnd || !IsDigit(s[k])) return 0;
    }
    return nFigures;
}

}  // namespace

NumberForm ClassifyNumber(const std::string& s, bool bDecimal) {
    // The C runtime stops at a zero byte.
    const std::size_t nEnd = std::min(s.size(), s.find('\0'));
    std::size_t nDigits = 0;
    std::size_t i = NumberEnd(s, nEnd, bDecimal, nDigits);
    if (nDigits == 0) return NumberForm::kNone;
    // An exponent too large for a double reads as an infinity.
    if (bDecimal && !std::isfinite(crt::atof(s.c_str()))) return NumberForm::kNotFinite;
    if (CutFigures(s, i, nEnd, bDecimal) > 0) return NumberForm::kCut;
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i == s.size() ? NumberForm::kWhole : NumberForm::kLeading;
}

std::string DescribeCut(UINT nCodePage, const std::string& s, bool bDecimal) {
    const std::size_t nEnd = std::min(s.size(), s.find('\0'));
    std::size_t nDigits = 0;
    const std::size_t i = NumberEnd(s, nEnd, bDecimal, nDigits);
    const std::size_t nFigures = CutFigures(s, i, nEnd, bDecimal);
    if (nFigures == 0) return std::string();
    std::size_t j = i;
    while (j < nFigures && IsBlank(s[j])) ++j;
    if (j == nFigures) return " stops at the blank";
    const std::string strStop = s.substr(j, nFigures - j);
    std::string out = " stops at " + Show(nCodePage, strStop);
    if (!bDecimal && strStop == ".") return out + ": only a whole number is read";
    for (const char* pszMark : kDecimalMarks) {
        if (!bDecimal || strStop != pszMark) continue;
        std::size_t k = nFigures;
        while (k < nEnd && IsDigit(s[k])) ++k;
        std::size_t nStart = 0;
        while (nStart < i && IsSpace(s[nStart])) ++nStart;
        out += "; a decimal takes a point: " +
               Show(nCodePage, s.substr(nStart, i - nStart) + "." + s.substr(nFigures, k - nFigures));
    }
    return out;
}

void CValueChecker::CheckValues(const TagSeen& tag) {
    for (const AttributeRule& attr : AttributesOf(tag.nCode)) {
        if (const std::string* pValue = tag.Find(attr.pszName)) CheckValue(tag, attr, *pValue);
    }
}

void CValueChecker::CheckValue(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue) {
    if (tag.IsGarbled(attr.pszName)) return;  // what the scanner made of it is told already
    switch (attr.kind) {
        case AttributeKind::kText:
        case AttributeKind::kPenId:
        case AttributeKind::kFontId:
            return;
        case AttributeKind::kPosition:
        case AttributeKind::kLength:
            CheckPosition(tag, attr, strValue);
            return;
        case AttributeKind::kInteger:
            CheckNumber(tag, attr.pszName, strValue, false, std::string());
            return;
        case AttributeKind::kDecimal:
            CheckNumber(tag, attr.pszName, strValue, true,
                        std::string(attr.pszName) == "scale" ? ", and a scale of 0 draws nothing" : "");
            return;
        case AttributeKind::kSymbol:
            CheckSymbol(tag, attr, strValue);
            return;
        case AttributeKind::kWord:
            CheckWord(tag, attr, strValue);
            return;
        case AttributeKind::kColor:
            CheckColor(tag, attr, strValue);
            return;
    }
}

void CValueChecker::CheckNumber(const TagSeen& tag, const char* pszName, const std::string& strValue, bool bDecimal,
                                const std::string& strWhenZero) {
    const NumberForm form = ClassifyNumber(strValue, bDecimal);
    if (form == NumberForm::kWhole) return;
    const std::int32_t nColumn = tag.ValueColumn(pszName);
    const std::string strRead =
        bDecimal ? FormatNumber(crt::atof(strValue.c_str())) : std::to_string(crt::atoi(strValue.c_str()));
    switch (form) {
        case NumberForm::kWhole:
            return;
        case NumberForm::kLeading:
            m_log.Note(tag, nColumn, "number",
                       Show(m_nCodePage, strValue) + " in '" + pszName + "' is read as " + strRead +
                           (bDecimal ? "" : " (a whole number)") + "; the rest is ignored");
            return;
        case NumberForm::kCut:
            m_log.Warn(tag, nColumn, "number",
                       Show(m_nCodePage, strValue) + " in '" + pszName + "' is read as " + strRead + ": the number" +
                           DescribeCut(m_nCodePage, strValue, bDecimal));
            return;
        case NumberForm::kNone:
            m_log.Warn(tag, nColumn, "number",
                       Show(m_nCodePage, strValue) + " in '" + pszName + "' is not a number: the " +
                           CFindingLog::Reader(tag.nSource) + " reads 0" + strWhenZero);
            return;
        case NumberForm::kNotFinite:
            m_log.Warn(tag, nColumn, "number",
                       Show(m_nCodePage, strValue) + " in '" + pszName + "' is not a finite number");
            return;
    }
}

void CValueChecker::CheckPosition(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue) {
    const std::int32_t nColumn = tag.ValueColumn(attr.pszName);
    const bool bLength = attr.kind == AttributeKind::kLength;
    if (IsEdgeKeyword(m_nCodePage, strValue)) {
        if (bLength) {
            m_log.Warn(tag, nColumn, "relative-length",
                       "'" + std::string(attr.pszName) + "' is a length, but " + Show(m_nCodePage, strValue) +
                           " is an edge of the chart, not a length");
        }
        return;
    }
    if (!strValue.empty() && strValue[0] == '+') {
        if (bLength) {
            m_log.Warn(tag, nColumn, "relative-length",
                       "'" + std::string(attr.pszName) + "' is a length, but " + Show(m_nCodePage, strValue) +
                           " is a position from the chart's edge: the edge's coordinate is added to it");
        }
        if (strValue.size() == 1) return;  // the edge itself
        CheckNumber(tag, attr.pszName, strValue.substr(1), true, std::string());
        return;
    }
    CheckNumber(tag, attr.pszName, strValue, true, std::string());
}

void CValueChecker::CheckSymbol(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue) {
    CheckNumber(tag, attr.pszName, strValue, false, std::string());
    const int nKind = crt::atoi(strValue.c_str());
    const bool bPlain = std::string(attr.pszName) == "symbol";
    if (nKind >= 1 && nKind <= 8) return;
    if (!bPlain && nKind < 0) return;  // a negative special kind falls back to "symbol"
    // A shape asked for draws a marker whatever the kind.
    const std::string strShape = std::string(attr.pszName) + "-shape";
    if (const AttributeRule* pShape = FindAttribute(tag.nCode, strShape)) {
        const std::string* pValue = tag.Find(strShape.c_str());
        for (const std::string& strWord : SplitWords(pShape->pszWords)) {
            if (pValue != nullptr && EqualsNoCase(m_nCodePage, *pValue, strWord)) return;
        }
    }
    const std::string strWho =
        bPlain ? "the readings"
               : std::string("the readings flagged ") + (std::string(attr.pszName) == "special-symbol" ? "1" : "2");
    const std::int32_t nColumn = tag.ValueColumn(attr.pszName);
    if (nKind == 0) {
        m_log.Note(tag, nColumn, "symbol-kind",
                   "symbol kind 0 draws no marker: " + strWho + " get none, only the joining lines");
    } else {
        m_log.Warn(tag, nColumn, "symbol-kind",
                   "symbol kind " + std::to_string(nKind) + " is not a marker (kinds are 1 to 8): " + strWho +
                       " get none, only the joining lines");
    }
}

void CValueChecker::CheckWord(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue) {
    const std::vector<std::string> words = SplitWords(attr.pszWords);
    const std::vector<std::string> defaults = SplitWords(attr.pszDefaultWords);
    for (const std::vector<std::string>* pList : {&words, &defaults}) {
        for (const std::string& strWord : *pList) {
            if (EqualsNoCase(m_nCodePage, strValue, strWord)) return;
        }
    }
    std::vector<std::string> all = words;
    all.insert(all.end(), defaults.begin(), defaults.end());
    m_log.Warn(tag, tag.ValueColumn(attr.pszName), "unknown-word",
               Show(m_nCodePage, strValue) + " in '" + attr.pszName + "' is none of " + ListNames(all, " or ") +
                   DidYouMean(SuggestName(m_nCodePage, strValue, all)) + ": the " + CFindingLog::Reader(tag.nSource) +
                   " treats it as absent");
}

void CValueChecker::CheckColor(const TagSeen& tag, const AttributeRule& attr, const std::string& strValue) {
    const ColorTriple triple = ParseColorTriple(strValue);
    if (triple.read == ColorRead::kAll) return;
    std::string strEffect;
    if (tag.nCode == kElementFont) {
        strEffect = "the font gets no colour of its own";
    } else if (triple.read == ColorRead::kNone) {
        strEffect = "the pen is black";
    } else {
        strEffect = "the pen is drawn in " + std::to_string(triple.nRed & 0xFF) + ",0,0";
    }
    m_log.Warn(tag, tag.ValueColumn(attr.pszName), "color",
               "colour " + Show(m_nCodePage, strValue) + " has fewer than three figures r,g,b: " + strEffect);
}

void CValueChecker::CheckRepeat(const TagSeen& tag) {
    // A count the element does not read is told as an unknown attribute.
    const std::string* pTimes = tag.Find("times");
    if (pTimes == nullptr || FindAttribute(tag.nCode, "times") == nullptr) return;
    const int nTimes = crt::atoi(pTimes->c_str());
    if (tag.nCode == kElementLine && nTimes == 1) {
        m_log.Warn(tag, tag.ValueColumn("times"), "times-one",
                   "'times' of 1 draws nothing: a family of one cell has no inner lines (leave 'times' out for a "
                   "single line)");
    }
    const int nDrawn = tag.nCode == kElementLine ? nTimes - (nTimes > INT_MIN ? 1 : 0) : nTimes;
    if (nDrawn > kMaxRepeat) {
        m_log.Warn(tag, tag.ValueColumn("times"), "repeat-bound",
                   "'times' of " + std::to_string(nTimes) + " is above the bound: the renderer draws only the first " +
                       std::to_string(kMaxRepeat) + (tag.nCode == kElementLine ? " lines" : " captions"));
    }
}

void CValueChecker::CheckScale(const TagSeen& tag) {
    if (tag.nCode != kElementLineOut && tag.nCode != kElementLineBlock) return;
    const std::string* pScale = tag.Find("scale");
    if (pScale == nullptr) return;
    const float fScale = DoubleToFloat(crt::atof(pScale->c_str()));
    if (fScale == 0.0f && ClassifyNumber(*pScale, true) != NumberForm::kNone) {
        m_log.Warn(tag, tag.ValueColumn("scale"), "zero-scale",
                   "a 'scale' of 0 places no value: the element draws nothing");
    }
}

}  // namespace cli
}  // namespace vitalchart
