#include "markup/line_walk.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace vitalchart {

namespace {

// The walk itself; fnStep gets the line number as well, which the plain walk
// ignores.
template <typename Step>
void WalkNumbered(const CByteBuffer& buffer, const Step& fnStep, std::int32_t nStart = 0) {
    const std::int32_t nBufferLength = buffer.GetLength();
    std::int32_t i = nStart < 0 ? 0 : nStart;
    std::int32_t nLineNumber = 0;
    for (;;) {
        // (Saturating: a buffer of nothing but line feeds has one line more than it has bytes.)
        if (nLineNumber < INT32_MAX) ++nLineNumber;
        const std::int32_t e = buffer.FindLineEnd(i);
        if (e < 0) return;
        if (e == i) {  // a line feed alone: an empty line
            ++i;
            continue;
        }
        std::int32_t nLength = e - i;
        // A fresh copy of exactly the line and its terminating zero.
        std::unique_ptr<char[]> line(new char[static_cast<std::size_t>(nLength) + 1]);
        std::memcpy(line.get(), buffer.GetPtr(i), static_cast<std::size_t>(nLength));
        line[static_cast<std::size_t>(nLength)] = '\0';
        if (line[static_cast<std::size_t>(nLength) - 1] == '\r') {
            --nLength;
            line[static_cast<std::size_t>(nLength)] = '\0';
        }
        std::int32_t nPos = 0;
        while (nPos < nLength) {
            const std::int32_t nBefore = nPos;
            if (!fnStep(nLineNumber, line.get(), nLength, nPos)) return;
            // A step that did not move forward gives up the rest of the line.
            if (nPos <= nBefore) nPos = nLength;
        }
        if (e >= nBufferLength) return;
        i = e + 1;
    }
}

}  // namespace

void WalkLines(const CByteBuffer& buffer, const TagStep& step, std::int32_t nStart) {
    if (!step) return;
    WalkNumbered(
        buffer,
        [&step](std::int32_t, const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
            return step(pszLine, nLength, nPos);
        },
        nStart);
}

void WalkLinesNumbered(const CByteBuffer& buffer, const NumberedTagStep& step) {
    if (!step) return;
    WalkNumbered(buffer, step);
}

}  // namespace vitalchart
