#pragma once

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>

#include "markup/byte_buffer.h"

namespace vitalchart {

// The line walk: cuts a text into lines at line feeds, drops one trailing
// carriage return per line, skips empty lines and runs a per-tag step over
// each line while the position is below the line's length. The step gets the
// line as a view into the text (not terminated: it reads only the nLength
// bytes), the line's 1-based number (empty lines count) and the position,
// which it leaves past the tag it handled, or sets to the length to give up
// the rest of the line; it returns false to end the whole walk. A step that
// does not advance is made to give up the line, so no step can hold the walk
// still. The walk begins at byte nStart (past a byte-order mark, say).
template <typename Step>
void WalkTextLinesNumbered(const char* pText, std::int32_t nTextLength, Step&& fnStep, std::int32_t nStart = 0) {
    if (pText == nullptr || nTextLength <= 0) return;
    std::int32_t i = nStart < 0 ? 0 : nStart;
    std::int32_t nLineNumber = 0;
    while (i < nTextLength) {
        // (Saturating: a text of nothing but line feeds has one line more than it has bytes.)
        if (nLineNumber < INT32_MAX) ++nLineNumber;
        const void* pFeed = std::memchr(pText + i, '\n', static_cast<std::size_t>(nTextLength - i));
        const std::int32_t e =
            pFeed == nullptr ? nTextLength : static_cast<std::int32_t>(static_cast<const char*>(pFeed) - pText);
        std::int32_t nLength = e - i;
        if (nLength > 0 && pText[i + nLength - 1] == '\r') --nLength;
        std::int32_t nPos = 0;
        while (nPos < nLength) {
            const std::int32_t nBefore = nPos;
            if (!fnStep(nLineNumber, pText + i, nLength, nPos)) return;
            if (nPos <= nBefore) nPos = nLength;
        }
        i = e + 1;
    }
}

// The same without line numbers.
template <typename Step>
void WalkTextLines(const char* pText, std::int32_t nTextLength, Step&& fnStep, std::int32_t nStart = 0) {
    WalkTextLinesNumbered(
        pText, nTextLength,
        [&fnStep](std::int32_t, const char* pLine, std::int32_t nLength, std::int32_t& nPos) {
            return fnStep(pLine, nLength, nPos);
        },
        nStart);
}

// The per-tag step of WalkLines.
using TagStep = std::function<bool(const char* pszLine, std::int32_t nLength, std::int32_t& nPos)>;

// The line walk over the content of a byte buffer.
void WalkLines(const CByteBuffer& buffer, const TagStep& step, std::int32_t nStart = 0);

// The per-tag step of a numbered walk: a TagStep that is also given the
// 1-based number of the line in the buffer (empty lines count).
using NumberedTagStep =
    std::function<bool(std::int32_t nLineNumber, const char* pszLine, std::int32_t nLength, std::int32_t& nPos)>;

// WalkLines for tools that report where things are.
void WalkLinesNumbered(const CByteBuffer& buffer, const NumberedTagStep& step);

}  // namespace vitalchart
