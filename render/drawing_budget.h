#pragma once

#include <cstddef>
#include <cstdint>

#include "vitalchart/platform/gdi_objects.h"

namespace vitalchart {

// The drawing work one call may do. A template of many elements, each within
// the repeat bound, or of many curves over many readings, could otherwise
// hold the host for minutes and fill its memory with output; the bundled week
// chart needs about 1% of this on screen and 2% on a 600 dpi printer.
// Only what is drawn is charged: looking at readings is free, so a long data
// text never costs the form its grid.
#if defined(VITALCHART_FUZZING_BUDGET)
// A fuzzing build spends 4% of it, about twice what the largest bundled
// chart needs at 600 dpi: the inputs that run into the bound (a repeat count
// of two thousand million, say) are the ones that slow a fuzzer down, and
// they reach the same refusals 25 times sooner.
constexpr std::int64_t kDrawingWorkBound = 160000;
#else
constexpr std::int64_t kDrawingWorkBound = 4000000;
#endif

class CDrawingBudget {
public:
    static constexpr std::int64_t kMaxWork = kDrawingWorkBound;
    // The cost of a line (plus one unit per device unit of pen width), of a
    // marker (plus four per device unit of its size), and of a text call
    // (plus, per byte, the area of a character over that of a 16-unit one,
    // from 1 to 1024): a picture surface pays for the area it covers.
    static constexpr std::int64_t kLineWork = 16;
    static constexpr std::int64_t kSymbolWork = 64;
    static constexpr std::int64_t kTextWork = 64;
    // Widths and marker sizes beyond this cost no more: they cover the page.
    static constexpr int kMaxExtent = 4096;

    // Charges nUnits; false, and the caller draws nothing of it, when that is
    // more than is left. The rest stays for what fits, so that one runaway
    // element does not take the readings after it with it.
    bool Spend(std::int64_t nUnits);
    // One line in the pen selected now.
    bool SpendLine() { return Spend(m_nLineWork); }
    // One text call of nBytes in the font selected now.
    bool SpendText(std::size_t nBytes) { return Spend(TextWork(m_pFont, nBytes)); }
    // A text measured and then drawn: a picture surface pays for both.
    bool SpendMeasuredText(std::size_t nBytes) { return Spend(2 * TextWork(m_pFont, nBytes)); }
    // One marker of nSize device units drawn with an outline nPenWidth wide.
    bool SpendSymbol(int nSize, int nPenWidth);

    // The pen and font that later lines and texts are drawn in (the host's
    // own, or declared ones).
    void SetPen(const CPen* pPen);
    void SetFont(const CFont* pFont) { m_pFont = pFont; }

    // Whether something was refused, so the chart is drawn in part.
    bool IsDrawnInPart() const { return m_bDrawnInPart; }
    std::int64_t GetUsed() const { return kMaxWork - m_nWorkLeft; }

private:
    static std::int64_t TextWork(const CFont* pFont, std::size_t nBytes);

    std::int64_t m_nWorkLeft = kMaxWork;
    bool m_bDrawnInPart = false;
    std::int64_t m_nLineWork = kLineWork;
    const CFont* m_pFont = nullptr;
};

}  // namespace vitalchart
