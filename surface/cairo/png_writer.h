#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vitalchart {

// An image as the Cairo surface holds it: rows of 32-bit pixels 0x00RRGGBB
// in the machine's byte order, nStride bytes apart.
struct SRgb24Image {
    const unsigned char* pData;
    int nWidth;
    int nHeight;
    int nStride;
};

// Encodes the image as an 8-bit RGB PNG with libpng, with settings chosen for
// charts: zlib at nLevel (0 stored, 1 fastest to 9 smallest) and one fixed
// row filter, Up, which suits a ruled sheet whose rows mostly repeat the row
// above (no filter at level 0, where nothing is compressed). Trying every
// filter on every row, as general writers do, costs more than it saves here.
// A large image is compressed in up to four bands of rows on threads side by
// side; how it is cut depends only on its size, so an image always gives the
// same bytes.
// The bytes replace rBytes. False, with rError (one line) and rBytes empty,
// when libpng fails.
bool EncodeRgb24Png(const SRgb24Image& image, int nLevel, std::vector<unsigned char>& rBytes, std::string& rError);

}  // namespace vitalchart
