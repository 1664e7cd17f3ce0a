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
#include <memory>
#include <string>
#include <unordered_map>
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
// Texts laid out are kept with their layouts: the renderer measures a label
// with DT_CALCRECT and then draws the same bytes in the same font with the
// same format, and a chart repeats many labels (the hours of every day, the
// scale's numbers); each is shaped once a surface. A layout depends on
// nothing else (the surface's resolution and font options are fixed when it
// starts), so a kept one is the layout a new one would be.
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

    // How much is kept at most: layouts, and bytes of their texts.
    static constexpr std::size_t kMaxKeptLayouts = 256;
    static constexpr std::size_t kMaxKeptBytes = kMaxTextBytes;

    // A text laid out: its lines (never none) and the em height of its font
    // in device units.
    struct SLaidOut {
        std::vector<SLine> arrLines;
        double dFontEm = 0.0;
    };

    // The text laid out in the font: one paragraph or lines broken at line
    // feeds; with bPrefixes the platform's '&' prefixes; tabs as tab stops
    // only with bExpandTabs (else each is one blank wide). Valid until the
    // next call.
    const SLaidOut& LayOut(const char* pText, std::size_t nCount, const CFont& font, bool bSingleLine, bool bPrefixes,
                           bool bExpandTabs);

private:
    // A kept layout; the lines point into it.
    struct SKept {
        SKept() = default;
        ~SKept();
        SKept(const SKept&) = delete;
        SKept& operator=(const SKept&) = delete;
        PangoLayout* pLayout = nullptr;
        SLaidOut laidOut;
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
    // By the text's bytes, its font's LOGFONT and the layout flags.
    std::unordered_map<std::string, std::unique_ptr<SKept>> m_kept;
    std::size_t m_nKeptBytes = 0;
};

}  // namespace vitalchart
