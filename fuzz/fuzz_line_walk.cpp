// The line walk and the tag scanner on raw bytes: as one line handed straight
// to the scanner, and as a buffer cut into lines. Every tag is parsed, as the
// data reader parses its d tags, whatever its name.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "platform/string_map.h"

using namespace vitalchart;
using vitalchart::fuzz::Require;

namespace {

void RequireShortKeys(const CMapStringToString& map) {
    for (const auto& entry : map.Entries()) {
        Require(entry.first.size() <= static_cast<std::size_t>(kMaxNameLength), "a key longer than 31 bytes",
                entry.first.substr(0, 64));
    }
}

// One tag at nPos: name, then attributes; the position must move forward and
// stay within the line.
void ScanTag(const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
    const std::int32_t nStart = nPos;
    std::string strName = ReadTagName(pszLine, nLength, nPos);
    Require(nPos > nStart && nPos <= nLength, "ReadTagName left the position outside the line");
    Require(strName.size() <= static_cast<std::size_t>(kMaxNameLength), "a tag name longer than 31 bytes");
    CMapStringToString mapAttributes;
    CMapStringToString mapStyles;
    const std::int32_t nAfterName = nPos;
    ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
    Require(nPos >= nAfterName && nPos <= nLength, "ParseAttributes left the position outside the line");
    Require(nPos > nAfterName || nAfterName == nLength, "ParseAttributes did not move past the tag");
    Require(mapAttributes.Find("props") == nullptr, "props stored as an attribute");
    RequireShortKeys(mapAttributes);
    RequireShortKeys(mapStyles);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    if (nSize > 0x7FFFFFFF) return 0;
    const auto nLength = static_cast<std::int32_t>(nSize);

    // The scanner on the whole input as one line, in storage that ends at the
    // line's length: a look at the terminator's place is a heap overflow.
    std::unique_ptr<char[]> line(new char[nSize == 0 ? 1 : nSize]);
    if (nSize > 0) std::memcpy(line.get(), pData, nSize);
    std::int32_t nPos = 0;
    while (nPos < nLength) ScanTag(line.get(), nLength, nPos);

    // The same bytes cut into lines where they lie, as the renderer walks a
    // template or a host's data text: a look past the text's end is a heap
    // overflow too.
    std::int32_t nLines = 0;
    const char* const pEnd = line.get() + nSize;
    WalkTextLines(line.get(), nLength, [&](const char* pszLine, std::int32_t nLineLength, std::int32_t& rPos) {
        if (rPos == 0) {
            ++nLines;
            Require(nLineLength > 0 && pszLine >= line.get() && pszLine + nLineLength <= pEnd,
                    "the walk handed over a line outside the text");
            Require(std::memchr(pszLine, '\n', static_cast<std::size_t>(nLineLength)) == nullptr,
                    "a line holds a line feed");
        }
        ScanTag(pszLine, nLineLength, rPos);
        return true;
    });
    Require(nLines <= nLength, "more lines than bytes");
    return 0;
}
