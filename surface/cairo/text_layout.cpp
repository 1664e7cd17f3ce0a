#include "surface/cairo/text_layout.h"

#include <hb-ot.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "platform/utf8.h"
#include "surface/cairo/font_map.h"

namespace vitalchart {

namespace {

// The platform's default cell height when a font asks for height 0.
constexpr double kDefaultCellHeight = 16.0;

// The platform's prefix rule without DT_NOPREFIX: "&&" shows one ampersand,
// "&x" shows x underlined, a final "&" shows nothing. The byte ranges to
// underline go to arrUnderlines.
std::string StripPrefixes(const std::string& strText, std::vector<std::pair<unsigned, unsigned>>& arrUnderlines) {
    std::string out;
    out.reserve(strText.size());
    std::size_t i = 0;
    while (i < strText.size()) {
        if (strText[i] != '&') {
            out += strText[i++];
            continue;
        }
        if (i + 1 >= strText.size()) break;
        if (strText[i + 1] == '&') {
            out += '&';
            i += 2;
            continue;
        }
        // The text is valid UTF-8 by now; the underlined character is kept whole.
        const std::size_t n = std::max<std::size_t>(1, Utf8SequenceLength(&strText[i + 1], strText.size() - i - 1));
        auto nStart = static_cast<unsigned>(out.size());
        out.append(strText, i + 1, n);
        arrUnderlines.emplace_back(nStart, static_cast<unsigned>(out.size()));
        i += 1 + n;
    }
    return out;
}

// What a layout is made from besides its text: every field of the font
// (those CFont::SameAs compares) and the layout flags.
std::string KeptKey(const CFont& font, bool bSingleLine, bool bPrefixes, bool bExpandTabs) {
    const LOGFONT& lf = font.m_logFont;
    const LONG nNumbers[] = {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight};
    const BYTE nBytes[] = {lf.lfItalic,       lf.lfUnderline,     lf.lfStrikeOut,   lf.lfCharSet,
                           lf.lfOutPrecision, lf.lfClipPrecision, lf.lfQuality,     lf.lfPitchAndFamily,
                           BYTE{bSingleLine}, BYTE{bPrefixes},    BYTE{bExpandTabs}};
    std::string strKey(reinterpret_cast<const char*>(nNumbers), sizeof nNumbers);
    strKey.append(reinterpret_cast<const char*>(nBytes), sizeof nBytes);
    strKey.append(lf.lfFaceName, ::strnlen(lf.lfFaceName, LF_FACESIZE));
    strKey += '\0';
    return strKey;
}

// Whether Pango lays the text out as one line of its own runs: nothing that
// breaks a line or sets a tab stop, no other control character, and nothing
// drawn over or under the glyphs.
bool IsOneLineText(const std::string& strText, bool bDecorated) {
    if (bDecorated || strText.empty()) return false;
    for (std::size_t i = 0; i < strText.size(); ++i) {
        const auto c = static_cast<unsigned char>(strText[i]);
        if (c < 0x20 || c == 0x7F) return false;
        // U+0080..U+009F (among them the next-line control U+0085), and the
        // line and paragraph separators U+2028 and U+2029.
        if (c == 0xC2 && i + 1 < strText.size() && static_cast<unsigned char>(strText[i + 1]) < 0xA0) return false;
        if (c == 0xE2 && i + 2 < strText.size() && strText[i + 1] == '\x80' &&
            (strText[i + 2] == '\xA8' || strText[i + 2] == '\xA9')) {
            return false;
        }
    }
    return true;
}

// Where the run's font puts the baseline named by eTag, in its units, for
// the run's script and language.
hb_position_t RunBaseline(const PangoItem& item, hb_ot_layout_baseline_tag_t eTag) {
    const auto eScript =
        static_cast<hb_script_t>(g_unicode_script_to_iso15924(static_cast<GUnicodeScript>(item.analysis.script)));
    hb_language_t pLanguage = hb_language_from_string(pango_language_to_string(item.analysis.language), -1);
    hb_tag_t arrScriptTags[HB_OT_MAX_TAGS_PER_SCRIPT];
    hb_tag_t arrLanguageTags[HB_OT_MAX_TAGS_PER_LANGUAGE];
    unsigned nScripts = HB_OT_MAX_TAGS_PER_SCRIPT;
    unsigned nLanguages = HB_OT_MAX_TAGS_PER_LANGUAGE;
    hb_ot_tags_from_script_and_language(eScript, pLanguage, &nScripts, arrScriptTags, &nLanguages, arrLanguageTags);
    hb_position_t nBaseline = 0;
    hb_ot_layout_get_baseline_with_fallback(pango_font_get_hb_font(item.analysis.font), eTag, HB_DIRECTION_LTR,
                                            nScripts > 0 ? arrScriptTags[nScripts - 1] : HB_OT_TAG_DEFAULT_SCRIPT,
                                            nLanguages > 0 ? arrLanguageTags[nLanguages - 1] : HB_TAG_NONE, &nBaseline);
    return nBaseline;
}

// Runs of other scripts sit on the baseline of the line's first script, as
// Pango's layout sets them: Latin in a Chinese label is lowered to the
// ideographic font's Roman baseline.
void AlignBaselines(std::vector<PangoGlyphItem>& arrRuns) {
    hb_ot_layout_baseline_tag_t eTag{};
    hb_position_t nLineBaseline = 0;
    bool bFirst = true;
    for (PangoGlyphItem& run : arrRuns) {
        if (run.item->analysis.font == nullptr) continue;
        if (bFirst) {
            eTag = hb_ot_layout_get_horizontal_baseline_tag_for_script(static_cast<hb_script_t>(
                g_unicode_script_to_iso15924(static_cast<GUnicodeScript>(run.item->analysis.script))));
        }
        const hb_position_t nRunBaseline = RunBaseline(*run.item, eTag);
        if (bFirst) nLineBaseline = nRunBaseline;
        bFirst = false;
        run.y_offset = nLineBaseline - nRunBaseline;
    }
}

void FreeRuns(std::vector<PangoGlyphItem>& arrRuns) {
    for (PangoGlyphItem& run : arrRuns) {
        pango_item_free(run.item);
        pango_glyph_string_free(run.glyphs);
    }
    arrRuns.clear();
}

// Widens rc to take in rcMore, as Pango unites the boxes of a line's runs.
void Unite(PangoRectangle& rc, const PangoRectangle& rcMore) {
    const int nLeft = std::min(rc.x, rcMore.x);
    const int nTop = std::min(rc.y, rcMore.y);
    rc.width = std::max(rc.x + rc.width, rcMore.x + rcMore.width) - nLeft;
    rc.height = std::max(rc.y + rc.height, rcMore.y + rcMore.height) - nTop;
    rc.x = nLeft;
    rc.y = nTop;
}

}  // namespace

std::shared_ptr<CTextLayout> CTextLayout::For(UINT nCodePage, cairo_t* pCr, bool bImage) {
    if (!bImage || pCr == nullptr) return std::make_shared<CTextLayout>(nCodePage, pCr);
    // Released when the thread ends; a surface still holding one keeps it.
    thread_local std::unordered_map<UINT, std::shared_ptr<CTextLayout>> t_imageText;
    std::shared_ptr<CTextLayout>& pShared = t_imageText[nCodePage];
    if (pShared == nullptr) pShared = std::make_shared<CTextLayout>(nCodePage, pCr);
    return pShared;
}

CTextLayout::CTextLayout(UINT nCodePage, cairo_t* pCr) : m_codec(nCodePage) {
    m_pFontMap = RefThreadFontMap();
    m_pPango = pango_font_map_create_context(m_pFontMap);
    // Unhinted advances give the same line widths in every format; the
    // chart's text is Chinese first.
    cairo_font_options_t* pOptions = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(pOptions, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(pOptions, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(pOptions, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(m_pPango, pOptions);
    cairo_font_options_destroy(pOptions);
    pango_context_set_language(m_pPango, pango_language_from_string("zh-cn"));
    if (pCr != nullptr) pango_cairo_update_context(pCr, m_pPango);
}

CTextLayout::~CTextLayout() {
    m_kept.clear();
    if (m_pFontDesc != nullptr) pango_font_description_free(m_pFontDesc);
    if (m_pPango != nullptr) g_object_unref(m_pPango);
    if (m_pFontMap != nullptr) g_object_unref(m_pFontMap);
}

PangoFontDescription* CTextLayout::FontFor(const CFont& font) {
    if (m_pFontDesc != nullptr && m_fontCached.SameAs(font)) return m_pFontDesc;
    if (m_pFontDesc != nullptr) pango_font_description_free(m_pFontDesc);
    m_fontCached = font;
    const LOGFONT& lf = font.m_logFont;

    m_pFontDesc = pango_font_description_new();
    std::string strFace = m_codec.ToUtf8(lf.lfFaceName, ::strnlen(lf.lfFaceName, LF_FACESIZE));
    pango_font_description_set_family(m_pFontDesc, strFace.empty() ? "System" : strFace.c_str());
    LONG nWeight = lf.lfWeight <= 0 ? FW_NORMAL : std::max<LONG>(100, std::min<LONG>(1000, lf.lfWeight));
    pango_font_description_set_weight(m_pFontDesc, static_cast<PangoWeight>(nWeight));
    pango_font_description_set_style(m_pFontDesc, lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    // A negative height is the character (em) height; a positive one the
    // cell height, ascent plus descent, which the font's own proportions
    // turn into an em height.
    double dEm;
    if (lf.lfHeight < 0) {
        dEm = std::min(kMaxFontHeight, -static_cast<double>(lf.lfHeight));
    } else {
        double dCell = lf.lfHeight == 0 ? kDefaultCellHeight : std::min(kMaxFontHeight, double(lf.lfHeight));
        constexpr double kProbe = 100.0;
        pango_font_description_set_absolute_size(m_pFontDesc, kProbe * PANGO_SCALE);
        // The face's own metrics, not those of the fallback for Chinese text.
        double dProbeCell = 0.0;
        if (PangoFont* pFont = pango_context_load_font(m_pPango, m_pFontDesc)) {
            PangoFontMetrics* pMetrics = pango_font_get_metrics(pFont, nullptr);
            dProbeCell = double(pango_font_metrics_get_ascent(pMetrics)) + pango_font_metrics_get_descent(pMetrics);
            pango_font_metrics_unref(pMetrics);
            g_object_unref(pFont);
        }
        dEm = dProbeCell > 0.0 ? dCell * kProbe * PANGO_SCALE / dProbeCell : dCell;
    }
    m_dFontEm = std::max(1.0, dEm);
    pango_font_description_set_absolute_size(m_pFontDesc, m_dFontEm * PANGO_SCALE);
    return m_pFontDesc;
}

PangoLayout* CTextLayout::MakeLayout(const char* pText, std::size_t nCount, const CFont& font, bool bSingleLine,
                                     bool bPrefixes, bool bExpandTabs, bool& bOneLine) {
    std::string strText = m_codec.ToUtf8(pText, std::min(nCount, kMaxTextBytes));
    // The platform draws a tab as one more character unless asked to expand it.
    if (!bExpandTabs) std::replace(strText.begin(), strText.end(), '\t', ' ');
    std::vector<std::pair<unsigned, unsigned>> arrUnderlines;
    if (bPrefixes) strText = StripPrefixes(strText, arrUnderlines);

    PangoLayout* pLayout = pango_layout_new(m_pPango);
    pango_layout_set_font_description(pLayout, FontFor(font));
    pango_layout_set_single_paragraph_mode(pLayout, bSingleLine);
    pango_layout_set_text(pLayout, strText.data(), static_cast<int>(strText.size()));

    const LOGFONT& lf = font.m_logFont;
    bOneLine = IsOneLineText(strText, lf.lfUnderline || lf.lfStrikeOut || !arrUnderlines.empty()) &&
               std::strlen(pango_layout_get_text(pLayout)) == strText.size();
    PangoAttrList* pAttrs = pango_attr_list_new();
    if (lf.lfUnderline) pango_attr_list_insert(pAttrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (lf.lfStrikeOut) pango_attr_list_insert(pAttrs, pango_attr_strikethrough_new(TRUE));
    for (const auto& range : arrUnderlines) {
        PangoAttribute* pAttr = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        pAttr->start_index = range.first;
        pAttr->end_index = range.second;
        pango_attr_list_insert(pAttrs, pAttr);
    }
    pango_layout_set_attributes(pLayout, pAttrs);
    pango_attr_list_unref(pAttrs);
    return pLayout;
}

CTextLayout::SKept::~SKept() {
    FreeRuns(arrRuns);
    g_slist_free(pRunList);
    if (pLayout != nullptr) g_object_unref(pLayout);
}

// Pango breaks a layout into lines by asking each of its fonts for metrics,
// and the first time a font is asked Pango lays out a sample text in that
// font in a context of its own: another font to match and shape for every
// font a chart uses, 4 of the 27 ms the command took for the example. A
// text of one line needs no breaking: it is itemized and shaped as Pango's
// layout does it, and its line measured from its runs as Pango measures a
// line.
bool CTextLayout::ShapeOneLine(SKept& kept, bool bSingleLine) {
    const char* pText = pango_layout_get_text(kept.pLayout);
    const int nLength = static_cast<int>(std::strlen(pText));
    PangoAttrList* pAttrs = pango_attr_list_new();
    pango_attr_list_insert(pAttrs, pango_attr_font_desc_new(pango_layout_get_font_description(kept.pLayout)));
    if (bSingleLine) pango_attr_list_insert(pAttrs, pango_attr_show_new(PANGO_SHOW_LINE_BREAKS));
    GList* pItems = pango_itemize_with_base_dir(m_pPango, PANGO_DIRECTION_LTR, pText, 0, nLength, pAttrs, nullptr);
    pango_attr_list_unref(pAttrs);

    const PangoShapeFlags eFlags =
        pango_context_get_round_glyph_positions(m_pPango) ? PANGO_SHAPE_ROUND_POSITIONS : PANGO_SHAPE_NONE;
    bool bOk = pItems != nullptr;
    for (GList* pNode = pItems; pNode != nullptr; pNode = pNode->next) {
        auto* pItem = static_cast<PangoItem*>(pNode->data);
        // Right-to-left and vertical text is left to Pango's own layout.
        if (!bOk || pItem->analysis.level != 0 || (pItem->analysis.flags & PANGO_ANALYSIS_FLAG_CENTERED_BASELINE)) {
            bOk = false;
            pango_item_free(pItem);
            continue;
        }
        PangoGlyphItem run{};
        run.item = pItem;
        run.glyphs = pango_glyph_string_new();
        pango_shape_item(pItem, pText, nLength, nullptr, run.glyphs, eFlags);
        kept.arrRuns.push_back(run);
    }
    g_list_free(pItems);
    if (!bOk) {
        FreeRuns(kept.arrRuns);
        return false;
    }

    AlignBaselines(kept.arrRuns);

    // The line's box and ink as Pango's layout works them out from its runs.
    PangoRectangle rcLogical{0, 0, 0, 0};
    PangoRectangle rcInk{0, 0, 0, 0};
    int nX = 0;
    for (PangoGlyphItem& run : kept.arrRuns) {
        kept.pRunList = g_slist_prepend(kept.pRunList, &run);
        PangoRectangle rcRunInk;
        PangoRectangle rcRun;
        pango_glyph_string_extents(run.glyphs, run.item->analysis.font, &rcRunInk, &rcRun);
        const int nWidth = rcRun.width;
        rcRunInk.x += nX;
        rcRunInk.y -= run.y_offset;
        rcRun.x += nX;
        rcRun.y -= run.y_offset;
        // A run without ink leaves the line's ink as it is.
        if (rcInk.width == 0 || rcInk.height == 0) {
            rcInk = rcRunInk;
        } else if (rcRunInk.width != 0 && rcRunInk.height != 0) {
            Unite(rcInk, rcRunInk);
        }
        Unite(rcLogical, rcRun);
        nX += nWidth;
    }
    kept.pRunList = g_slist_reverse(kept.pRunList);
    kept.pLine = std::make_unique<PangoLayoutLine>();
    kept.pLine->layout = kept.pLayout;
    kept.pLine->start_index = 0;
    kept.pLine->length = nLength;
    kept.pLine->runs = kept.pRunList;
    kept.pLine->is_paragraph_start = 1;
    kept.pLine->resolved_dir = PANGO_DIRECTION_LTR;

    SLine line;
    line.pLine = kept.pLine.get();
    line.rcInk = rcInk;
    line.dLogicalX = double(rcLogical.x) / PANGO_SCALE;
    line.dWidth = double(rcLogical.width) / PANGO_SCALE;
    // The line's top is the text's top, and its baseline lies its ascent below.
    line.dTop = 0.0;
    line.dHeight = double(rcLogical.height) / PANGO_SCALE;
    line.dBaseline = double(-rcLogical.y) / PANGO_SCALE;
    kept.laidOut.arrLines.assign(1, line);
    return true;
}

const CTextLayout::SLaidOut& CTextLayout::LayOut(const char* pText, std::size_t nCount, const CFont& font,
                                                 bool bSingleLine, bool bPrefixes, bool bExpandTabs) {
    std::string strKey = KeptKey(font, bSingleLine, bPrefixes, bExpandTabs);
    strKey.append(pText, nCount);
    auto found = m_kept.find(strKey);
    if (found != m_kept.end()) return found->second->laidOut;

    if (m_kept.size() >= kMaxKeptLayouts || m_nKeptBytes + nCount > kMaxKeptBytes) {
        m_kept.clear();
        m_nKeptBytes = 0;
    }
    auto pKept = std::make_unique<SKept>();
    bool bOneLine = false;
    pKept->pLayout = MakeLayout(pText, nCount, font, bSingleLine, bPrefixes, bExpandTabs, bOneLine);
    if (!bOneLine || !ShapeOneLine(*pKept, bSingleLine)) pKept->laidOut.arrLines = Lines(pKept->pLayout);
    pKept->laidOut.dFontEm = m_dFontEm;
    m_nKeptBytes += nCount;
    return m_kept.emplace(std::move(strKey), std::move(pKept)).first->second->laidOut;
}

std::vector<SLine> CTextLayout::Lines(PangoLayout* pLayout) {
    std::vector<SLine> arrLines;
    PangoLayoutIter* pIter = pango_layout_get_iter(pLayout);
    do {
        PangoLayoutLine* pLine = pango_layout_iter_get_line_readonly(pIter);
        PangoRectangle rcLine;
        pango_layout_iter_get_line_extents(pIter, nullptr, &rcLine);
        PangoRectangle rcOwn;
        SLine line;
        pango_layout_line_get_extents(pLine, &line.rcInk, &rcOwn);
        line.pLine = pLine;
        line.dLogicalX = double(rcOwn.x) / PANGO_SCALE;
        line.dWidth = double(rcOwn.width) / PANGO_SCALE;
        line.dTop = double(rcLine.y) / PANGO_SCALE;
        line.dHeight = double(rcLine.height) / PANGO_SCALE;
        line.dBaseline = double(pango_layout_iter_get_baseline(pIter)) / PANGO_SCALE;
        arrLines.push_back(line);
    } while (pango_layout_iter_next_line(pIter));
    pango_layout_iter_free(pIter);
    return arrLines;
}

}  // namespace vitalchart
