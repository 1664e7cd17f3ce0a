#include "markup/tag_scanner.h"

#include <cstring>

namespace vitalchart {

namespace {

// Every scan below stops at the line's end, index nLength, whatever byte would
// otherwise end it: the scanner never looks at pszLine[nLength] or beyond. A
// zero byte before nLength is an ordinary byte.

bool IsOneOf(char c, const char* pszSet) {
    return c != '\0' && std::strchr(pszSet, c) != nullptr;
}

// Collects a name from i up to a byte of pszStop or the line's end, keeping at
// most kMaxNameLength bytes; the bytes beyond are passed over as part of the
// name. i is left on the byte that ended the name, or at nLength.
std::string ReadName(const char* pszLine, std::int32_t nLength, std::int32_t& i, const char* pszStop,
                     CScanNotes* pNotes = nullptr) {
    const std::int32_t nStart = i;
    while (i < nLength && !IsOneOf(pszLine[i], pszStop)) ++i;
    const std::int32_t nKept = i - nStart < kMaxNameLength ? i - nStart : kMaxNameLength;
    if (pNotes != nullptr && nKept < i - nStart) pNotes->events.push_back({ScanEvent::kNameCut, nStart, i, {}});
    return std::string(pszLine + nStart, static_cast<std::size_t>(nKept));
}

void Note(CScanNotes* pNotes, ScanEvent::Kind kind, std::int32_t nPos, std::int32_t nEnd, const std::string& strName) {
    if (pNotes != nullptr) pNotes->events.push_back({kind, nPos, nEnd, strName});
}

// Collects a value from i up to a double quote, a semicolon or the line's end,
// with no length limit. i is left on the ending byte, or at nLength.
std::string ReadValue(const char* pszLine, std::int32_t nLength, std::int32_t& i) {
    const std::int32_t nStart = i;
    while (i < nLength && pszLine[i] != '"' && pszLine[i] != ';') ++i;
    return std::string(pszLine + nStart, static_cast<std::size_t>(i - nStart));
}

// Keeps a position in the range a caller can pass: 0 to the length.
void Settle(std::int32_t& nLength, std::int32_t& nPos) {
    if (nLength < 0) nLength = 0;
    if (nPos < 0) nPos = 0;
}

}  // namespace

std::string ReadTagName(const char* pszLine, std::int32_t nLength, std::int32_t& nPos, CScanNotes* pNotes) {
    Settle(nLength, nPos);
    if (pszLine == nullptr || nPos >= nLength) {
        nPos = nLength;
        return std::string();
    }
    std::int32_t i = nPos + 1;  // the opening bracket, not examined
    if (i < nLength && pszLine[i] == '/') ++i;
    std::string strName = ReadName(pszLine, nLength, i, " >", pNotes);
    nPos = i;
    return strName;
}

void ParseAttributes(const char* pszLine, std::int32_t nLength, CMapStringToString& mapAttributes,
                     CMapStringToString& mapStyles, std::int32_t& nPos, CScanNotes* pNotes) {
    Settle(nLength, nPos);
    if (pszLine == nullptr || nPos >= nLength) {
        nPos = nLength;
        if (pszLine != nullptr) Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, {});
        return;
    }
    if (pszLine[nPos] == '>') {
        nPos += 1;
        return;
    }
    std::int32_t i = nPos + 1;
    for (;;) {
        // An attribute name. Cut off by the line's end, it is dropped.
        const std::int32_t nNameStart = i;
        const std::string strName = ReadName(pszLine, nLength, i, " >=/", pNotes);
        if (i >= nLength) {
            Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, strName);
            break;
        }
        const char cEnd = pszLine[i];
        if (cEnd == '>') {
            nPos = i + 1;
            return;
        }
        if (cEnd == '/') {
            // Past the slash and the bracket expected after it, but not past the line.
            nPos = i + 2 < nLength ? i + 2 : nLength;
            return;
        }
        if (strName.empty()) {
            ++i;
            continue;
        }
        if (cEnd == '=') {
            // Past the equals sign and the opening quote (not examined).
            if (pNotes != nullptr && i + 1 < nLength && pszLine[i + 1] != '"') {
                Note(pNotes, ScanEvent::kUnquoted, i + 1, i + 2, strName);
            }
            i = i + 2 < nLength ? i + 2 : nLength;
        }
        if (strName == "props") {
            // The pairs of props: key:value up to a value that ends at a double quote.
            bool bDone = false;
            while (!bDone) {
                const std::string strKey = ReadName(pszLine, nLength, i, ": ");
                if (i >= nLength) break;  // a key left open: dropped
                ++i;
                if (strKey.empty()) continue;
                // A value cut off by the line's end is incomplete: dropped.
                std::string strValue = ReadValue(pszLine, nLength, i);
                if (i >= nLength) break;
                mapStyles.SetAt(strKey, strValue);
                bDone = pszLine[i] == '"';
                ++i;
            }
            if (!bDone) {
                Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, strName);
                break;
            }
            continue;
        }
        // A plain value. One that the line's end cuts off is
        // incomplete and dropped: a reading of 37.5 that a host's length cuts
        // to 3 must not be plotted at 3.
        const std::int32_t nValueStart = i;
        std::string strValue = ReadValue(pszLine, nLength, i);
        if (i < nLength) mapAttributes.SetAt(strName, strValue);
        Note(pNotes, ScanEvent::kAttribute, nNameStart, nValueStart, strName);
        if (i >= nLength) {
            Note(pNotes, ScanEvent::kLineEnd, nLength, nLength, strName);
            break;
        }
        if (pszLine[i] == ';') Note(pNotes, ScanEvent::kSemicolon, i, i + 1, strName);
        ++i;
    }
    nPos = nLength;
}

}  // namespace vitalchart
