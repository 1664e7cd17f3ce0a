#include "benchmark/trace_replay.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace vitalchart {
namespace bench {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr unsigned kCenter = 0x1;  // DT_CENTER
constexpr unsigned kRight = 0x2;   // DT_RIGHT
constexpr unsigned kNoClip = 0x100;
constexpr unsigned kExpandTabs = 0x40;
constexpr long kOpaque = 2;

// The trace's words and its one quoted text, unescaped.
void SplitTraceLine(const std::string& strLine, std::vector<std::string>& arrWords, std::string& strText) {
    std::size_t i = 0;
    while (i < strLine.size()) {
        if (strLine[i] == ' ') {
            ++i;
        } else if (strLine[i] == '"') {
            for (++i; i < strLine.size() && strLine[i] != '"'; ++i) {
                if (strLine[i] != '\\' || i + 1 >= strLine.size()) {
                    strText += strLine[i];
                } else if (strLine[i + 1] == 'x' && i + 3 < strLine.size()) {
                    strText += static_cast<char>(std::strtol(strLine.substr(i + 2, 2).c_str(), nullptr, 16));
                    i += 3;
                } else {
                    strText += strLine[++i];
                }
            }
            ++i;
        } else {
            const std::size_t nEnd = std::min(strLine.find(' ', i), strLine.size());
            arrWords.push_back(strLine.substr(i, nEnd - i));
            i = nEnd;
        }
    }
}

long ParseNumber(const std::string& strWord) {
    if (strWord[0] == '#') return std::strtol(strWord.c_str() + 1, nullptr, 16);
    if (strWord.compare(0, 2, "0x") == 0) return std::strtol(strWord.c_str() + 2, nullptr, 16);
    return std::strtol(strWord.c_str(), nullptr, 10);
}

void SetColor(cairo_t* pCr, long nRgb) {
    cairo_set_source_rgb(pCr, ((nRgb >> 16) & 0xFF) / 255.0, ((nRgb >> 8) & 0xFF) / 255.0, (nRgb & 0xFF) / 255.0);
}

struct SState {
    long nPenStyle = 0;
    long nPenWidth = 1;
    long nPenColor = 0;
    long nBrush = 0xFFFFFF;
    long nTextColor = 0;
    long nBkMode = kOpaque;
    double x = 0.0;
    double y = 0.0;
    std::string strFace = "System";
    long nHeight = 16;
    long nWeight = 400;
    bool bItalic = false;
    bool bUnderline = false;
    PangoFontDescription* pDesc = nullptr;  // of the font above, made when text needs it
};

void ApplyPen(cairo_t* pCr, const SState& s) {
    static const double kDash[] = {18, 6};
    static const double kDot[] = {3, 3};
    static const double kDashDot[] = {9, 6, 3, 6};
    static const double kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    const long nWidth = std::max(1L, s.nPenWidth);
    SetColor(pCr, s.nPenColor);
    cairo_set_line_width(pCr, static_cast<double>(nWidth));
    const double* pDash = nullptr;
    int nDash = 0;
    if (nWidth == 1 && s.nPenStyle == 1) pDash = kDash, nDash = 2;
    if (nWidth == 1 && s.nPenStyle == 2) pDash = kDot, nDash = 2;
    if (nWidth == 1 && s.nPenStyle == 3) pDash = kDashDot, nDash = 4;
    if (nWidth == 1 && s.nPenStyle == 4) pDash = kDashDotDot, nDash = 6;
    cairo_set_dash(pCr, pDash, nDash, 0.0);
    cairo_set_line_cap(pCr, nWidth > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(pCr, nWidth > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
}

void FillAndStroke(cairo_t* pCr, const SState& s) {
    SetColor(pCr, s.nBrush);
    cairo_fill_preserve(pCr);
    ApplyPen(pCr, s);
    cairo_stroke(pCr);
}

PangoFontDescription* FontOf(PangoContext* pPango, SState& s) {
    if (s.pDesc != nullptr) return s.pDesc;
    s.pDesc = pango_font_description_new();
    pango_font_description_set_family(s.pDesc, s.strFace.c_str());
    pango_font_description_set_weight(s.pDesc, static_cast<PangoWeight>(s.nWeight));
    pango_font_description_set_style(s.pDesc, s.bItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    double dEm = -static_cast<double>(s.nHeight);
    if (s.nHeight >= 0) {
        // A cell height: the face's ascent and descent give the em.
        const double dCell = s.nHeight == 0 ? 16.0 : static_cast<double>(s.nHeight);
        pango_font_description_set_absolute_size(s.pDesc, 100.0 * PANGO_SCALE);
        dEm = dCell;
        if (PangoFont* pFont = pango_context_load_font(pPango, s.pDesc)) {
            PangoFontMetrics* pMetrics = pango_font_get_metrics(pFont, nullptr);
            const double dProbe =
                double(pango_font_metrics_get_ascent(pMetrics)) + pango_font_metrics_get_descent(pMetrics);
            if (dProbe > 0.0) dEm = dCell * 100.0 * PANGO_SCALE / dProbe;
            pango_font_metrics_unref(pMetrics);
            g_object_unref(pFont);
        }
    }
    pango_font_description_set_absolute_size(s.pDesc, std::max(1.0, dEm) * PANGO_SCALE);
    return s.pDesc;
}

// Lays the text out once and paints it line by line from (dLeft, dTop),
// aligned within dLeft to dRight.
void ShowText(cairo_t* pCr, PangoContext* pPango, SState& s, std::string strText, bool bSingleLine, double dLeft,
              double dRight, double dTop, unsigned nFormat) {
    if ((nFormat & kExpandTabs) == 0) std::replace(strText.begin(), strText.end(), '\t', ' ');
    PangoLayout* pLayout = pango_layout_new(pPango);
    pango_layout_set_font_description(pLayout, FontOf(pPango, s));
    pango_layout_set_single_paragraph_mode(pLayout, bSingleLine);
    pango_layout_set_text(pLayout, strText.data(), static_cast<int>(strText.size()));
    if (s.bUnderline) {
        PangoAttrList* pAttrs = pango_attr_list_new();
        pango_attr_list_insert(pAttrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(pLayout, pAttrs);
        pango_attr_list_unref(pAttrs);
    }
    PangoLayoutIter* pIter = pango_layout_get_iter(pLayout);
    do {
        PangoLayoutLine* pLine = pango_layout_iter_get_line_readonly(pIter);
        PangoRectangle rcLine;
        pango_layout_iter_get_line_extents(pIter, nullptr, &rcLine);
        PangoRectangle rcOwn;
        pango_layout_line_get_extents(pLine, nullptr, &rcOwn);
        const double dWidth = double(rcOwn.width) / PANGO_SCALE;
        double x = dLeft;
        if (nFormat & kCenter) {
            x = dLeft + (dRight - dLeft - dWidth) / 2.0;
        } else if (nFormat & kRight) {
            x = dRight - dWidth;
        }
        if (s.nBkMode == kOpaque && dWidth > 0.0) {
            const double dLineTop = dTop + double(rcLine.y) / PANGO_SCALE;
            cairo_rectangle(pCr, std::floor(x), std::floor(dLineTop), std::ceil(x + dWidth) - std::floor(x),
                            std::ceil(dLineTop + double(rcLine.height) / PANGO_SCALE) - std::floor(dLineTop));
            cairo_set_source_rgb(pCr, 1.0, 1.0, 1.0);
            cairo_fill(pCr);
        }
        SetColor(pCr, s.nTextColor);
        cairo_move_to(pCr, x - double(rcOwn.x) / PANGO_SCALE,
                      dTop + double(pango_layout_iter_get_baseline(pIter)) / PANGO_SCALE);
        pango_cairo_show_layout_line(pCr, pLine);
    } while (pango_layout_iter_next_line(pIter));
    pango_layout_iter_free(pIter);
    g_object_unref(pLayout);
    cairo_new_path(pCr);
}

}  // namespace

CTraceReplay::CTraceReplay(const std::string& strTrace) {
    static const struct {
        const char* pszName;
        EOp eOp;
    } kOps[] = {{"pen", EOp::kPen},         {"brush", EOp::kBrush},
                {"font", EOp::kFont},       {"textcolor", EOp::kTextColor},
                {"bkmode", EOp::kBkMode},   {"moveto", EOp::kMoveTo},
                {"lineto", EOp::kLineTo},   {"ellipse", EOp::kEllipse},
                {"polygon", EOp::kPolygon}, {"fillrect", EOp::kFillRect},
                {"textout", EOp::kTextOut}, {"drawtext", EOp::kDrawText}};
    std::size_t nStart = 0;
    while (nStart < strTrace.size()) {
        std::size_t nEnd = strTrace.find('\n', nStart);
        if (nEnd == std::string::npos) nEnd = strTrace.size();
        std::vector<std::string> arrWords;
        SOp op{EOp::kPen, {}, {}};
        SplitTraceLine(strTrace.substr(nStart, nEnd - nStart), arrWords, op.strText);
        nStart = nEnd + 1;
        if (arrWords.empty()) continue;
        const auto* pKnown = std::find_if(std::begin(kOps), std::end(kOps),
                                          [&](const auto& known) { return arrWords[0] == known.pszName; });
        if (pKnown == std::end(kOps)) continue;
        op.eOp = pKnown->eOp;
        for (std::size_t i = 1; i < arrWords.size(); ++i) op.arrNums.push_back(ParseNumber(arrWords[i]));
        m_arrOps.push_back(std::move(op));
    }
}

void CTraceReplay::Draw(cairo_t* pCr, PangoContext* pPango) const {
    SState s;
    auto num = [](const SOp& op, std::size_t i) { return i < op.arrNums.size() ? op.arrNums[i] : 0L; };
    for (const SOp& op : m_arrOps) {
        switch (op.eOp) {
            case EOp::kPen:
                s.nPenStyle = num(op, 0);
                s.nPenWidth = num(op, 1);
                s.nPenColor = num(op, 2);
                break;
            case EOp::kBrush:
                s.nBrush = num(op, 0);
                break;
            case EOp::kFont:
                if (s.pDesc != nullptr) pango_font_description_free(s.pDesc);
                s.pDesc = nullptr;
                s.strFace = op.strText.empty() ? std::string("System") : op.strText;
                s.nHeight = num(op, 0);
                s.nWeight = num(op, 1) <= 0 ? 400 : num(op, 1);
                s.bItalic = num(op, 2) != 0;
                s.bUnderline = num(op, 3) != 0;
                break;
            case EOp::kTextColor:
                s.nTextColor = num(op, 0);
                break;
            case EOp::kBkMode:
                s.nBkMode = num(op, 0);
                break;
            case EOp::kMoveTo:
                s.x = static_cast<double>(num(op, 0));
                s.y = static_cast<double>(num(op, 1));
                break;
            case EOp::kLineTo: {
                // One-unit lines along an axis keep their ends on pixel edges
                // and leave out the end pixel; others are centred on pixels.
                const double x1 = static_cast<double>(num(op, 0));
                const double y1 = static_cast<double>(num(op, 1));
                const long nWidth = std::max(1L, s.nPenWidth);
                const double dHalf = nWidth % 2 == 1 ? 0.5 : 0.0;
                const bool bHorizontal = nWidth == 1 && s.y == y1 && s.x != x1;
                const bool bVertical = nWidth == 1 && s.x == x1 && s.y != y1;
                const double dx = bHorizontal ? (x1 < s.x ? 1.0 : 0.0) : dHalf;
                const double dy = bVertical ? (y1 < s.y ? 1.0 : 0.0) : dHalf;
                ApplyPen(pCr, s);
                cairo_move_to(pCr, s.x + dx, s.y + dy);
                cairo_line_to(pCr, x1 + dx, y1 + dy);
                cairo_stroke(pCr);
                s.x = x1;
                s.y = y1;
                break;
            }
            case EOp::kEllipse: {
                const double l = static_cast<double>(std::min(num(op, 0), num(op, 2)));
                const double r = static_cast<double>(std::max(num(op, 0), num(op, 2)));
                const double t = static_cast<double>(std::min(num(op, 1), num(op, 3)));
                const double b = static_cast<double>(std::max(num(op, 1), num(op, 3)));
                if (r - l < 1.0 || b - t < 1.0) break;
                cairo_save(pCr);
                cairo_translate(pCr, (l + r) / 2.0, (t + b) / 2.0);
                cairo_scale(pCr, std::max(0.25, (r - l - 1.0) / 2.0), std::max(0.25, (b - t - 1.0) / 2.0));
                cairo_arc(pCr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
                cairo_close_path(pCr);
                cairo_restore(pCr);
                FillAndStroke(pCr, s);
                break;
            }
            case EOp::kPolygon: {
                const double dHalf = std::max(1L, s.nPenWidth) % 2 == 1 ? 0.5 : 0.0;
                for (std::size_t i = 0; i + 1 < op.arrNums.size(); i += 2) {
                    cairo_line_to(pCr, op.arrNums[i] + dHalf, op.arrNums[i + 1] + dHalf);
                }
                cairo_close_path(pCr);
                cairo_set_fill_rule(pCr, CAIRO_FILL_RULE_EVEN_ODD);
                FillAndStroke(pCr, s);
                break;
            }
            case EOp::kFillRect:
                cairo_rectangle(pCr, static_cast<double>(num(op, 0)), static_cast<double>(num(op, 1)),
                                static_cast<double>(num(op, 2) - num(op, 0)),
                                static_cast<double>(num(op, 3) - num(op, 1)));
                SetColor(pCr, num(op, 4));
                cairo_fill(pCr);
                break;
            case EOp::kTextOut:
                ShowText(pCr, pPango, s, op.strText, true, static_cast<double>(num(op, 0)),
                         static_cast<double>(num(op, 0)), static_cast<double>(num(op, 1)), 0);
                break;
            case EOp::kDrawText: {
                const auto nFormat = static_cast<unsigned>(num(op, 4));
                const bool bClip = (nFormat & kNoClip) == 0;
                if (bClip) {
                    cairo_rectangle(pCr, static_cast<double>(num(op, 0)), static_cast<double>(num(op, 1)),
                                    static_cast<double>(num(op, 2) - num(op, 0)),
                                    static_cast<double>(num(op, 3) - num(op, 1)));
                    cairo_clip(pCr);
                }
                ShowText(pCr, pPango, s, op.strText, false, static_cast<double>(num(op, 0)),
                         static_cast<double>(num(op, 2)), static_cast<double>(num(op, 1)), nFormat);
                if (bClip) cairo_reset_clip(pCr);
                break;
            }
        }
    }
    if (s.pDesc != nullptr) pango_font_description_free(s.pDesc);
}

std::string ChartFontsConf() {
    const char* pszChosen = std::getenv("VITALCHART_FONTS_CONF");
    return pszChosen != nullptr ? pszChosen : VITALCHART_FONTS_CONF_FILE;
}

PangoFontMap* NewChartFontMap() {
    PangoFontMap* pFontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    FcConfig* pConfig = FcInitLoadConfig();
    FcConfigParseAndLoad(pConfig, reinterpret_cast<const FcChar8*>(ChartFontsConf().c_str()), FcFalse);
    FcConfigBuildFonts(pConfig);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(pFontMap), pConfig);
    FcConfigDestroy(pConfig);
    return pFontMap;
}

PangoContext* NewChartContext(PangoFontMap* pFontMap, cairo_t* pCr) {
    PangoContext* pPango = pango_font_map_create_context(pFontMap);
    cairo_font_options_t* pOptions = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(pOptions, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(pOptions, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(pOptions, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(pPango, pOptions);
    cairo_font_options_destroy(pOptions);
    pango_context_set_language(pPango, pango_language_from_string("zh-cn"));
    pango_cairo_update_context(pCr, pPango);
    return pPango;
}

}  // namespace bench
}  // namespace vitalchart
