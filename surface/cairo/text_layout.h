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
    // Drawn with Pango's renderer; a line shaped on its own (CTextLayout)
    // is no line of its layout and goes to nothing else of Pango's.
    PangoLayoutLine* pLine;
    PangoRectangle rcInk;  // in Pango units from the line's drawing origin
    double dLogicalX;      // left edge of the line's box from its drawing origin
    double dWidth;
    double dTop;
    double dHeight;
    double dBaseline;
};

// The fonts and text layout of Cairo surfaces: the platform's fonts
// (LOGFONT) as Pango font descriptions with the thread's chart font map
// (font_map.h), and chart text in a code page laid out as the platform lays
// it out.
//
// Texts laid out are kept with their layouts: the renderer measures a label
// with DT_CALCRECT and then draws the same bytes in the same font with the
// same format, and charts repeat many labels (the hours of every day, the
// scale's numbers, the form's captions on every page). A layout depends on
// nothing else than its text, font and flags once the resolution and font
// options are fixed, so a kept one is the layout a new one would be. Images
// all have the same resolution and font options, so the images one thread
// makes in one code page share one CTextLayout, and a label is shaped once a
// thread; a PDF or SVG document has its own.
class CTextLayout {
public:
    // Character heights beyond this only cost memory for glyph images.
    static constexpr double kMaxFontHeight = 2048.0;
    // Longer texts are cut: the shaper measures in int, and no chart cell
    // comes near this.
    static constexpr std::size_t kMaxTextBytes = 1u << 16;

    // The text of a surface in code page nCodePage drawing on pCr (null: the
    // surface failed, and its text is only measured): for an image
    // (bImage) the one its thread shares among its images in that code
    // page, else one of its own. Used on the calling thread only.
    static std::shared_ptr<CTextLayout> For(UINT nCodePage, cairo_t* pCr, bool bImage);

    // Takes the thread's font map and makes a context with pCr's resolution
    // and font options (the defaults when pCr is null).
    CTextLayout(UINT nCodePage, cairo_t* pCr);
    ~CTextLayout();
    CTextLayout(const CTextLayout&) = delete;
    CTextLayout& operator=(const CTextLayout&) = delete;

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
        // A text of one line shaped without Pango's line breaking: its runs
        // (items with their glyphs) and the line Pango's renderer draws them
        // from, which refers to the layout for the text only.
        std::vector<PangoGlyphItem> arrRuns;
        GSList* pRunList = nullptr;
        std::unique_ptr<PangoLayoutLine> pLine;
    };

    PangoLayout* MakeLayout(const char* pText, std::size_t nCount, const CFont& font, bool bSingleLine, bool bPrefixes,
                            bool bExpandTabs, bool& bOneLine);
    bool ShapeOneLine(SKept& kept, bool bSingleLine);
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
