#include "page.h"

#include <cstdio>
#include <cstring>

CPage::CPage(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight) {
    m_hDC = ::CreateCompatibleDC(nullptr);
    if (m_hDC == nullptr) return;
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = nWidth;
    // Top-down rows: row y starts at y * width.
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (m_hBitmap == nullptr) return;
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    m_pBits = static_cast<std::uint32_t*>(pBits);
    ::GdiFlush();
    std::memset(m_pBits, 0xFF, static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight) * 4);
}

CPage::~CPage() {
    if (m_hOldBitmap != nullptr) ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
    if (m_hDC != nullptr) ::DeleteDC(m_hDC);
}

COLORREF CPage::Pixel(int x, int y) const {
    if (m_pBits == nullptr || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return RGB(255, 255, 255);
    ::GdiFlush();
    std::uint32_t v =
        m_pBits[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) + static_cast<std::size_t>(x)];
    // A DIB pixel is blue, green, red from the low byte up.
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool CPage::SameBits(const CPage& other) const {
    if (m_pBits == nullptr || other.m_pBits == nullptr) return false;
    if (m_nWidth != other.m_nWidth || m_nHeight != other.m_nHeight) return false;
    ::GdiFlush();
    for (std::size_t i = 0; i < static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight); ++i) {
        if ((m_pBits[i] & 0xFFFFFF) != (other.m_pBits[i] & 0xFFFFFF)) return false;
    }
    return true;
}

RECT CPage::InkBox(const RECT& region) const {
    RECT box = {0, 0, 0, 0};
    bool bAny = false;
    for (LONG y = region.top; y < region.bottom; ++y) {
        for (LONG x = region.left; x < region.right; ++x) {
            if (Pixel(x, y) == RGB(255, 255, 255)) continue;
            if (!bAny) {
                box = RECT{x, y, x + 1, y + 1};
                bAny = true;
                continue;
            }
            if (x < box.left) box.left = x;
            if (x + 1 > box.right) box.right = x + 1;
            if (y + 1 > box.bottom) box.bottom = y + 1;
        }
    }
    return box;
}

bool CPage::WriteBmp(const std::string& strPath) const {
    if (m_pBits == nullptr) return false;
    ::GdiFlush();
    const std::uint32_t nImage = static_cast<std::uint32_t>(m_nWidth) * static_cast<std::uint32_t>(m_nHeight) * 4;
    BITMAPFILEHEADER file;
    std::memset(&file, 0, sizeof file);
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + nImage;
    BITMAPINFOHEADER info;
    std::memset(&info, 0, sizeof info);
    info.biSize = sizeof info;
    info.biWidth = m_nWidth;
    info.biHeight = -m_nHeight;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = nImage;
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr) return false;
    bool bOk = std::fwrite(&file, sizeof file, 1, pFile) == 1 && std::fwrite(&info, sizeof info, 1, pFile) == 1 &&
               std::fwrite(m_pBits, nImage, 1, pFile) == 1;
    return std::fclose(pFile) == 0 && bOk;
}
