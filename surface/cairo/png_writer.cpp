#include "surface/cairo/png_writer.h"

#include <png.h>

#include <cstring>
#include <new>

namespace vitalchart {

namespace {

// What the callbacks share with the encoder. Plain data only: libpng leaves
// a failed encode by longjmp, past the callbacks' frames and its own.
struct SPngState {
    std::vector<unsigned char>* pBytes;
    char szError[128];
};

void OnPngError(png_structp pPng, png_const_charp pszMessage) {
    auto* pState = static_cast<SPngState*>(png_get_error_ptr(pPng));
    std::strncpy(pState->szError, pszMessage != nullptr ? pszMessage : "libpng failed", sizeof pState->szError - 1);
    pState->szError[sizeof pState->szError - 1] = '\0';
    png_longjmp(pPng, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void AppendPngBytes(png_structp pPng, png_bytep pData, png_size_t nLength) {
    auto* pState = static_cast<SPngState*>(png_get_io_ptr(pPng));
    bool bStored = true;
    try {
        pState->pBytes->insert(pState->pBytes->end(), pData, pData + nLength);
    } catch (const std::bad_alloc&) {
        bStored = false;
    }
    // Outside the handler: png_error does not return.
    if (!bStored) png_error(pPng, "out of memory");
}

void FlushNothing(png_structp) {}

// The whole encode between setjmp and the end; only libpng calls and plain
// data here, so that libpng's longjmp skips no destructor. pRow holds one
// row of RGB bytes.
bool WriteImage(png_structp pPng, png_infop pInfo, const SRgb24Image& image, int nLevel, unsigned char* pRow) {
    if (setjmp(png_jmpbuf(pPng))) return false;
    png_set_write_fn(pPng, png_get_error_ptr(pPng), AppendPngBytes, FlushNothing);
    png_set_compression_level(pPng, nLevel);
    png_set_filter(pPng, PNG_FILTER_TYPE_BASE, nLevel == 0 ? PNG_FILTER_NONE : PNG_FILTER_UP);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(image.nWidth), static_cast<png_uint_32>(image.nHeight), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(pPng, pInfo);
    for (int y = 0; y < image.nHeight; ++y) {
        const unsigned char* pIn = image.pData + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.nStride);
        unsigned char* pOut = pRow;
        for (int x = 0; x < image.nWidth; ++x, pIn += 4, pOut += 3) {
            std::uint32_t nPixel;
            std::memcpy(&nPixel, pIn, sizeof nPixel);
            pOut[0] = static_cast<unsigned char>(nPixel >> 16);
            pOut[1] = static_cast<unsigned char>(nPixel >> 8);
            pOut[2] = static_cast<unsigned char>(nPixel);
        }
        png_write_row(pPng, pRow);
    }
    png_write_end(pPng, pInfo);
    return true;
}

}  // namespace

bool EncodeRgb24Png(const SRgb24Image& image, int nLevel, std::vector<unsigned char>& rBytes, std::string& rError) {
    rBytes.clear();
    std::vector<unsigned char> arrRow(static_cast<std::size_t>(image.nWidth) * 3);
    SPngState state{&rBytes, {}};
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
    png_infop pInfo = pPng != nullptr ? png_create_info_struct(pPng) : nullptr;
    const bool bEncoded = pInfo != nullptr && WriteImage(pPng, pInfo, image, nLevel, arrRow.data());
    png_destroy_write_struct(&pPng, &pInfo);
    if (bEncoded) return true;
    rBytes.clear();
    rError = std::string("PNG encoding failed: ") + (state.szError[0] != '\0' ? state.szError : "out of memory");
    return false;
}

}  // namespace vitalchart
