#pragma once

#include <cstdint>
#include <string>

// clang-format off
#include "vitalchart/surface/dc.h"
// Last: it brings windows.h after the chart's own declarations.
#include "surface/gdi/windows_api.h"
// clang-format on

// A white 32-bit page in memory that a memory device context draws on, as a
// host paints a chart off screen; written out as a BMP file.
class CPage {
public:
    CPage(int nWidth, int nHeight);
    ~CPage();
    CPage(const CPage&) = delete;
    CPage& operator=(const CPage&) = delete;

    bool IsValid() const { return m_pBits != nullptr; }
    HDC GetDC() const { return m_hDC; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

    // The colour at (x, y) as a COLORREF (red in the low byte); white off the page.
    COLORREF Pixel(int x, int y) const;
    // Whether both pages hold the same pixels.
    bool SameBits(const CPage& other) const;
    // The smallest rectangle holding every non-white pixel of the region
    // (right and bottom exclusive); empty when there is none.
    RECT InkBox(const RECT& region) const;
    bool WriteBmp(const std::string& strPath) const;

private:
    int m_nWidth;
    int m_nHeight;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    std::uint32_t* m_pBits = nullptr;
};
