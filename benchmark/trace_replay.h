#pragma once

// clang-format off
#include <pango/pangocairo.h>
// clang-format on

#include <string>
#include <vector>

namespace vitalchart {
namespace bench {

// A chart drawn with nothing but Cairo and Pango: the recording surface's
// trace (the grammar in the README) read once, then replayed onto a Cairo
// context as directly as the two libraries allow. It is the yardstick of the
// Cairo surface: the same lines, figures and text, with one text layout per
// label and none of the surface's bookkeeping.
class CTraceReplay {
public:
    // Reads the trace; lines of other operations are skipped.
    explicit CTraceReplay(const std::string& strTrace);

    // Paints the chart on pCr, laying the text out in pPango (whose font
    // options and language the caller chose).
    void Draw(cairo_t* pCr, PangoContext* pPango) const;

    // The number of operations read.
    std::size_t Size() const { return m_arrOps.size(); }

private:
    enum class EOp {
        kPen,
        kBrush,
        kFont,
        kTextColor,
        kBkMode,
        kMoveTo,
        kLineTo,
        kEllipse,
        kPolygon,
        kFillRect,
        kTextOut,
        kDrawText
    };
    struct SOp {
        EOp eOp;
        std::vector<long> arrNums;  // in the order written, colours as 0xrrggbb
        std::string strText;        // unquoted bytes
    };

    std::vector<SOp> m_arrOps;
};

// The chart's font map file in the source tree (VITALCHART_FONTS_CONF wins).
std::string ChartFontsConf();

// A Pango font map over the system's fontconfig configuration with the
// chart's font map added, as the Cairo surface builds it. The caller unrefs it.
PangoFontMap* NewChartFontMap();

// A context of the font map with the Cairo surface's text settings, for pCr.
PangoContext* NewChartContext(PangoFontMap* pFontMap, cairo_t* pCr);

}  // namespace bench
}  // namespace vitalchart
