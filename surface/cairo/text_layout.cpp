#include "surface/cairo/text_layout.h"

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
                                     bool bPrefixes, bool bExpandTabs) {
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
    if (pLayout != nullptr) g_object_unref(pLayout);
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
    pKept->pLayout = MakeLayout(pText, nCount, font, bSingleLine, bPrefixes, bExpandTabs);
    pKept->laidOut.arrLines = Lines(pKept->pLayout);
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
        pango_layout_line_get_extents(pLine, nullptr, &rcOwn);
        SLine line;
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
