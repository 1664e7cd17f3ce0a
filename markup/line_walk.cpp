#include "markup/line_walk.h"

#include <cstring>
#include <memory>

namespace vitalchart {

void WalkLines(const CByteBuffer& buffer, const TagStep& step) {
    if (!step) return;
    const std::int32_t nBufferLength = buffer.GetLength();
    std::int32_t i = 0;
    for (;;) {
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
            if (!step(line.get(), nLength, nPos)) return;
            // A step that did not move forward gives up the rest of the line.
            if (nPos <= nBefore) nPos = nLength;
        }
        if (e >= nBufferLength) return;
        i = e + 1;
    }
}

}  // namespace vitalchart
