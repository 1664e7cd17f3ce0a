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
#include <string>
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
// (LOGFONT) as Pango font descriptions with the thread's chart font map
// (font_map.h), and chart text in the surface's code page laid out as the
// platform lays it out.
//
// The last text laid out is kept: the renderer measures a label with
// DT_CALCRECT and then draws the same bytes in the same font with the same
// format, and the draw takes the measured layout instead of shaping the text
// again. A layout depends on nothing else (the surface's resolution and font
// options are fixed when it starts), so the kept one is the layout a new one
// would be.
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

    // Takes the thread's font map and makes the context; pCr (may be null:
    // text is then only measured) gives the target's resolution and font
    // options.
    void Start(cairo_t* pCr);

    // The lines of the text laid out in the font: one paragraph or lines
    // broken at line feeds; with bPrefixes the platform's '&' prefixes; tabs
    // as tab stops only with bExpandTabs (else each is one blank wide). Never
    // empty. Valid until the next call; the same text, font and flags as the
    // last call give the same lines again without laying them out anew.
    const std::vector<SLine>& LayOut(const char* pText, std::size_t nCount, const CFont& font, bool bSingleLine,
                                     bool bPrefixes, bool bExpandTabs);
    // The em height of the font of the text laid out last, device units.
    double GetFontEm() const { return m_kept.dFontEm; }

private:
    // The last text laid out, and what it was laid out from.
    struct SKept {
        PangoLayout* pLayout = nullptr;
        std::vector<SLine> arrLines;
        std::string strBytes;  // as given, in the surface's code page
        CFont font;
        bool bSingleLine = false;
        bool bPrefixes = false;
        bool bExpandTabs = false;
        double dFontEm = 0.0;
    };

    PangoLayout* MakeLayout(const char* pText, std::size_t nCount, const CFont& font, bool bSingleLine, bool bPrefixes,
                            bool bExpandTabs);
    static std::vector<SLine> Lines(PangoLayout* pLayout);
    PangoFontDescription* FontFor(const CFont& font);

    PangoFontMap* m_pFontMap = nullptr;
    PangoContext* m_pPango = nullptr;
    CFont m_fontCached;
    PangoFontDescription* m_pFontDesc = nullptr;
    double m_dFontEm = 0.0;
    CTextCodec m_codec;
    SKept m_kept;
};

}  // namespace vitalchart
