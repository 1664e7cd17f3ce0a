#pragma once

// One drawing call decoded from a fuzz input, shared by the targets that
// draw a whole chart.
//
// Input layout: a header of kHeaderSize bytes, then the template text, then
// the separator byte 0x1E and the data text (no separator: no data).
//   header[0]      bit 0 printing, bit 1 fill the background, bit 2 GBK text
//                  (else UTF-8), bit 3 the data length given one byte short
//   header[1..4]   top, left, bottom, right: each picks a rectangle value
//   header[5..8]   denY, denX, numY, numX: each picks a scale value
//   header[9..10]  image width and height for the Cairo surface
// A header of zero bytes is a plain screen chart at 96 dpi on a 631 x 805
// rectangle: hand-written seeds need only prefix kHeaderSize zero bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace fuzz {

constexpr std::size_t kHeaderSize = 11;
constexpr char kDataSeparator = '\x1e';

// Largest image the Cairo target draws on, a side: big enough for the
// bundled chart at 96 dpi, small enough to keep one run quick.
constexpr int kMaxFuzzImageSide = 1024;

struct DrawCase {
    BOOL bPrinting = 0;
    BOOL bFill = 0;
    UINT nCodePage = CP_UTF8;
    bool bShortData = false;
    int nTop = 0;
    int nLeft = 0;
    int nBottom = 805;
    int nRight = 631;
    int nDenY = 96;
    int nDenX = 96;
    int nNumY = 96;
    int nNumX = 96;
    int nImageWidth = 631;
    int nImageHeight = 805;
    std::string strTemplate;
    std::string strData;
};

// Values a rectangle edge takes: the default first, then ordinary and
// hostile ones.
constexpr int kRectValues[16] = {0,     50,     100,        -1,          1000,       -1000,     4960, 7016,
                                 32767, -32768, 1073741824, -1073741824, 2147483647, INT32_MIN, 1,    65536};
// Values a scale numerator or denominator takes.
constexpr int kScaleValues[16] = {96, 600, 1,     0,          -1,        300,  72,  9600,
                                  2,  -96, 65536, 2147483647, INT32_MIN, 1000, 254, 1000000};
constexpr int kImageSides[8] = {631, 805, 1, 64, 256, 1024, 2, 17};

inline DrawCase DecodeDrawCase(const std::uint8_t* pData, std::size_t nSize) {
    DrawCase c;
    std::uint8_t header[kHeaderSize] = {};
    std::size_t nHeader = nSize < kHeaderSize ? nSize : kHeaderSize;
    for (std::size_t i = 0; i < nHeader; ++i) header[i] = pData[i];

    c.bPrinting = (header[0] & 1) ? 1 : 0;
    c.bFill = (header[0] & 2) ? 1 : 0;
    c.nCodePage = (header[0] & 4) ? CP_GBK : CP_UTF8;
    c.bShortData = (header[0] & 8) != 0;
    // Edges keep their defaults for selector 0, so a zero header is a plain chart.
    auto edge = [&](std::uint8_t b, int nDefault) { return b == 0 ? nDefault : kRectValues[b % 16]; };
    c.nTop = edge(header[1], 0);
    c.nLeft = edge(header[2], 0);
    c.nBottom = edge(header[3], 805);
    c.nRight = edge(header[4], 631);
    c.nDenY = kScaleValues[header[5] % 16];
    c.nDenX = kScaleValues[header[6] % 16];
    c.nNumY = kScaleValues[header[7] % 16];
    c.nNumX = kScaleValues[header[8] % 16];
    c.nImageWidth = header[9] == 0 ? 631 : kImageSides[header[9] % 8];
    c.nImageHeight = header[10] == 0 ? 805 : kImageSides[header[10] % 8];

    std::string strRest(reinterpret_cast<const char*>(pData) + nHeader, nSize - nHeader);
    std::size_t nSeparator = strRest.find(kDataSeparator);
    if (nSeparator == std::string::npos) {
        c.strTemplate = strRest;
    } else {
        c.strTemplate = strRest.substr(0, nSeparator);
        c.strData = strRest.substr(nSeparator + 1);
    }
    return c;
}

}  // namespace fuzz
}  // namespace vitalchart
