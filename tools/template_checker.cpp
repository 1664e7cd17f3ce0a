#include "tools/template_checker.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "markup/byte_buffer.h"
#include "render/keyword_table.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "platform/string_map.h"
#include "render/chart_renderer.h"
#include "render/color_triple.h"
#include "vitalchart/plugin.h"

namespace vitalchart {
namespace cli {

namespace {

using A = AttributeReading;
using N = AttributeNeed;

// The attributes each element reads, as its painter or entry class reads
// them and in that order.
const std::vector<AttributeSpec> kNoAttributes;

const std::vector<AttributeSpec> kSizeAttributes = {
    {"width", A::kDecimal, N::kOptional, nullptr, nullptr},
    {"height", A::kDecimal, N::kOptional, nullptr, nullptr},
    {"print-color", A::kWord, N::kOptional, "false", "true"},
};

const std::vector<AttributeSpec> kPenAttributes = {
    {"id", A::kText, N::kDeclares, nullptr, nullptr},
    {"pen-width", A::kInteger, N::kDeclares, nullptr, nullptr},
    {"color", A::kColor, N::kOptional, nullptr, nullptr},
    {"pen-style", A::kInteger, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kFontAttributes = {
    {"id", A::kText, N::kDeclares, nullptr, nullptr},
    {"font-name", A::kText, N::kDeclares, nullptr, nullptr},
    {"font-size", A::kInteger, N::kDeclares, nullptr, nullptr},
    {"font-bold", A::kWord, N::kOptional, "true", "false"},
    {"font-underline", A::kWord, N::kOptional, "true", "false"},
    {"font-inital", A::kWord, N::kOptional, "true", "false"},
    {"text-color", A::kColor, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kLineAttributes = {
    {"left", A::kPositionX, N::kCoordinate, nullptr, nullptr},
    {"top", A::kPositionY, N::kCoordinate, nullptr, nullptr},
    {"right", A::kPositionX, N::kCoordinate, nullptr, nullptr},
    {"bottom", A::kPositionY, N::kCoordinate, nullptr, nullptr},
    {"pen-id", A::kPenId, N::kOptional, nullptr, nullptr},
    {"times", A::kInteger, N::kOptional, nullptr, nullptr},
    {"multiple", A::kInteger, N::kOptional, nullptr, nullptr},
    {"direction", A::kWord, N::kOptional, "y", "x"},
};

const std::vector<AttributeSpec> kTextAttributes = {
    {"text", A::kText, N::kDraws, nullptr, nullptr},
    {"left", A::kPositionX, N::kCoordinate, nullptr, nullptr},
    {"top", A::kPositionY, N::kCoordinate, nullptr, nullptr},
    {"right", A::kLengthX, N::kCoordinate, nullptr, nullptr},
    {"bottom", A::kLengthY, N::kCoordinate, nullptr, nullptr},
    {"multiple", A::kInteger, N::kOptional, nullptr, nullptr},
    {"spans", A::kLengthX, N::kOptional, nullptr, nullptr},
    {"times", A::kInteger, N::kOptional, nullptr, nullptr},
    {"direction", A::kWord, N::kOptional, "y", "x"},
    {"step", A::kInteger, N::kOptional, nullptr, nullptr},
    {"align", A::kWord, N::kOptional, "center|right|vertical", "left"},
    {"font-id", A::kFontId, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kLineOutAttributes = {
    {"name", A::kText, N::kDraws, nullptr, nullptr},
    {"x", A::kPositionX, N::kCoordinate, nullptr, nullptr},
    {"y", A::kPositionY, N::kCoordinate, nullptr, nullptr},
    {"cx", A::kLengthX, N::kCoordinate, nullptr, nullptr},
    {"cy", A::kLengthY, N::kCoordinate, nullptr, nullptr},
    {"scale", A::kDecimal, N::kDraws, nullptr, nullptr},
    {"base-value", A::kDecimal, N::kDraws, nullptr, nullptr},
    {"symbol", A::kSymbol, N::kDraws, nullptr, nullptr},
    {"special-symbol", A::kSymbol, N::kOptional, nullptr, nullptr},
    {"special-symbol2", A::kSymbol, N::kOptional, nullptr, nullptr},
    {"pen-id", A::kPenId, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kLineBlockAttributes = {
    {"name", A::kText, N::kDraws, nullptr, nullptr},          {"x", A::kPositionX, N::kCoordinate, nullptr, nullptr},
    {"y", A::kPositionY, N::kCoordinate, nullptr, nullptr},   {"cx", A::kLengthX, N::kCoordinate, nullptr, nullptr},
    {"cy", A::kLengthY, N::kCoordinate, nullptr, nullptr},    {"scale", A::kDecimal, N::kDraws, nullptr, nullptr},
    {"base-value", A::kDecimal, N::kDraws, nullptr, nullptr}, {"symbol", A::kSymbol, N::kDraws, nullptr, nullptr},
    {"pen-id", A::kPenId, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kTextOutAttributes = {
    {"name", A::kText, N::kDraws, nullptr, nullptr},
    {"x", A::kPositionX, N::kCoordinate, nullptr, nullptr},
    {"y", A::kPositionY, N::kCoordinate, nullptr, nullptr},
    {"cx", A::kLengthX, N::kCoordinate, nullptr, nullptr},
    {"cy", A::kLengthY, N::kCoordinate, nullptr, nullptr},
    {"spans", A::kLengthX, N::kOptional, nullptr, nullptr},
    {"align", A::kWord, N::kOptional, "center|right|vertical", "left"},
    {"font-id", A::kFontId, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kReadingAttributes = {
    {"vitalsigns", A::kText, N::kOptional, nullptr, nullptr},
    {"vitalsignsvalues", A::kText, N::kOptional, nullptr, nullptr},
    {"vitalsignsoriginalvalues", A::kText, N::kOptional, nullptr, nullptr},
    {"cellindex", A::kInteger, N::kOptional, nullptr, nullptr},
    {"originalCellIndex", A::kInteger, N::kOptional, nullptr, nullptr},
    {"specialSymbolFlag", A::kInteger, N::kOptional, nullptr, nullptr},
};

const std::vector<AttributeSpec> kPrintAttributes = {
    {"resume", A::kWord, N::kOptional, "true", "false"},
};

// Natural spellings that the renderer reads under another name, too far
// apart for the edit distance to find.
const std::pair<const char*, const char*> kKnownSlips[] = {
    {"font-italic", "font-inital"},
    {"italic", "font-inital"},
};

// A reading of a position lies this close to the edge of the ruling (in
// millimetres) and still counts as on it: figures are written to a tenth.
constexpr double kEdgeSlackMm = 0.05;

// Longest text a message quotes before cutting it.
constexpr std::size_t kMaxShown = 40;

const AttributeSpec* FindSpec(int nCode, const std::string& strName) {
    for (const AttributeSpec& attr : CTemplateChecker::GetAttributes(nCode)) {
        if (strName == attr.pszName) return &attr;
    }
    return nullptr;
}

std::string ElementName(int nCode) {
    if (nCode == kDataReading) return "d";
    if (nCode == kDataPrint) return "print";
    const ElementRule* pRule = FindElementRule(nCode);
    return pRule != nullptr ? pRule->pszName : std::string();
}

std::vector<std::string> SplitWords(const char* pszWords) {
    std::vector<std::string> words;
    if (pszWords == nullptr) return words;
    std::string strAll(pszWords);
    std::size_t nStart = 0;
    for (;;) {
        std::size_t nBar = strAll.find('|', nStart);
        words.push_back(strAll.substr(nStart, nBar == std::string::npos ? std::string::npos : nBar - nStart));
        if (nBar == std::string::npos) return words;
        nStart = nBar + 1;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWith(const std::string& s, const char* pszPrefix) {
    return s.rfind(pszPrefix, 0) == 0;
}

// A text as a message shows it: in quotes, control bytes as \xhh, a long
// text cut after kMaxShown bytes (never inside a character).
std::string Show(UINT nCodePage, const std::string& s) {
    std::string out = "'";
    std::size_t i = 0;
    while (i < s.size()) {
        if (i >= kMaxShown) {
            out += "...";
            break;
        }
        const std::size_t n = CharLength(nCodePage, s.data() + i, s.size() - i);
        for (std::size_t k = 0; k < n; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + k]);
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
        i += n;
    }
    return out + "'";
}

std::string Plural(std::size_t n, const char* pszOne, const char* pszMany) {
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}

// A list of names as "'a'", "'a' and 'b'" or "'a', 'b' and 'c'" (or "or").
std::string ListNames(const std::vector<std::string>& names, const char* pszLast = " and ") {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += i + 1 == names.size() ? pszLast : ", ";
        out += "'" + names[i] + "'";
    }
    return out;
}

// A number as the messages write it: the shortest form that reads back.
std::string FormatNumber(double d) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, result.ptr);
}

std::string FormatMm(double d) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, 1);
    return std::string(buf, result.ptr) + " mm";
}

// How atoi (or, with bDecimal, atof) reads a text: all of it (blanks around
// the number aside), only a leading part, nothing (so 0), or an infinity.
enum class NumberForm { kWhole, kLeading, kNone, kNotFinite };

NumberForm ClassifyNumber(const std::string& s, bool bDecimal) {
    // The C runtime stops at a zero byte.
    const std::size_t nEnd = std::min(s.size(), s.find('\0'));
    std::size_t i = 0;
    while (i < nEnd && IsSpace(s[i])) ++i;
    if (i < nEnd && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t nDigits = 0;
    while (i < nEnd && IsDigit(s[i])) ++i, ++nDigits;
    if (bDecimal && i < nEnd && s[i] == '.') {
        ++i;
        while (i < nEnd && IsDigit(s[i])) ++i, ++nDigits;
    }
    if (nDigits == 0) return NumberForm::kNone;
    if (bDecimal && i < nEnd && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < nEnd && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < nEnd && IsDigit(s[j])) {
            while (j < nEnd && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    // An exponent too large for a double reads as an infinity.
    if (bDecimal && !std::isfinite(crt::atof(s.c_str()))) return NumberForm::kNotFinite;
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i == s.size() ? NumberForm::kWhole : NumberForm::kLeading;
}

bool IsEdgeKeyword(UINT nCodePage, const std::string& s) {
    for (const char* pszEdge : {"left", "top", "right", "bottom"}) {
        if (EqualsNoCase(nCodePage, s, pszEdge)) return true;
    }
    return false;
}

// The characters of a name, ASCII letters folded, for the edit distance.
std::vector<std::string> FoldedChars(UINT nCodePage, const std::string& s) {
    std::vector<std::string> chars;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = CharLength(nCodePage, s.data() + i, s.size() - i);
        std::string c = s.substr(i, n);
        if (n == 1) c[0] = FoldAscii(c[0]);
        chars.push_back(c);
        i += n;
    }
    return chars;
}

// The name with ASCII letters folded: names that compare equal without
// regard to case have the same key.
std::string FoldKey(UINT nCodePage, const std::string& s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = CharLength(nCodePage, s.data() + i, s.size() - i);
        if (n == 1) {
            out += FoldAscii(s[i]);
        } else {
            out.append(s, i, n);
        }
        i += n;
    }
    return out;
}

// Edits (insert, remove, replace, swap two neighbours) that turn a into b.
std::size_t EditDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t nCost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + nCost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[n][m];
}

// Names the scanner and the keyword table know.
std::vector<std::string> KeywordNames() {
    std::vector<std::string> names;
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) names.push_back(p->pszName);
    return names;
}

std::vector<std::string> AttributeNames(int nCode) {
    std::vector<std::string> names;
    for (const AttributeSpec& attr : CTemplateChecker::GetAttributes(nCode)) names.push_back(attr.pszName);
    return names;
}

std::string DidYouMean(const std::string& strSuggestion) {
    return strSuggestion.empty() ? std::string() : " (did you mean '" + strSuggestion + "'?)";
}

// An attribute as the scanner met it.
struct AttributeSeen {
    std::string strName;
    std::int32_t nColumn = 0;       // where the name begins
    std::int32_t nValueColumn = 0;  // where the value begins
};

// A tag the renderer (or the data reader) acts on, with where it stands.
struct TagSeen {
    int nCode = kElementUnknown;
    int nSource = 0;
    std::int32_t nLine = 0;
    std::int32_t nColumn = 0;  // the tag's first byte
    bool bLineFirst = false;   // the first tag of its line, the one the size query looks at
    bool bClosing = false;     // written as </name>
    CMapStringToString mapAttributes;
    std::vector<AttributeSeen> attributes;
    std::vector<std::string> garbled;  // attributes whose value the scanner read out of step

    bool IsGarbled(const char* pszName) const {
        return std::find(garbled.begin(), garbled.end(), pszName) != garbled.end();
    }

    const std::string* Find(const char* pszName) const { return mapAttributes.Find(pszName); }

    // Where the value that the renderer keeps begins (its last occurrence),
    // or the tag's column when the attribute is absent.
    std::int32_t ValueColumn(const char* pszName) const {
        for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
            if (it->strName == pszName) return it->nValueColumn;
        }
        return nColumn;
    }
};

// A pen or font declaration, accepted or rejected.
struct Declaration {
    std::string strId;
    bool bHasId = false;
    std::int32_t nLine = 0;
    std::size_t nOrder = 0;  // index among the template's elements
    bool bAccepted = false;
    std::string strMissing;  // the required attributes a rejected one lacks
    bool bColoredInPrint = false;
};

// The pens or the fonts of a template in declaration order, found by id.
struct Declarations {
    std::vector<Declaration> entries;
    std::unordered_map<std::string, std::vector<std::size_t>> byKey;  // FoldKey of the id: indexes into entries
};

// One run of the checks over a template and its data texts.
class CCheckRun {
public:
    CCheckRun(UINT nCodePage, std::vector<Finding>& rFindings) : m_nCodePage(nCodePage), m_findings(rFindings) {}

    void WalkText(int nSource, const std::string& strText);
    void CheckElements();
    void CheckReadings(std::size_t nDataTexts);

private:
    void Add(int nSource, std::int32_t nLine, std::int32_t nColumn, Severity severity, const char* pszCheck,
             const std::string& strMessage) {
        m_findings.push_back({nSource, nLine, nColumn, severity, strMessage, pszCheck});
    }
    void Warn(const TagSeen& tag, std::int32_t nColumn, const char* pszCheck, const std::string& strMessage) {
        Add(tag.nSource, tag.nLine, nColumn, Severity::kWarning, pszCheck, strMessage);
    }
    void Note(const TagSeen& tag, std::int32_t nColumn, const char* pszCheck, const std::string& strMessage) {
        Add(tag.nSource, tag.nLine, nColumn, Severity::kNote, pszCheck, strMessage);
    }

    bool IsTemplate(int nSource) const { return nSource == 0; }
    const char* Reader(int nSource) const { return IsTemplate(nSource) ? "renderer" : "data reader"; }
    int TagCode(int nSource, const std::string& strName) const;
    bool IsHandled(int nCode) const {
        return (nCode >= kElementPen && nCode <= kElementLineBlock) || nCode == kDataReading || nCode == kDataPrint;
    }

    void BeginLine(std::int32_t nLine, const char* pszLine, std::int32_t nLength);
    void ReadTag(int nSource, std::int32_t nLine, const char* pszLine, std::int32_t nLength, std::int32_t nTagPos,
                 int nCode, std::int32_t& nPos);
    void ExplainSkipped(int nSource, std::int32_t nLine, const char* pszLine, std::int32_t nLength,
                        std::int32_t nTagPos, const std::string& strName, const CScanNotes& nameNotes, int nCode);
    void ExplainRest(int nSource, std::int32_t nLine, const char* pszLine, std::int32_t nLength, std::int32_t nFrom,
                     const std::string& strAfter);
    std::int32_t SkipBlanks(const char* pszLine, std::int32_t nLength, std::int32_t nFrom) const {
        while (nFrom < nLength && IsBlank(pszLine[nFrom])) ++nFrom;
        return nFrom;
    }

    void CheckDeclaration(const TagSeen& tag, std::size_t nOrder, Declarations& rDeclared, const char* pszWhat);
    void CheckSize(const TagSeen& tag, std::size_t nOrder, const TagSeen* pSizeTag, std::size_t nSizeOrder);
    void CheckDrawing(const TagSeen& tag, std::size_t nOrder);
    void CheckValue(const TagSeen& tag, const AttributeSpec& attr, const std::string& strValue);
    void CheckNumber(const TagSeen& tag, const char* pszName, const std::string& strValue, bool bDecimal,
                     const std::string& strWhenZero);
    void CheckReference(const TagSeen& tag, std::size_t nOrder, const char* pszAttribute, const Declarations& declared,
                        const char* pszWhat);
    void CheckColumns(const TagSeen& reading, const std::string& strName, const std::vector<const TagSeen*>& drawers);
    void CheckReadingValue(const TagSeen& reading, const std::string& strName,
                           const std::vector<const TagSeen*>& drawers);

    double PositionMm(const std::string* pValue) const;
    void ComputeRuling();

    UINT m_nCodePage;
    std::vector<Finding>& m_findings;
    std::vector<TagSeen> m_elements;  // the template's elements, in order
    std::vector<TagSeen> m_readings;  // the data texts' d tags, in order
    Declarations m_pens;
    Declarations m_fonts;
    bool m_bPrintColorCleared = false;

    double m_fChartWidthMm = 0.0;
    double m_fChartHeightMm = 0.0;
    double m_fRulingLeftMm = 0.0;
    double m_fRulingRightMm = 0.0;

    // Line state of the text being walked.
    bool m_bInComment = false;        // a comment opened on an earlier line is still open
    bool m_bLineInComment = false;    // the current line began inside a comment
    std::int32_t m_nCommentLine = 0;  // where the open comment began
    std::int32_t m_nPreviousLine = 0;
    std::int32_t m_nCutLine = 0;  // the last line whose tag its end cut off
};

int CCheckRun::TagCode(int nSource, const std::string& strName) const {
    if (IsTemplate(nSource)) return CKeywordTable().FindKeyword(strName);
    if (EqualsNoCase(m_nCodePage, strName, "d")) return kDataReading;
    if (EqualsNoCase(m_nCodePage, strName, "print")) return kDataPrint;
    return kElementUnknown;
}

void CCheckRun::WalkText(int nSource, const std::string& strText) {
    CByteBuffer buffer(0);
    if (strText.size() > static_cast<std::size_t>(INT32_MAX) ||
        !buffer.Append(strText.data(), static_cast<std::int32_t>(strText.size()))) {
        Add(nSource, 1, 1, Severity::kWarning, "too-large", "the text is too large for the renderer to read");
        return;
    }
    m_bInComment = false;
    m_bLineInComment = false;
    m_nPreviousLine = 0;
    m_nCutLine = 0;
    WalkLinesNumbered(buffer, [&](std::int32_t nLine, const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        if (nPos == 0) BeginLine(nLine, pszLine, nLength);
        const std::int32_t nTagPos = nPos;
        CScanNotes nameNotes;
        const std::string strName = ReadTagName(pszLine, nLength, nPos, &nameNotes);
        const int nCode = TagCode(nSource, strName);
        if (IsHandled(nCode)) {
            ReadTag(nSource, nLine, pszLine, nLength, nTagPos, nCode, nPos);
        } else {
            ExplainSkipped(nSource, nLine, pszLine, nLength, nTagPos, strName, nameNotes, nCode);
            nPos = nLength;
        }
        m_nPreviousLine = nLine;
        return true;
    });
}

void CCheckRun::BeginLine(std::int32_t, const char* pszLine, std::int32_t nLength) {
    m_bLineInComment = m_bInComment;
    if (m_bInComment &&
        std::string_view(pszLine, static_cast<std::size_t>(nLength)).find("-->") != std::string_view::npos) {
        m_bInComment = false;
    }
}

void CCheckRun::ReadTag(int nSource, std::int32_t nLine, const char* pszLine, std::int32_t nLength,
                        std::int32_t nTagPos, int nCode, std::int32_t& nPos) {
    TagSeen tag;
    tag.nCode = nCode;
    tag.nSource = nSource;
    tag.nLine = nLine;
    tag.nColumn = nTagPos + 1;
    tag.bLineFirst = nTagPos == 0;
    tag.bClosing = nTagPos + 1 < nLength && pszLine[nTagPos + 1] == '/';
    CMapStringToString mapStyles;
    CScanNotes notes;
    ParseAttributes(pszLine, nLength, tag.mapAttributes, mapStyles, nPos, &notes);
    const std::int32_t nTagEnd = nPos;
    // A view, not a copy: a line may hold many tags back to back.
    const std::string_view line(pszLine, static_cast<std::size_t>(nLength));
    const std::string strElement = ElementName(nCode);
    const bool bTemplate = IsTemplate(nSource);

    if (pszLine[nTagPos] != '<') {
        Note(tag, tag.nColumn, "first-byte",
             "the first byte of a tag is not looked at: " +
                 Show(m_nCodePage, std::string(line.substr(static_cast<std::size_t>(nTagPos), 1))) +
                 " stands for '<' and this is read as '" + strElement + "'");
    }
    if (m_bLineInComment) {
        Warn(tag, tag.nColumn, "element-in-comment",
             "'" + strElement + "' stands inside the comment opened on line " + std::to_string(m_nCommentLine) +
                 ", but comments do not span lines for the " + Reader(nSource) + ": it reads this tag");
    }
    if (tag.bClosing) {
        Warn(tag, tag.nColumn, "closing-tag",
             "closing tag '</" + strElement + ">' is read as one more '" + strElement +
                 "' without attributes; remove it" +
                 (bTemplate ? std::string() : std::string(" (it adds a reading with no name and no value)")));
    }

    // What the scanner met, in the order it met it. A value cut at a
    // semicolon, or one without its opening quote, throws the rest of the tag
    // out of step: names read after it are fragments of values, not
    // attributes the author wrote.
    std::int32_t nOutOfStep = -1;
    std::int32_t nSemicolon = -1;
    std::int32_t nLastValueStart = 0;
    std::vector<std::int32_t> cutNames;
    std::vector<std::pair<std::string, std::int32_t>> firstSeen;
    for (const ScanEvent& event : notes.events) {
        const bool bMisread = nOutOfStep >= 0 && event.nPos > nOutOfStep;
        switch (event.kind) {
            case ScanEvent::kAttribute: {
                nLastValueStart = event.nEnd;
                if (bMisread) break;
                AttributeSeen seen{event.strName, event.nPos + 1, event.nEnd + 1};
                auto it = std::find_if(firstSeen.begin(), firstSeen.end(),
                                       [&](const auto& entry) { return entry.first == event.strName; });
                if (it != firstSeen.end()) {
                    const std::string* pValue = tag.Find(event.strName.c_str());
                    Warn(tag, seen.nColumn, "repeated-attribute",
                         "'" + event.strName + "' is given again (first in column " + std::to_string(it->second) +
                             "): the last one wins, " + Show(m_nCodePage, pValue != nullptr ? *pValue : ""));
                } else {
                    firstSeen.emplace_back(event.strName, seen.nColumn);
                }
                tag.attributes.push_back(seen);
                if (std::find(cutNames.begin(), cutNames.end(), event.nPos) != cutNames.end()) break;
                if (FindSpec(nCode, event.strName) == nullptr) {
                    Warn(tag, seen.nColumn, "unknown-attribute",
                         "'" + strElement + "' does not read the attribute " + Show(m_nCodePage, event.strName) +
                             DidYouMean(
                                 CTemplateChecker::SuggestName(m_nCodePage, event.strName, AttributeNames(nCode))) +
                             ": the " + Reader(nSource) + " ignores it");
                }
                break;
            }
            case ScanEvent::kNameCut:
                if (bMisread) break;
                cutNames.push_back(event.nPos);
                Warn(tag, event.nPos + 1, "long-name",
                     "attribute name of " + std::to_string(event.nEnd - event.nPos) + " bytes is longer than " +
                         std::to_string(kMaxNameLength) + ": the scanner keeps " +
                         Show(m_nCodePage,
                              std::string(line.substr(static_cast<std::size_t>(event.nPos), kMaxNameLength))) +
                         ", which no element reads");
                break;
            case ScanEvent::kSemicolon: {
                if (bMisread || nSemicolon >= 0) break;
                nSemicolon = event.nPos;
                nOutOfStep = event.nPos;
                // Attributes written after the semicolon that the scanner never stored.
                const std::string_view rest =
                    line.substr(static_cast<std::size_t>(nSemicolon), static_cast<std::size_t>(nTagEnd - nSemicolon));
                std::vector<std::string> lost;
                for (const AttributeSpec& attr : CTemplateChecker::GetAttributes(nCode)) {
                    const std::string strNeedle = std::string(" ") + attr.pszName + "=\"";
                    if (rest.find(strNeedle) != std::string_view::npos && tag.Find(attr.pszName) == nullptr) {
                        lost.push_back(attr.pszName);
                    }
                }
                const std::string strKept(line.substr(static_cast<std::size_t>(nLastValueStart),
                                                      static_cast<std::size_t>(nSemicolon - nLastValueStart)));
                Warn(tag, nSemicolon + 1, "semicolon",
                     "the value of '" + event.strName + "' ends at this semicolon: the " + Reader(tag.nSource) +
                         " keeps " + Show(m_nCodePage, strKept) + " and reads the rest of the tag out of step" +
                         (lost.empty() ? std::string() : ", losing " + ListNames(lost)));
                break;
            }
            case ScanEvent::kUnquoted:
                if (bMisread) break;
                nOutOfStep = event.nPos;
                tag.garbled.push_back(event.strName);
                Warn(tag, event.nPos + 1, "unquoted-value",
                     "the value of '" + event.strName +
                         "' does not begin with '\"': the scanner skips the byte after '=' unread and takes the "
                         "value up to the next '\"' or ';'");
                break;
            case ScanEvent::kLineEnd:
                // Read out of step, the tag may seem to run on; that is told already.
                if (nOutOfStep >= 0) break;
                m_nCutLine = nLine;
                Warn(tag, tag.nColumn, "unclosed-tag",
                     "'" + strElement +
                         "' is cut off by the end of its line: a tag must end on its own line, and the " +
                         Reader(nSource) + " does not read the next line as part of it");
                break;
        }
    }
    if (bTemplate) {
        m_elements.push_back(std::move(tag));
    } else if (nCode == kDataReading) {
        m_readings.push_back(std::move(tag));
    } else if (nCode == kDataPrint) {
        // The print tag's one attribute is a word; nothing else to keep.
        for (const AttributeSpec& attr : kPrintAttributes) {
            if (const std::string* pValue = tag.Find(attr.pszName)) CheckValue(tag, attr, *pValue);
        }
    }
}

void CCheckRun::ExplainSkipped(int nSource, std::int32_t nLine, const char* pszLine, std::int32_t nLength,
                               std::int32_t nTagPos, const std::string& strName, const CScanNotes& nameNotes,
                               int nCode) {
    const bool bTemplate = IsTemplate(nSource);
    const std::string strLine(pszLine, static_cast<std::size_t>(nLength));
    if (pszLine[nTagPos] != '<') {
        if (nTagPos > 0) {
            // Text after a tag: harmless unless it hides a tag.
            const std::int32_t k = SkipBlanks(pszLine, nLength, nTagPos);
            if (k > nTagPos && k < nLength && pszLine[k] == '<') {
                std::int32_t nNamePos = k;
                const std::string strNext = ReadTagName(pszLine, nLength, nNamePos);
                if (StartsWith(strNext, "!") || StartsWith(strNext, "?")) return;
                Add(nSource, nLine, k + 1, Severity::kWarning, "blank-between-tags",
                    Show(m_nCodePage, strNext) +
                        " follows the previous tag after a blank: the next tag is read only where the previous "
                        "one ends, so the rest of the line is skipped");
                return;
            }
            const std::size_t nNext = strLine.find('<', static_cast<std::size_t>(nTagPos));
            if (nNext != std::string::npos) {
                ExplainRest(nSource, nLine, pszLine, nLength, static_cast<std::int32_t>(nNext),
                            "text that is not a tag");
            }
            return;
        }
        const std::int32_t k = SkipBlanks(pszLine, nLength, 0);
        if (k >= nLength) return;  // blanks only
        if (m_bLineInComment) {
            // Comment text; a tag after the comment's end on this line is lost with it.
            const std::size_t nClose = strLine.find("-->");
            if (nClose != std::string::npos) {
                ExplainRest(nSource, nLine, pszLine, nLength, static_cast<std::int32_t>(nClose) + 3,
                            "a line that does not start with '<'");
            }
            return;
        }
        if (pszLine[k] == '<') {
            std::int32_t nNamePos = k;
            const std::string strIndented = ReadTagName(pszLine, nLength, nNamePos);
            if (StartsWith(strIndented, "!") || StartsWith(strIndented, "?")) return;
            if (bTemplate && CKeywordTable().FindKeyword(strIndented) == kElementSign) return;
            Add(nSource, nLine, k + 1, Severity::kWarning, "indented-tag",
                "indented tag " + Show(m_nCodePage, strIndented) +
                    ": a tag is read only from the first byte of its line, so this line is skipped");
            return;
        }
        const bool bContinued = m_nCutLine != 0 && m_nCutLine == m_nPreviousLine;
        Add(nSource, nLine, 1, Severity::kWarning, "not-a-tag",
            std::string("line does not start with '<': it is skipped") +
                (bContinued ? " (it does not continue the tag cut off on line " + std::to_string(m_nCutLine) + ")"
                            : std::string()));
        return;
    }

    // A comment or a declaration: skipped as meant, but not what follows it.
    if (StartsWith(strName, "!--")) {
        const std::size_t nClose = strLine.find("-->", static_cast<std::size_t>(nTagPos) + 4);
        if (nClose == std::string::npos) {
            if (!m_bLineInComment) {
                m_bInComment = true;
                m_nCommentLine = nLine;
            }
            return;
        }
        ExplainRest(nSource, nLine, pszLine, nLength, static_cast<std::int32_t>(nClose) + 3, "a comment");
        return;
    }
    if (StartsWith(strName, "!") || StartsWith(strName, "?")) {
        const std::size_t nClose = strLine.find('>', static_cast<std::size_t>(nTagPos));
        if (nClose != std::string::npos) {
            ExplainRest(nSource, nLine, pszLine, nLength, static_cast<std::int32_t>(nClose) + 1,
                        "'<" + strName.substr(0, 1) + "'");
        }
        return;
    }
    if (m_bLineInComment) return;

    // Where the skipped tag ends, as the scanner reads it.
    std::int32_t nEnd = nTagPos;
    {
        std::int32_t nNamePos = nTagPos;
        ReadTagName(pszLine, nLength, nNamePos);
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        nEnd = nNamePos;
        ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nEnd);
    }
    if (bTemplate && nCode == kElementSign) {
        ExplainRest(nSource, nLine, pszLine, nLength, nEnd, "the root element 'vitalsign'");
        return;
    }

    std::string strMessage;
    const char* pszWhat = bTemplate ? "element" : "data tag";
    const std::string strUnread = bTemplate ? ": the renderer skips the rest of the line"
                                            : ": the data reader reads only 'd' and 'print' tags and skips the rest "
                                              "of the line";
    const bool bCut = std::any_of(nameNotes.events.begin(), nameNotes.events.end(),
                                  [](const ScanEvent& e) { return e.kind == ScanEvent::kNameCut; });
    const std::vector<std::string> known = bTemplate ? KeywordNames() : std::vector<std::string>{"d", "print"};
    const std::string strBare =
        strName.size() > 1 && strName.back() == '/' ? strName.substr(0, strName.size() - 1) : std::string();
    if (strName.empty()) {
        strMessage = std::string("tag without a name") + strUnread;
    } else if (bCut) {
        strMessage = std::string(pszWhat) + " name longer than " + std::to_string(kMaxNameLength) + " bytes, kept as " +
                     Show(m_nCodePage, strName) + strUnread;
    } else if (!strBare.empty() && IsHandled(TagCode(nSource, strBare))) {
        strMessage = Show(m_nCodePage, strName) + " is not '" + strBare +
                     "': a '/' right after the name belongs to it; write '<" + strBare + " />'" + strUnread;
    } else {
        strMessage = "unknown " + std::string(pszWhat) + " " + Show(m_nCodePage, strName) +
                     DidYouMean(CTemplateChecker::SuggestName(m_nCodePage, strName, known)) + strUnread;
    }
    Add(nSource, nLine, nTagPos + 1, Severity::kWarning, bTemplate ? "unknown-element" : "unknown-tag", strMessage);
    ExplainRest(nSource, nLine, pszLine, nLength, nEnd, "the unknown tag");
}

void CCheckRun::ExplainRest(int nSource, std::int32_t nLine, const char* pszLine, std::int32_t nLength,
                            std::int32_t nFrom, const std::string& strAfter) {
    const std::int32_t k = SkipBlanks(pszLine, nLength, nFrom);
    if (k >= nLength || pszLine[k] != '<') return;
    std::int32_t nNamePos = k;
    const std::string strNext = ReadTagName(pszLine, nLength, nNamePos);
    if (StartsWith(strNext, "!") || StartsWith(strNext, "?")) return;
    Add(nSource, nLine, k + 1, Severity::kWarning, "rest-of-line",
        Show(m_nCodePage, strNext) + " is not read: the " + Reader(nSource) + " skips the rest of a line after " +
            strAfter);
}

void CCheckRun::CheckElements() {
    // The size query reads the first vitalsize that begins a line.
    const TagSeen* pSizeTag = nullptr;
    std::size_t nSizeOrder = 0;
    for (std::size_t i = 0; i < m_elements.size(); ++i) {
        if (m_elements[i].nCode == kElementSize && m_elements[i].bLineFirst) {
            pSizeTag = &m_elements[i];
            nSizeOrder = i;
            break;
        }
    }
    m_fChartWidthMm = GetPluginWidth();
    m_fChartHeightMm = GetPluginHeight();
    if (pSizeTag != nullptr) {
        const std::string* pWidth = pSizeTag->Find("width");
        const std::string* pHeight = pSizeTag->Find("height");
        if (pWidth != nullptr && DoubleToFloat(crt::atof(pWidth->c_str())) > 0.0f) {
            m_fChartWidthMm = DoubleToFloat(crt::atof(pWidth->c_str()));
        }
        if (pHeight != nullptr && DoubleToFloat(crt::atof(pHeight->c_str())) > 0.0f) {
            m_fChartHeightMm = DoubleToFloat(crt::atof(pHeight->c_str()));
        }
    } else {
        Add(0, 1, 1, Severity::kWarning, "no-size",
            "no 'vitalsize' element begins a line: the size query finds none, and the host uses its default "
            "size of " +
                FormatNumber(GetPluginWidth()) + " by " + FormatNumber(GetPluginHeight()) + " mm");
    }

    // Declarations first, so that a drawing element can be told of a pen
    // declared after it; closing tags are told already and have no attributes.
    for (std::size_t i = 0; i < m_elements.size(); ++i) {
        const TagSeen& tag = m_elements[i];
        if (tag.bClosing) continue;
        if (tag.nCode == kElementPen) CheckDeclaration(tag, i, m_pens, "pen");
        if (tag.nCode == kElementFont) CheckDeclaration(tag, i, m_fonts, "font");
        if (tag.nCode == kElementSize) CheckSize(tag, i, pSizeTag, nSizeOrder);
    }
    for (std::size_t i = 0; i < m_elements.size(); ++i) {
        const TagSeen& tag = m_elements[i];
        if (tag.bClosing || tag.nCode == kElementPen || tag.nCode == kElementFont || tag.nCode == kElementSize) {
            continue;
        }
        CheckDrawing(tag, i);
    }
    ComputeRuling();
}

void CCheckRun::CheckDeclaration(const TagSeen& tag, std::size_t nOrder, Declarations& rDeclared, const char* pszWhat) {
    Declaration declaration;
    declaration.nLine = tag.nLine;
    declaration.nOrder = nOrder;
    if (const std::string* pId = tag.Find("id")) {
        declaration.strId = *pId;
        declaration.bHasId = true;
    }
    const std::string strElement = ElementName(tag.nCode);
    std::vector<std::string> missing;
    for (const AttributeSpec& attr : CTemplateChecker::GetAttributes(tag.nCode)) {
        if (attr.need == N::kDeclares && tag.Find(attr.pszName) == nullptr) missing.push_back(attr.pszName);
    }
    if (!missing.empty()) {
        declaration.strMissing = ListNames(missing);
        Warn(tag, tag.nColumn, "missing-required",
             "'" + strElement + "' without " + declaration.strMissing + " is rejected: " +
                 (declaration.bHasId ? std::string(pszWhat) + " " + Show(m_nCodePage, declaration.strId) + " is"
                                     : std::string("no ") + pszWhat + " is") +
                 " not declared");
        if (declaration.bHasId) {
            rDeclared.byKey[FoldKey(m_nCodePage, declaration.strId)].push_back(rDeclared.entries.size());
        }
        rDeclared.entries.push_back(declaration);
        return;
    }
    declaration.bAccepted = true;
    std::vector<std::size_t>& sameKey = rDeclared.byKey[FoldKey(m_nCodePage, declaration.strId)];
    for (std::size_t nIndex : sameKey) {
        const Declaration& earlier = rDeclared.entries[nIndex];
        if (!earlier.bAccepted || !EqualsNoCase(m_nCodePage, earlier.strId, declaration.strId)) continue;
        if (earlier.strId == declaration.strId) {
            Warn(tag, tag.ValueColumn("id"), "duplicate-id",
                 std::string(pszWhat) + " id " + Show(m_nCodePage, declaration.strId) +
                     " is already declared on line " + std::to_string(earlier.nLine) +
                     ": the first one wins, and this " + pszWhat + " is never selected");
        } else {
            Warn(tag, tag.ValueColumn("id"), "duplicate-id",
                 std::string(pszWhat) + " id " + Show(m_nCodePage, declaration.strId) + " differs from " +
                     Show(m_nCodePage, earlier.strId) + " (line " + std::to_string(earlier.nLine) +
                     ") only in letter case: ids are compared without case, so the first one is always selected");
        }
        break;
    }
    for (const AttributeSpec& attr : CTemplateChecker::GetAttributes(tag.nCode)) {
        if (const std::string* pValue = tag.Find(attr.pszName)) CheckValue(tag, attr, *pValue);
    }
    if (tag.nCode == kElementPen && !m_bPrintColorCleared) {
        const std::string* pColor = tag.Find("color");
        declaration.bColoredInPrint = pColor != nullptr && ParseColorTriple(*pColor).ToColorRef() != RGB(0, 0, 0);
    }
    sameKey.push_back(rDeclared.entries.size());
    rDeclared.entries.push_back(declaration);
}

void CCheckRun::CheckSize(const TagSeen& tag, std::size_t nOrder, const TagSeen* pSizeTag, std::size_t nSizeOrder) {
    for (const AttributeSpec& attr : kSizeAttributes) {
        if (const std::string* pValue = tag.Find(attr.pszName)) CheckValue(tag, attr, *pValue);
    }
    const bool bGivesSize = tag.Find("width") != nullptr || tag.Find("height") != nullptr;
    if (&tag == pSizeTag) {
        for (const char* pszName : {"width", "height"}) {
            if (tag.Find(pszName) == nullptr) {
                Warn(tag, tag.nColumn, "missing-size",
                     std::string("'vitalsize' without '") + pszName + "': the size query reads a " + pszName + " of 0");
            }
        }
    } else if (pSizeTag == nullptr || nOrder < nSizeOrder) {
        if (bGivesSize) {
            Warn(tag, tag.nColumn, "size-not-first",
                 "the size query reads only the first tag of each line: this 'vitalsize' declares no size");
        }
    } else if (bGivesSize) {
        Warn(tag, tag.nColumn, "repeated-size",
             "only the first 'vitalsize' (line " + std::to_string(pSizeTag->nLine) +
                 ") counts for the size: this width and height are not read");
    }

    const std::string* pPrintColor = tag.Find("print-color");
    if (pPrintColor == nullptr || !EqualsNoCase(m_nCodePage, *pPrintColor, "false") || m_bPrintColorCleared) return;
    m_bPrintColorCleared = true;
    std::vector<std::string> colored;
    std::int32_t nFirstLine = 0;
    for (const Declaration& pen : m_pens.entries) {
        if (!pen.bAccepted || !pen.bColoredInPrint) continue;
        if (colored.empty()) nFirstLine = pen.nLine;
        colored.push_back(pen.strId);
    }
    if (colored.empty()) return;
    const std::size_t nMore = colored.size() - 1;
    Warn(tag, tag.ValueColumn("print-color"), "print-color-late",
         "print colour is turned off after the pen " + Show(m_nCodePage, colored.front()) + " (line " +
             std::to_string(nFirstLine) + ")" +
             (nMore > 0 ? " and " + Plural(nMore, "more pen", "more pens") : std::string()) +
             ": a pen takes its colour when it is declared, so in print they keep their colour; put 'vitalsize' "
             "before the pens");
}

void CCheckRun::CheckDrawing(const TagSeen& tag, std::size_t nOrder) {
    const std::vector<AttributeSpec>& specs = CTemplateChecker::GetAttributes(tag.nCode);
    const std::string strElement = ElementName(tag.nCode);
    std::vector<std::string> missing;
    std::vector<std::string> coordinates;
    for (const AttributeSpec& attr : specs) {
        if (tag.Find(attr.pszName) != nullptr) continue;
        if (attr.need == N::kDraws) missing.push_back(attr.pszName);
        if (attr.need == N::kCoordinate) coordinates.push_back(attr.pszName);
    }
    if (!missing.empty()) {
        Warn(tag, tag.nColumn, "draws-nothing",
             "'" + strElement + "' without " + ListNames(missing) + " draws nothing");
        return;
    }
    if (!coordinates.empty()) {
        Warn(tag, tag.nColumn, "missing-coordinate",
             "'" + strElement + "' without " + ListNames(coordinates) + ": the renderer reads " +
                 (coordinates.size() == 1 ? "it" : "them") + " as 0");
    }
    for (const AttributeSpec& attr : specs) {
        if (const std::string* pValue = tag.Find(attr.pszName)) CheckValue(tag, attr, *pValue);
    }
    CheckReference(tag, nOrder, "pen-id", m_pens, "pen");
    CheckReference(tag, nOrder, "font-id", m_fonts, "font");

    if (const std::string* pTimes = tag.Find("times")) {
        const int nTimes = crt::atoi(pTimes->c_str());
        if (tag.nCode == kElementLine && nTimes == 1) {
            Warn(tag, tag.ValueColumn("times"), "times-one",
                 "'times' of 1 draws nothing: a family of one cell has no inner lines (leave 'times' out for a "
                 "single line)");
        }
        const int nDrawn = tag.nCode == kElementLine ? nTimes - (nTimes > INT_MIN ? 1 : 0) : nTimes;
        if (nDrawn > kMaxRepeat) {
            Warn(tag, tag.ValueColumn("times"), "repeat-bound",
                 "'times' of " + std::to_string(nTimes) + " is above the bound: the renderer draws only the first " +
                     std::to_string(kMaxRepeat) + (tag.nCode == kElementLine ? " lines" : " captions"));
        }
    }
    if (tag.nCode == kElementLineOut || tag.nCode == kElementLineBlock) {
        const std::string* pScale = tag.Find("scale");
        const float fScale = DoubleToFloat(crt::atof(pScale->c_str()));
        if (fScale == 0.0f && ClassifyNumber(*pScale, true) != NumberForm::kNone) {
            Warn(tag, tag.ValueColumn("scale"), "zero-scale",
                 "a 'scale' of 0 places no value: the element draws nothing");
        }
    }
}

void CCheckRun::CheckNumber(const TagSeen& tag, const char* pszName, const std::string& strValue, bool bDecimal,
                            const std::string& strWhenZero) {
    const NumberForm form = ClassifyNumber(strValue, bDecimal);
    const std::int32_t nColumn = tag.ValueColumn(pszName);
    const std::string strRead =
        bDecimal ? FormatNumber(crt::atof(strValue.c_str())) : std::to_string(crt::atoi(strValue.c_str()));
    switch (form) {
        case NumberForm::kWhole:
            return;
        case NumberForm::kLeading:
            Note(tag, nColumn, "number",
                 Show(m_nCodePage, strValue) + " in '" + pszName + "' is read as " + strRead +
                     (bDecimal ? "" : " (a whole number)") + "; the rest is ignored");
            return;
        case NumberForm::kNone:
            Warn(tag, nColumn, "number",
                 Show(m_nCodePage, strValue) + " in '" + pszName + "' is not a number: the " + Reader(tag.nSource) +
                     " reads 0" + strWhenZero);
            return;
        case NumberForm::kNotFinite:
            Warn(tag, nColumn, "number", Show(m_nCodePage, strValue) + " in '" + pszName + "' is not a finite number");
            return;
    }
}

void CCheckRun::CheckValue(const TagSeen& tag, const AttributeSpec& attr, const std::string& strValue) {
    if (tag.IsGarbled(attr.pszName)) return;  // what the scanner made of it is told already
    const std::int32_t nColumn = tag.ValueColumn(attr.pszName);
    switch (attr.reading) {
        case A::kText:
        case A::kPenId:
        case A::kFontId:
            return;
        case A::kPositionX:
        case A::kPositionY:
        case A::kLengthX:
        case A::kLengthY: {
            const bool bLength = attr.reading == A::kLengthX || attr.reading == A::kLengthY;
            if (IsEdgeKeyword(m_nCodePage, strValue)) {
                if (bLength) {
                    Warn(tag, nColumn, "relative-length",
                         "'" + std::string(attr.pszName) + "' is a length, but " + Show(m_nCodePage, strValue) +
                             " is an edge of the chart, not a length");
                }
                return;
            }
            if (!strValue.empty() && strValue[0] == '+') {
                if (bLength) {
                    Warn(tag, nColumn, "relative-length",
                         "'" + std::string(attr.pszName) + "' is a length, but " + Show(m_nCodePage, strValue) +
                             " is a position from the chart's edge: the edge's coordinate is added to it");
                }
                if (strValue.size() == 1) return;  // the edge itself
                CheckNumber(tag, attr.pszName, strValue.substr(1), true, std::string());
                return;
            }
            CheckNumber(tag, attr.pszName, strValue, true, std::string());
            return;
        }
        case A::kInteger:
            CheckNumber(tag, attr.pszName, strValue, false, std::string());
            return;
        case A::kDecimal:
            CheckNumber(tag, attr.pszName, strValue, true,
                        std::string(attr.pszName) == "scale" ? ", and a scale of 0 draws nothing" : "");
            return;
        case A::kSymbol: {
            CheckNumber(tag, attr.pszName, strValue, false, std::string());
            const int nKind = crt::atoi(strValue.c_str());
            const bool bPlain = std::string(attr.pszName) == "symbol";
            if (nKind >= 1 && nKind <= 8) return;
            if (!bPlain && nKind < 0) return;  // a negative special kind falls back to "symbol"
            const std::string strWho = bPlain ? "the readings"
                                              : std::string("the readings flagged ") +
                                                    (std::string(attr.pszName) == "special-symbol" ? "1" : "2");
            if (nKind == 0) {
                Note(tag, nColumn, "symbol-kind",
                     "symbol kind 0 draws no marker: " + strWho + " get none, only the joining lines");
            } else {
                Warn(tag, nColumn, "symbol-kind",
                     "symbol kind " + std::to_string(nKind) + " is not a marker (kinds are 1 to 8): " + strWho +
                         " get none, only the joining lines");
            }
            return;
        }
        case A::kWord: {
            const std::vector<std::string> words = SplitWords(attr.pszWords);
            const std::vector<std::string> defaults = SplitWords(attr.pszDefaultWords);
            for (const std::vector<std::string>* pList : {&words, &defaults}) {
                for (const std::string& strWord : *pList) {
                    if (EqualsNoCase(m_nCodePage, strValue, strWord)) return;
                }
            }
            std::vector<std::string> all = words;
            all.insert(all.end(), defaults.begin(), defaults.end());
            Warn(tag, nColumn, "unknown-word",
                 Show(m_nCodePage, strValue) + " in '" + attr.pszName + "' is none of " + ListNames(all, " or ") +
                     DidYouMean(CTemplateChecker::SuggestName(m_nCodePage, strValue, all)) + ": the " +
                     Reader(tag.nSource) + " treats it as absent");
            return;
        }
        case A::kColor: {
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
            Warn(tag, nColumn, "color",
                 "colour " + Show(m_nCodePage, strValue) + " has fewer than three figures r,g,b: " + strEffect);
            return;
        }
    }
}

void CCheckRun::CheckReference(const TagSeen& tag, std::size_t nOrder, const char* pszAttribute,
                               const Declarations& declared, const char* pszWhat) {
    const std::string* pId = tag.Find(pszAttribute);
    if (pId == nullptr) return;
    const std::int32_t nColumn = tag.ValueColumn(pszAttribute);
    const std::string strKeep = std::string(": the element ") + (std::string(pszWhat) == "pen" ? "draws" : "writes") +
                                " with the " + pszWhat + " already selected";
    const Declaration* pLater = nullptr;
    const Declaration* pRejected = nullptr;
    const auto found = declared.byKey.find(FoldKey(m_nCodePage, *pId));
    if (found != declared.byKey.end()) {
        for (std::size_t nIndex : found->second) {
            const Declaration& entry = declared.entries[nIndex];
            if (!EqualsNoCase(m_nCodePage, entry.strId, *pId)) continue;
            if (entry.bAccepted && entry.nOrder < nOrder) return;
            if (entry.bAccepted && pLater == nullptr) pLater = &entry;
            if (!entry.bAccepted && entry.nOrder < nOrder && pRejected == nullptr) pRejected = &entry;
        }
    }
    // (SuggestName gives up on long lists anyway; do not gather one per unknown id.)
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < declared.entries.size() && declared.entries.size() <= 256; ++i) {
        const Declaration& entry = declared.entries[i];
        if (entry.bAccepted && entry.nOrder < nOrder) ids.push_back(entry.strId);
    }
    if (pRejected != nullptr) {
        Warn(tag, nColumn, std::string(pszWhat) == "pen" ? "unknown-pen" : "unknown-font",
             std::string(pszWhat) + " " + Show(m_nCodePage, *pId) + " was rejected on line " +
                 std::to_string(pRejected->nLine) + " (no " + pRejected->strMissing + ")" + strKeep);
    } else if (pLater != nullptr) {
        Warn(tag, nColumn, std::string(pszWhat) == "pen" ? "unknown-pen" : "unknown-font",
             std::string(pszWhat) + " " + Show(m_nCodePage, *pId) + " is declared only later, on line " +
                 std::to_string(pLater->nLine) + strKeep);
    } else {
        Warn(tag, nColumn, std::string(pszWhat) == "pen" ? "unknown-pen" : "unknown-font",
             "'" + std::string(pszAttribute) + "' names no " + pszWhat + " " + Show(m_nCodePage, *pId) +
                 DidYouMean(CTemplateChecker::SuggestName(m_nCodePage, *pId, ids)) + strKeep);
    }
}

double CCheckRun::PositionMm(const std::string* pValue) const {
    if (pValue == nullptr) return 0.0;
    const std::string& s = *pValue;
    // The chart's own rectangle is the frame of reference: its left and top are 0.
    if (EqualsNoCase(m_nCodePage, s, "left") || EqualsNoCase(m_nCodePage, s, "top")) return 0.0;
    if (EqualsNoCase(m_nCodePage, s, "right")) return m_fChartWidthMm;
    if (EqualsNoCase(m_nCodePage, s, "bottom")) return m_fChartHeightMm;
    return DoubleToFloat(crt::atof(s.c_str() + (!s.empty() && s[0] == '+' ? 1 : 0)));
}

void CCheckRun::ComputeRuling() {
    bool bAny = false;
    double fLow = 0.0;
    double fHigh = 0.0;
    auto take = [&](double x) {
        if (!std::isfinite(x)) return;
        fLow = bAny ? std::min(fLow, x) : x;
        fHigh = bAny ? std::max(fHigh, x) : x;
        bAny = true;
    };
    for (const TagSeen& tag : m_elements) {
        if (tag.nCode != kElementLine || tag.bClosing) continue;
        const double fLeft = PositionMm(tag.Find("left"));
        const double fRight = PositionMm(tag.Find("right"));
        const std::string* pTimes = tag.Find("times");
        const std::string* pMultiple = tag.Find("multiple");
        const std::string* pDirection = tag.Find("direction");
        const int nTimes = pTimes == nullptr ? 0 : crt::atoi(pTimes->c_str());
        const int nMultiple = pMultiple == nullptr ? 1 : crt::atoi(pMultiple->c_str());
        if (nTimes == 1) continue;
        if (nTimes <= 0 || (pDirection != nullptr && EqualsNoCase(m_nCodePage, *pDirection, "y"))) {
            take(fLeft);
            take(fRight);
            continue;
        }
        const int nLines = std::min(nTimes - 1, kMaxRepeat);
        take(fLeft);
        take(fLeft + static_cast<double>(nLines) * fRight * nMultiple);
    }
    if (!bAny) {
        fLow = 0.0;
        fHigh = m_fChartWidthMm;
    }
    m_fRulingLeftMm = fLow;
    m_fRulingRightMm = fHigh;
}

void CCheckRun::CheckColumns(const TagSeen& reading, const std::string& strName,
                             const std::vector<const TagSeen*>& drawers) {
    const std::string* pCell = reading.Find("cellindex");
    const std::string* pOriginal = reading.Find("originalCellIndex");
    const int nCell = pCell == nullptr ? 0 : crt::atoi(pCell->c_str());
    const int nOriginal = pOriginal == nullptr ? -1 : crt::atoi(pOriginal->c_str());
    for (const TagSeen* pDrawer : drawers) {
        const std::string* pCx = pDrawer->Find("cx");
        if (pCx == nullptr) continue;
        const double fX = PositionMm(pDrawer->Find("x"));
        const double fCx = PositionMm(pCx);
        if (fCx == 0.0 || !std::isfinite(fX) || !std::isfinite(fCx)) continue;
        const bool bCell = pDrawer->nCode == kElementTextOut;
        std::vector<std::pair<int, const char*>> columns = {{nCell, "cellindex"}};
        if (pDrawer->nCode == kElementLineBlock && nOriginal >= 0) columns.emplace_back(nOriginal, "originalCellIndex");
        for (const auto& column : columns) {
            double fFrom = fX + column.first * fCx;
            double fTo = bCell ? fFrom + fCx : fFrom;
            if (fFrom > fTo) std::swap(fFrom, fTo);
            if (column.first >= 0 && fFrom >= m_fRulingLeftMm - kEdgeSlackMm &&
                fTo <= m_fRulingRightMm + kEdgeSlackMm) {
                continue;
            }
            const std::string strWhere = column.first < 0 ? "a column before the first"
                                         : bCell          ? "a cell from " + FormatMm(fFrom) + " to " + FormatMm(fTo)
                                                          : "x = " + FormatMm(fFrom);
            Warn(reading, reading.ValueColumn(column.second), "column-range",
                 std::string(column.second) + " " + std::to_string(column.first) + " of " + Show(m_nCodePage, strName) +
                     " lies outside the chart's ruling (" + FormatMm(m_fRulingLeftMm) + " to " +
                     FormatMm(m_fRulingRightMm) + "): the '" + ElementName(pDrawer->nCode) + "' on line " +
                     std::to_string(pDrawer->nLine) + " puts it at " + strWhere);
            return;
        }
    }
}

void CCheckRun::CheckReadingValue(const TagSeen& reading, const std::string& strName,
                                  const std::vector<const TagSeen*>& drawers) {
    bool bCurve = false;
    bool bBlock = false;
    for (const TagSeen* pDrawer : drawers) {
        bCurve = bCurve || pDrawer->nCode == kElementLineOut;
        bBlock = bBlock || pDrawer->nCode == kElementLineBlock;
    }
    if (!bCurve && !bBlock) return;
    const std::string* pValue = reading.Find("vitalsignsvalues");
    const std::string* pOriginalIndex = reading.Find("originalCellIndex");
    const bool bMarked = pOriginalIndex == nullptr || crt::atoi(pOriginalIndex->c_str()) < 0;
    if (pValue == nullptr || pValue->empty()) {
        // An empty value breaks a curve on purpose; a block's marker plots it at 0.
        if (bBlock && bMarked) {
            Warn(reading, reading.ValueColumn("vitalsignsvalues"), "number",
                 "the reading of " + Show(m_nCodePage, strName) +
                     " has no value: 'vitallineblock' marks it at the value 0");
        }
        return;
    }
    const std::string strPlot = " in 'vitalsignsvalues'";
    const NumberForm form = ClassifyNumber(*pValue, true);
    if (form == NumberForm::kNone) {
        Warn(reading, reading.ValueColumn("vitalsignsvalues"), "number",
             Show(m_nCodePage, *pValue) + strPlot + " is not a number: the curve plots it at 0");
    } else if (form == NumberForm::kLeading) {
        Note(reading, reading.ValueColumn("vitalsignsvalues"), "number",
             Show(m_nCodePage, *pValue) + strPlot + " is plotted at " + FormatNumber(crt::atof(pValue->c_str())) +
                 "; the rest is ignored");
    } else if (form == NumberForm::kNotFinite) {
        Warn(reading, reading.ValueColumn("vitalsignsvalues"), "number",
             Show(m_nCodePage, *pValue) + strPlot + " is not a finite number");
    }
}

void CCheckRun::CheckReadings(std::size_t nDataTexts) {
    for (const TagSeen& reading : m_readings) {
        for (const AttributeSeen& seen : reading.attributes) {
            const AttributeSpec* pSpec = FindSpec(kDataReading, seen.strName);
            const std::string* pValue = reading.Find(seen.strName.c_str());
            if (pSpec != nullptr && pValue != nullptr && seen.nValueColumn == reading.ValueColumn(pSpec->pszName)) {
                CheckValue(reading, *pSpec, *pValue);
            }
        }
    }
    if (nDataTexts == 0) return;

    std::vector<const TagSeen*> drawers;
    for (const TagSeen& tag : m_elements) {
        const bool bDrawsReadings =
            tag.nCode == kElementLineOut || tag.nCode == kElementLineBlock || tag.nCode == kElementTextOut;
        if (bDrawsReadings && !tag.bClosing && tag.Find("name") != nullptr) drawers.push_back(&tag);
    }
    std::vector<std::string> drawnNames;
    for (const TagSeen* pDrawer : drawers) drawnNames.push_back(*pDrawer->Find("name"));

    // Readings that no element draws, one finding per name at its first reading.
    struct Unused {
        std::string strName;
        const TagSeen* pFirst;
        std::size_t nCount;
    };
    std::vector<Unused> unused;
    std::unordered_map<std::string, std::size_t> unusedByKey;
    std::vector<bool> drawerUsed(drawers.size(), false);
    std::unordered_map<std::string, std::vector<std::size_t>> drawersByKey;
    for (std::size_t i = 0; i < drawers.size(); ++i) drawersByKey[FoldKey(m_nCodePage, drawnNames[i])].push_back(i);
    for (const TagSeen& reading : m_readings) {
        if (reading.bClosing) continue;  // told already: a reading with no name
        const std::string* pName = reading.Find("vitalsigns");
        const std::string strName = pName == nullptr ? std::string() : *pName;
        const std::string strKey = FoldKey(m_nCodePage, strName);
        std::vector<const TagSeen*> matching;
        const auto found = drawersByKey.find(strKey);
        if (found != drawersByKey.end()) {
            for (std::size_t i : found->second) {
                if (!EqualsNoCase(m_nCodePage, drawnNames[i], strName)) continue;
                matching.push_back(drawers[i]);
                drawerUsed[i] = true;
            }
        }
        if (matching.empty()) {
            const auto it = unusedByKey.find(strKey);
            if (it == unusedByKey.end()) {
                unusedByKey.emplace(strKey, unused.size());
                unused.push_back({strName, &reading, 1});
            } else {
                ++unused[it->second].nCount;
            }
            continue;
        }
        CheckReadingValue(reading, strName, matching);
        CheckColumns(reading, strName, matching);
    }
    for (const Unused& u : unused) {
        const std::string strCount = u.nCount > 1 ? " (" + Plural(u.nCount, "reading", "readings") + ")" : "";
        Warn(*u.pFirst, u.pFirst->ValueColumn("vitalsigns"), "unused-reading",
             (u.pFirst->Find("vitalsigns") == nullptr
                  ? std::string("a reading without 'vitalsigns'")
                  : "no element of the template draws the vital sign " + Show(m_nCodePage, u.strName)) +
                 strCount + DidYouMean(CTemplateChecker::SuggestName(m_nCodePage, u.strName, drawnNames)));
    }
    for (std::size_t i = 0; i < drawers.size(); ++i) {
        if (drawerUsed[i]) continue;
        const TagSeen& tag = *drawers[i];
        Note(tag, tag.ValueColumn("name"), "no-readings",
             "no reading of the data names " + Show(m_nCodePage, *tag.Find("name")) + ": this '" +
                 ElementName(tag.nCode) + "' draws nothing");
    }
}

}  // namespace

CTemplateChecker::CTemplateChecker(UINT nCodePage) : m_nCodePage(nCodePage) {}

CTemplateChecker::~CTemplateChecker() = default;

std::vector<Finding> CTemplateChecker::Check(const std::string& strTemplate,
                                             const std::vector<std::string>& dataTexts) const {
    std::vector<Finding> findings;
    CCheckRun run(m_nCodePage, findings);
    run.WalkText(0, strTemplate);
    run.CheckElements();
    for (std::size_t i = 0; i < dataTexts.size(); ++i) run.WalkText(static_cast<int>(i) + 1, dataTexts[i]);
    run.CheckReadings(dataTexts.size());
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.nSource != b.nSource) return a.nSource < b.nSource;
        if (a.nLine != b.nLine) return a.nLine < b.nLine;
        return a.nColumn < b.nColumn;
    });
    return findings;
}

const std::vector<AttributeSpec>& CTemplateChecker::GetAttributes(int nCode) {
    switch (nCode) {
        case kElementSize:
            return kSizeAttributes;
        case kElementPen:
            return kPenAttributes;
        case kElementFont:
            return kFontAttributes;
        case kElementLine:
            return kLineAttributes;
        case kElementText:
            return kTextAttributes;
        case kElementLineOut:
            return kLineOutAttributes;
        case kElementLineBlock:
            return kLineBlockAttributes;
        case kElementTextOut:
            return kTextOutAttributes;
        case kDataReading:
            return kReadingAttributes;
        case kDataPrint:
            return kPrintAttributes;
        default:
            return kNoAttributes;
    }
}

std::string CTemplateChecker::SuggestName(UINT nCodePage, const std::string& strName,
                                          const std::vector<std::string>& candidates) {
    // Names this long are not slips of a name, and among this many names a
    // close one is likely by chance; comparing costs more than it tells.
    constexpr std::size_t kLongest = 64;
    constexpr std::size_t kMostCandidates = 256;
    const std::vector<std::string> name = FoldedChars(nCodePage, strName);
    if (name.empty() || name.size() > kLongest || candidates.size() > kMostCandidates) return std::string();
    for (const auto& slip : kKnownSlips) {
        if (FoldedChars(nCodePage, slip.first) == name &&
            std::find(candidates.begin(), candidates.end(), slip.second) != candidates.end()) {
            return slip.second;
        }
    }
    std::string strBest;
    std::size_t nBest = 3;
    for (const std::string& strCandidate : candidates) {
        if (strCandidate == strName) continue;
        const std::vector<std::string> candidate = FoldedChars(nCodePage, strCandidate);
        if (candidate.empty() || candidate.size() > kLongest) continue;
        const std::size_t nDistance = EditDistance(name, candidate);
        // One slip in three characters at most: "x" is no slip of "cx".
        if (nDistance > 0 && 3 * nDistance > std::max(name.size(), candidate.size())) continue;
        if (nDistance < nBest) {
            nBest = nDistance;
            strBest = strCandidate;
        }
    }
    return strBest;
}

}  // namespace cli
}  // namespace vitalchart
