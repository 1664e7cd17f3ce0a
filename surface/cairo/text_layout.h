#pragma once

// The chart's platform names first: the text library's headers define TRUE
// and FALSE as macros.
#include "surface/cairo/text_codec.h"
#include "vitalchart/platform/gdi_objects.h"
// clang-format off
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
// clang-format on

#include <cstddef>
#include <vector>

namespace vitalchart {

// One laid-out line of text, in device units relative to the text's top-left.
struct SLine {
    PangoLayoutLine* pLine;
    double dLogicalX;  // left edge of the line's box from its drawing origin
    double dWidth;
    double dTop;
    double dHeight;
    double dBaseline;
};

// The fonts and text layout of one Cairo surface: the platform's fonts
// (LOGFONT) as Pango font descriptions with the chart's font map, and chart
// text in the surface's code page laid out as the platform lays it out.
class CTextLayout {
public:
    // Character heights beyond this only cost memory for glyph images.
    static constexpr double kMaxFontHeight = 2048.0;
    // Longer texts are cut: the shaper measures in int, and no chart cell
    // comes near this.
    static constexpr std::size_t kMaxTextBytes = 1u << 16;

    explicit CTextLayout(UINT nCodePage);
    ~CTextLayout();
    CTextLayout(const CTextLayout&) = delete;
    CTextLayout& operator=(const CTextLayout&) = delete;

    // Makes the font map and context; pCr (may be null: text is then only
    // measured) gives the target's resolution and font options.
    void Start(cairo_t* pCr);

    // A layout of the text in the font: one paragraph or lines broken at line
    // feeds; with bPrefixes the platform's '&' prefixes; tabs as tab stops
    // only with bExpandTabs (else each is one blank wide). The caller unrefs it.
    PangoLayout* MakeLayout(const char* pText, std::size_t nCount, const CFont& font, bool bSingleLine, bool bPrefixes,
                            bool bExpandTabs);
    // The layout's lines with their extents.
    static std::vector<SLine> Lines(PangoLayout* pLayout);
    // The em height of the last font laid out, device units.
    double GetFontEm() const { return m_dFontEm; }

private:
    PangoFontDescription* FontFor(const CFont& font);

    FcConfig* m_pFcConfig = nullptr;
    PangoFontMap* m_pFontMap = nullptr;
    PangoContext* m_pPango = nullptr;
    CFont m_fontCached;
    PangoFontDescription* m_pFontDesc = nullptr;
    double m_dFontEm = 0.0;
    CTextCodec m_codec;
};

}  // namespace vitalchart
