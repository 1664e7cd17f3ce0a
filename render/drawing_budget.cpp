#include "render/drawing_budget.h"

#include <algorithm>
#include <cstdlib>

namespace vitalchart {

namespace {

std::int64_t Extent(int n) {
    return std::min<std::int64_t>(std::llabs(static_cast<std::int64_t>(n)), CDrawingBudget::kMaxExtent);
}

}  // namespace

bool CDrawingBudget::Spend(std::int64_t nUnits) {
    if (nUnits > m_nWorkLeft) {
        m_bDrawnInPart = true;
        return false;
    }
    m_nWorkLeft -= nUnits;
    return true;
}

bool CDrawingBudget::SpendSymbol(int nSize, int nPenWidth) {
    // A marker covers an area that grows with its size and its outline's
    // width, however far out it lies.
    return Spend(kSymbolWork + 4 * Extent(nSize) + Extent(nPenWidth));
}

void CDrawingBudget::SetPen(const CPen* pPen) {
    // Patterned pens are one unit wide whatever their width says.
    const int nWidth = (pPen != nullptr && pPen->m_nStyle == PS_SOLID) ? pPen->m_nWidth : 1;
    m_nLineWork = kLineWork + std::clamp(nWidth, 1, kMaxExtent);
}

std::int64_t CDrawingBudget::TextWork(const CFont* pFont, std::size_t nBytes) {
    std::int64_t h = pFont != nullptr ? std::llabs(static_cast<std::int64_t>(pFont->m_logFont.lfHeight)) : 16;
    if (h == 0) h = 16;
    h = std::min<std::int64_t>(h, kMaxExtent);
    // From about 512 units up a character covers the page, whatever its size.
    const std::int64_t nPerByte = std::clamp<std::int64_t>(h * h / 256, 1, 1024);
    // Texts are far shorter than this; the cap keeps the product in range.
    const std::int64_t nBytesCounted = static_cast<std::int64_t>(std::min<std::size_t>(nBytes, std::size_t{1} << 30));
    return kTextWork + nBytesCounted * nPerByte;
}

}  // namespace vitalchart
