#include "surface/cairo/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <thread>

namespace vitalchart {

namespace {

// The image's rows are cut into bands that are compressed side by side, each
// as a raw deflate stream of its own, and the bands' streams are joined into
// the one zlib stream of the file's image data (a band ends on a byte
// boundary with its last block left open, and none looks back into the band
// before it). A band holds at least kMinBandBytes of filtered rows and there
// are at most kMaxBands, whatever the machine, so that the same image always
// gives the same file.
constexpr std::size_t kMinBandBytes = 512 * 1024;
constexpr std::size_t kMaxBands = 4;
// Rows converted and filtered at a time before they go to zlib.
constexpr int kRowsPerBatch = 16;
// The image data is written in chunks of at most this many bytes.
constexpr std::size_t kMaxChunkBytes = 1 << 20;

// zlib's working memory for one stream at the settings below (32 KiB window,
// memory level 8) is about 262 KiB; a band brings a little more than that.
constexpr std::size_t kZlibPoolBytes = 320 * 1024;

// One band: its rows in; its compressed bytes, its rows' checksum and size
// out. Its memory comes from the thread that encodes the image: a thread that
// never allocates gets no heap of its own from the C library, which would
// otherwise keep one for every thread that ever compressed a band, and a
// long-running server's memory would creep up with them.
struct SBand {
    int nFirstRow = 0;
    int nEndRow = 0;
    bool bLast = false;
    std::vector<unsigned char> arrRows;  // a batch of filtered rows
    std::vector<unsigned char> arrDeflated;
    std::unique_ptr<unsigned char[]> pZlibPool;
    std::size_t nZlibPoolUsed = 0;
    uLong nAdler = 1;
    std::size_t nRawBytes = 0;
    bool bOk = false;
};

// A pixel's red, green and blue bytes (bits 16 to 23, 8 to 15, 0 to 7 of
// nPixel) as a word that, stored, puts them in that order at its first three
// bytes; its fourth byte is zero.
inline std::uint32_t RgbBytes(std::uint32_t nPixel) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return nPixel << 8;
#else
    return __builtin_bswap32(nPixel) >> 8;
#endif
}

// Two pixels' RGB bytes, as loaded from memory into one word, as a word
// that, stored, puts them at its first six bytes.
inline std::uint64_t RgbBytes2(std::uint64_t nPixels) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    const std::uint64_t nFirst = RgbBytes(static_cast<std::uint32_t>(nPixels >> 32));
    const std::uint64_t nSecond = RgbBytes(static_cast<std::uint32_t>(nPixels));
    return (nFirst << 32) | (nSecond << 8);
#else
    const std::uint64_t nFirst = RgbBytes(static_cast<std::uint32_t>(nPixels));
    const std::uint64_t nSecond = RgbBytes(static_cast<std::uint32_t>(nPixels >> 32));
    return nFirst | (nSecond << 24);
#endif
}

// Each byte of nLeft less the byte of nRight in its place, modulo 256, with
// no borrow from one byte into the next.
template <class Word>
inline Word SubtractBytes(Word nLeft, Word nRight) {
    constexpr Word kHigh = static_cast<Word>(0x8080808080808080u);
    return ((nLeft | kHigh) - (nRight & ~kHigh)) ^ ((nLeft ^ ~nRight) & kHigh);
}

// The pixels at byte nAt of pIn, as they are or (kUp) less those at the same
// byte of pAbove, byte by byte.
template <bool kUp, class Word>
inline Word LoadPixels(const unsigned char* pIn, const unsigned char* pAbove, std::size_t nAt) {
    Word nPixels;
    std::memcpy(&nPixels, pIn + nAt, sizeof nPixels);
    if constexpr (!kUp) return nPixels;
    Word nAbove;
    std::memcpy(&nAbove, pAbove + nAt, sizeof nAbove);
    return SubtractBytes(nPixels, nAbove);
}

// Writes a row's nWidth pixels as RGB bytes, under the Up filter each less
// the byte above it. Two pixels at a time are stored as one word whose last
// two bytes the next pixel overwrites, so that at least one pixel is left for
// the end; the last pixel is stored byte by byte, so that nothing is written
// past the row.
template <bool kUp>
void FilterPixels(const unsigned char* pIn, const unsigned char* pAbove, int nWidth, unsigned char* pOut) {
    if (nWidth <= 0) return;
    const std::size_t nPixels = static_cast<std::size_t>(nWidth);
    std::size_t x = 0;
    for (; x + 2 < nPixels; x += 2) {
        const std::uint64_t nBytes = RgbBytes2(LoadPixels<kUp, std::uint64_t>(pIn, pAbove, 4 * x));
        std::memcpy(pOut + 3 * x, &nBytes, sizeof nBytes);
    }
    for (; x + 1 < nPixels; ++x) {
        const std::uint32_t nBytes = RgbBytes(LoadPixels<kUp, std::uint32_t>(pIn, pAbove, 4 * x));
        std::memcpy(pOut + 3 * x, &nBytes, sizeof nBytes);
    }
    const std::uint32_t nPixel = LoadPixels<kUp, std::uint32_t>(pIn, pAbove, 4 * x);
    pOut[3 * x] = static_cast<unsigned char>(nPixel >> 16);
    pOut[3 * x + 1] = static_cast<unsigned char>(nPixel >> 8);
    pOut[3 * x + 2] = static_cast<unsigned char>(nPixel);
}

// Writes row y of the image as a PNG scanline: the filter type byte, then the
// pixels, under the Up filter less the row above (the row above the first
// counts as zero).
void FilterRow(const SRgb24Image& image, int y, bool bUp, unsigned char* pOut) {
    const std::size_t nStride = static_cast<std::size_t>(image.nStride);
    const unsigned char* pIn = image.pData + static_cast<std::size_t>(y) * nStride;
    *pOut = bUp ? PNG_FILTER_VALUE_UP : PNG_FILTER_VALUE_NONE;
    if (bUp && y > 0) {
        FilterPixels<true>(pIn, pIn - nStride, image.nWidth, pOut + 1);
    } else {
        FilterPixels<false>(pIn, nullptr, image.nWidth, pOut + 1);
    }
}

// zlib's allocator for a band: from the band's pool while it lasts (zlib
// frees it all at the stream's end), from the heap after.
voidpf AllocateFromBand(voidpf pOpaque, uInt nItems, uInt nSize) {
    auto* pBand = static_cast<SBand*>(pOpaque);
    const std::size_t nBytes = (static_cast<std::size_t>(nItems) * nSize + 15) & ~std::size_t{15};
    if (kZlibPoolBytes - pBand->nZlibPoolUsed >= nBytes) {
        void* pBlock = pBand->pZlibPool.get() + pBand->nZlibPoolUsed;
        pBand->nZlibPoolUsed += nBytes;
        return pBlock;
    }
    return std::calloc(nItems, nSize);
}

void FreeFromBand(voidpf pOpaque, voidpf pBlock) {
    auto* pBand = static_cast<SBand*>(pOpaque);
    const unsigned char* pByte = static_cast<const unsigned char*>(pBlock);
    const std::less<const unsigned char*> before;
    const unsigned char* pPool = pBand->pZlibPool.get();
    if (before(pByte, pPool) || !before(pByte, pPool + kZlibPoolBytes)) std::free(pBlock);
}

// Gives the band the memory it compresses with. Throws std::bad_alloc.
void PrepareBand(SBand& rBand, std::size_t nRowBytes) {
    const std::size_t nRawBytes = nRowBytes * static_cast<std::size_t>(rBand.nEndRow - rBand.nFirstRow);
    rBand.arrRows.resize(nRowBytes * kRowsPerBatch);
    // A chart compresses to a few per cent of its rows; should a picture
    // need more, the output grows while zlib fills it.
    rBand.arrDeflated.resize(64 * 1024 + nRawBytes / 8);
    rBand.pZlibPool.reset(new unsigned char[kZlibPoolBytes]);
}

// Filters and compresses the band's rows; bOk tells whether zlib managed.
void CompressBand(const SRgb24Image& image, int nLevel, SBand& rBand) {
    const bool bUp = nLevel != 0;
    const std::size_t nRowBytes = 1 + static_cast<std::size_t>(image.nWidth) * 3;
    z_stream stream{};
    stream.zalloc = AllocateFromBand;
    stream.zfree = FreeFromBand;
    stream.opaque = &rBand;
    // Rows filtered with Up are compressed with zlib's strategy for filtered
    // data, as libpng does; unfiltered ones with the default.
    if (deflateInit2(&stream, nLevel, Z_DEFLATED, -15, 8, bUp ? Z_FILTERED : Z_DEFAULT_STRATEGY) != Z_OK) return;
    bool bOk = true;
    try {
        unsigned char* const pRows = rBand.arrRows.data();
        stream.next_out = rBand.arrDeflated.data();
        stream.avail_out = static_cast<uInt>(rBand.arrDeflated.size());
        for (int y = rBand.nFirstRow; bOk && y < rBand.nEndRow;) {
            const int nRows = rBand.nEndRow - y < kRowsPerBatch ? rBand.nEndRow - y : kRowsPerBatch;
            for (int k = 0; k < nRows; ++k) FilterRow(image, y + k, bUp, pRows + nRowBytes * k);
            const std::size_t nBytes = nRowBytes * static_cast<std::size_t>(nRows);
            rBand.nAdler = adler32_z(rBand.nAdler, pRows, nBytes);
            rBand.nRawBytes += nBytes;
            y += nRows;
            stream.next_in = pRows;
            stream.avail_in = static_cast<uInt>(nBytes);
            // The last band ends the stream; the others end on a byte boundary
            // for the next band's stream to follow.
            const int nFlush = y < rBand.nEndRow ? Z_NO_FLUSH : rBand.bLast ? Z_FINISH : Z_SYNC_FLUSH;
            for (;;) {
                const int nResult = deflate(&stream, nFlush);
                if (nResult == Z_STREAM_ERROR) {
                    bOk = false;
                    break;
                }
                // Room left over means zlib took every row and wrote all it
                // owed for the flush; a full output, that it wants more room.
                if (stream.avail_out != 0) {
                    if (nFlush == Z_FINISH && nResult != Z_STREAM_END) bOk = false;
                    break;
                }
                const std::size_t nUsed = rBand.arrDeflated.size() - stream.avail_out;
                rBand.arrDeflated.resize(rBand.arrDeflated.size() + std::min<std::size_t>(nUsed, 64u << 20));
                stream.next_out = rBand.arrDeflated.data() + nUsed;
                stream.avail_out = static_cast<uInt>(rBand.arrDeflated.size() - nUsed);
            }
        }
        rBand.arrDeflated.resize(rBand.arrDeflated.size() - stream.avail_out);
    } catch (const std::bad_alloc&) {
        bOk = false;
    }
    deflateEnd(&stream);
    rBand.bOk = bOk;
}

// Compresses every band, all but the first on threads of their own (or here,
// when no thread can be had). False when any band failed.
bool CompressBands(const SRgb24Image& image, int nLevel, std::vector<SBand>& rBands) {
    std::vector<std::thread> arrThreads;
    for (std::size_t k = 1; k < rBands.size(); ++k) {
        try {
            arrThreads.emplace_back(CompressBand, std::cref(image), nLevel, std::ref(rBands[k]));
        } catch (const std::exception&) {
            CompressBand(image, nLevel, rBands[k]);
        }
    }
    CompressBand(image, nLevel, rBands[0]);
    for (std::thread& rThread : arrThreads) rThread.join();
    for (const SBand& rBand : rBands) {
        if (!rBand.bOk) return false;
    }
    return true;
}

// The two bytes that open a zlib stream with a 32 KiB window, with the level
// hint zlib itself would write for nLevel.
std::array<unsigned char, 2> ZlibHeader(int nLevel) {
    const unsigned nHint = nLevel < 2 ? 0 : nLevel < 6 ? 1 : nLevel == 6 ? 2 : 3;
    unsigned nHeader = (0x78u << 8) | (nHint << 6);
    nHeader += 31 - nHeader % 31;
    return {static_cast<unsigned char>(nHeader >> 8), static_cast<unsigned char>(nHeader)};
}

// The one zlib stream of the image data: the header, the bands' streams one
// after the other, and the checksum of all their rows. Throws std::bad_alloc.
void JoinBands(const std::vector<SBand>& arrBands, int nLevel, std::vector<unsigned char>& rStream) {
    std::size_t nStream = 6;
    for (const SBand& rBand : arrBands) nStream += rBand.arrDeflated.size();
    rStream.reserve(nStream);
    const std::array<unsigned char, 2> header = ZlibHeader(nLevel);
    rStream.assign(header.begin(), header.end());
    uLong nAdler = 1;
    for (const SBand& rBand : arrBands) {
        rStream.insert(rStream.end(), rBand.arrDeflated.begin(), rBand.arrDeflated.end());
        nAdler = adler32_combine(nAdler, rBand.nAdler, static_cast<z_off_t>(rBand.nRawBytes));
    }
    for (int nShift = 24; nShift >= 0; nShift -= 8) rStream.push_back(static_cast<unsigned char>(nAdler >> nShift));
}

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

// The file's header: signature and image header chunk. Only libpng calls and
// plain data between setjmp and the end, so that libpng's longjmp skips no
// destructor.
bool WriteHeader(png_structp pPng, png_infop pInfo, const SRgb24Image& image) {
    if (setjmp(png_jmpbuf(pPng))) return false;
    png_set_write_fn(pPng, png_get_error_ptr(pPng), AppendPngBytes, FlushNothing);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(image.nWidth), static_cast<png_uint_32>(image.nHeight), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(pPng, pInfo);
    return true;
}

// The image data chunks, cut from the joined zlib stream, and the end chunk.
bool WriteData(png_structp pPng, const unsigned char* pStream, std::size_t nStream) {
    if (setjmp(png_jmpbuf(pPng))) return false;
    static const png_byte kIdat[5] = "IDAT";
    static const png_byte kIend[5] = "IEND";
    for (std::size_t nAt = 0; nAt < nStream; nAt += kMaxChunkBytes) {
        png_write_chunk(pPng, kIdat, pStream + nAt, nStream - nAt < kMaxChunkBytes ? nStream - nAt : kMaxChunkBytes);
    }
    png_write_chunk(pPng, kIend, nullptr, 0);
    return true;
}

}  // namespace

bool EncodeRgb24Png(const SRgb24Image& image, int nLevel, std::vector<unsigned char>& rBytes, std::string& rError) {
    rBytes.clear();
    SPngState state{&rBytes, {}};
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
    png_infop pInfo = pPng != nullptr ? png_create_info_struct(pPng) : nullptr;
    // The header first: libpng checks the image's size there, before any
    // row is compressed.
    bool bEncoded = pInfo != nullptr && WriteHeader(pPng, pInfo, image);
    if (bEncoded) {
        const int nZlibLevel = std::clamp(nLevel, 0, 9);
        const std::size_t nRowBytes = 1 + static_cast<std::size_t>(image.nWidth) * 3;
        const std::size_t nRows = static_cast<std::size_t>(image.nHeight);
        std::size_t nBands = nRowBytes * nRows / kMinBandBytes;
        if (nBands > kMaxBands) nBands = kMaxBands;
        if (nBands > nRows) nBands = nRows;
        if (nBands < 1) nBands = 1;
        std::vector<SBand> arrBands;
        std::vector<unsigned char> arrStream;
        try {
            arrBands.resize(nBands);
            for (std::size_t k = 0; k < nBands; ++k) {
                arrBands[k].nFirstRow = static_cast<int>(nRows * k / nBands);
                arrBands[k].nEndRow = static_cast<int>(nRows * (k + 1) / nBands);
                arrBands[k].bLast = k + 1 == nBands;
                PrepareBand(arrBands[k], nRowBytes);
            }
            bEncoded = CompressBands(image, nZlibLevel, arrBands);
            if (bEncoded) JoinBands(arrBands, nZlibLevel, arrStream);
        } catch (const std::bad_alloc&) {
            bEncoded = false;
        }
        // (On failure the message stays the default, out of memory: zlib
        // fails on nothing else at these settings.)
        if (bEncoded) bEncoded = WriteData(pPng, arrStream.data(), arrStream.size());
    }
    png_destroy_write_struct(&pPng, &pInfo);
    if (bEncoded) return true;
    rBytes.clear();
    rError = std::string("PNG encoding failed: ") + (state.szError[0] != '\0' ? state.szError : "out of memory");
    return false;
}

}  // namespace vitalchart
