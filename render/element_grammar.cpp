#include "render/element_grammar.h"

#include <cstring>
#include <iterator>

#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

using K = AttributeKind;
using N = AttributeNeed;
constexpr Axis kNoAxis = Axis::kNone;
constexpr Axis kX = Axis::kX;
constexpr Axis kY = Axis::kY;
constexpr const char* kShapeWords = "cross|dot|circle|triangle|filled-triangle|circle-dot";

// Each element's attributes in the order its operation reads them.

constexpr AttributeRule kSizeAttributes[] = {
    {"width", K::kDecimal, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the declared width is 0",
     "chart width in millimetres, for the host's size query"},
    {"height", K::kDecimal, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the declared height is 0",
     "chart height in millimetres, for the host's size query"},
    {"print-color", K::kWord, kNoAxis, N::kOptional, 0, "false", "true", "print colour stays as it is (on)",
     "`false` turns print colour off from here on"},
};

constexpr AttributeRule kPenAttributes[] = {
    {"id", K::kText, kNoAxis, N::kDeclares, 0, nullptr, nullptr, "the pen is not declared",
     "the id that `pen-id` selects it by"},
    {"pen-width", K::kInteger, kNoAxis, N::kDeclares, 0, nullptr, nullptr, "the pen is not declared",
     "width in 1/96 inch, scaled with the horizontal pair"},
    {"color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "black", "pen colour"},
    {"pen-style", K::kInteger, kNoAxis, N::kOptional, 0, nullptr, nullptr, "0, solid",
     "0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot"},
};

constexpr AttributeRule kFontAttributes[] = {
    {"id", K::kText, kNoAxis, N::kDeclares, 0, nullptr, nullptr, "the font is not declared",
     "the id that `font-id` selects it by"},
    {"font-name", K::kText, kNoAxis, N::kDeclares, 0, nullptr, nullptr, "the font is not declared",
     "face name, at most 31 bytes"},
    {"font-size", K::kInteger, kNoAxis, N::kDeclares, 0, nullptr, nullptr, "the font is not declared",
     "character height in 1/96 inch, scaled with the horizontal pair"},
    {"font-bold", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "normal weight", "`true`: bold"},
    {"font-underline", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "not underlined", "`true`: underlined"},
    {"font-inital", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "upright",
     "`true`: italic (the name is spelt this way)"},
    {"text-color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the font has no colour of its own",
     "text colour, taken only when all three figures are given"},
};

constexpr AttributeRule kLineAttributes[] = {
    {"left", K::kPosition, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "start x; the family's origin"},
    {"top", K::kPosition, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "start y; the family's origin"},
    {"right", K::kPosition, kX, N::kCoordinate, 0, nullptr, nullptr, "0",
     "end x; for a family of vertical lines, the spacing"},
    {"bottom", K::kPosition, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "end y; for `direction=\"y\"`, the spacing"},
    {"pen-id", K::kPenId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current pen", "pen to draw with"},
    {"times", K::kInteger, kNoAxis, N::kOptional, 0, nullptr, nullptr, "0: one line", "number of cells of a family"},
    {"multiple", K::kInteger, kNoAxis, N::kOptional, 1, nullptr, nullptr, "1", "factor on the spacing"},
    {"direction", K::kWord, kNoAxis, N::kOptional, 0, "y", "x", "vertical lines", "`y`: horizontal lines"},
};

constexpr AttributeRule kTextAttributes[] = {
    {"text", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn, no font is selected", "the caption"},
    {"left", K::kPosition, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "box left"},
    {"top", K::kPosition, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "box top"},
    {"right", K::kLength, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "**box width**"},
    {"bottom", K::kLength, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "**box height**"},
    {"multiple", K::kInteger, kNoAxis, N::kOptional, 1, nullptr, nullptr, "1", "factor on `spans`"},
    {"spans", K::kLength, kX, N::kOptional, 0, nullptr, nullptr, "0",
     "distance between captions; advance per character of vertical text"},
    {"times", K::kInteger, kNoAxis, N::kOptional, 1, nullptr, nullptr, "1", "number of captions"},
    {"direction", K::kWord, kNoAxis, N::kOptional, 0, "y", "x", "to the right", "`y`: captions repeat downwards"},
    {"step", K::kInteger, kNoAxis, N::kOptional, 0, nullptr, nullptr, "0",
     "added to the caption's number for each next caption"},
    {"align", K::kWord, kNoAxis, N::kOptional, 0, "center|right|vertical", "left", "left",
     "`center`, `right` or `vertical`"},
    {"font-id", K::kFontId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current font", "font to write with"},
};

// What curves and their links share: the readings they plot and the axes.
constexpr AttributeRule kSeriesName = {
    "name", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn", "vital-sign name of the readings"};
constexpr AttributeRule kSeriesX = {"x", K::kPosition, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "x of column 0"};
constexpr AttributeRule kSeriesY = {"y",     K::kPosition, kY,  N::kCoordinate,     0,
                                    nullptr, nullptr,      "0", "y of `base-value`"};
constexpr AttributeRule kSeriesCx = {"cx", K::kLength, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "column width"};
constexpr AttributeRule kSeriesCy = {
    "cy", K::kLength, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "height of `scale` units of value"};
constexpr AttributeRule kSeriesScale = {"scale",
                                        K::kDecimal,
                                        kNoAxis,
                                        N::kDraws,
                                        0,
                                        nullptr,
                                        nullptr,
                                        "nothing is drawn",
                                        "value units that `cy` covers; 0 places no reading"};
constexpr AttributeRule kSeriesBase = {
    "base-value", K::kDecimal, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn", "the value plotted at `y`"};
// How many columns (or cells) the readings take: what `vitalchart check`
// judges their column by. Nothing drawn depends on it.
constexpr AttributeRule kSeriesColumns = {"columns",
                                          K::kInteger,
                                          kNoAxis,
                                          N::kOptional,
                                          0,
                                          nullptr,
                                          nullptr,
                                          "each reading is judged by where it falls on the grid",
                                          "the readings take columns 0 to `columns` − 1, all of which lie on the grid",
                                          AttributeUse::kChecking};

constexpr AttributeRule kLineOutAttributes[] = {
    kSeriesName,
    kSeriesX,
    kSeriesY,
    kSeriesCx,
    kSeriesCy,
    kSeriesScale,
    kSeriesBase,
    {"symbol", K::kSymbol, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn", "marker of ordinary readings"},
    {"special-symbol", K::kSymbol, kNoAxis, N::kOptional, -1, nullptr, nullptr, "−1: `symbol`",
     "marker of readings with flag 1"},
    {"special-symbol2", K::kSymbol, kNoAxis, N::kOptional, -1, nullptr, nullptr, "−1: `symbol`",
     "marker of readings with flag 2"},
    {"pen-id", K::kPenId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current pen", "pen of the joining lines"},
    {"symbol-color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the kind's own colour",
     "colour of ordinary markers"},
    {"special-symbol-color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the kind's own colour",
     "colour of markers of readings with flag 1"},
    {"special-symbol2-color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the kind's own colour",
     "colour of markers of readings with flag 2"},
    {"symbol-shape", K::kWord, kNoAxis, N::kOptional, 0, kShapeWords, nullptr, "the kind's own shape",
     "shape of ordinary markers, drawn even for a kind that has none"},
    {"special-symbol-shape", K::kWord, kNoAxis, N::kOptional, 0, kShapeWords, nullptr, "the kind's own shape",
     "shape of markers of readings with flag 1"},
    {"special-symbol2-shape", K::kWord, kNoAxis, N::kOptional, 0, kShapeWords, nullptr, "the kind's own shape",
     "shape of markers of readings with flag 2"},
    {"min-value", K::kDecimal, kNoAxis, N::kOptional, 0, nullptr, nullptr, "no lower bound",
     "the scale's lowest value, for `below-word` and `below-pin`"},
    {"max-value", K::kDecimal, kNoAxis, N::kOptional, 0, nullptr, nullptr, "no upper bound",
     "the scale's highest value, for `above-word` and `above-pin`"},
    {"below-word", K::kText, kNoAxis, N::kOptional, 0, nullptr, nullptr, "plotted as it is",
     "a reading below `min-value` is this word under the bound (不升), with no point and the curve broken; beside the "
     "pinned point with `below-pin`"},
    {"above-word", K::kText, kNoAxis, N::kOptional, 0, nullptr, nullptr, "plotted as it is",
     "a reading above `max-value` is this word at the bound (过快), with no point and the curve broken; beside the "
     "pinned point with `above-pin`"},
    {"below-pin", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "plotted as it is",
     "`true`: a reading below `min-value` is pinned at the bound with its value (or `below-word`) beside it"},
    {"above-pin", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "plotted as it is",
     "`true`: a reading above `max-value` is pinned at the bound with its value (or `above-word`) beside it"},
    {"offscale-font-id", K::kFontId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current font",
     "font of the words and values written at a bound"},
    kSeriesColumns,
};

constexpr AttributeRule kLineBlockAttributes[] = {
    kSeriesName,
    kSeriesX,
    kSeriesY,
    kSeriesCx,
    kSeriesCy,
    kSeriesScale,
    kSeriesBase,
    {"symbol", K::kSymbol, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn",
     "marker of a reading in its own column"},
    {"pen-id", K::kPenId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current pen", "pen of the links"},
    {"symbol-color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the kind's own colour",
     "colour of the markers"},
    {"symbol-shape", K::kWord, kNoAxis, N::kOptional, 0, kShapeWords, nullptr, "the kind's own shape",
     "shape of the markers, drawn even for a kind that has none"},
    kSeriesColumns,
};

constexpr AttributeRule kTextOutAttributes[] = {
    kSeriesName,
    {"x", K::kPosition, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "left edge of cell 0"},
    {"y", K::kPosition, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "top of every cell"},
    {"cx", K::kLength, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "cell width"},
    {"cy", K::kLength, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "cell height"},
    {"spans", K::kLength, kX, N::kOptional, 0, nullptr, nullptr, "0", "advance per character of vertical text"},
    {"align", K::kWord, kNoAxis, N::kOptional, 0, "center|right|vertical", "left", "left",
     "`center`, `right` or `vertical`"},
    {"font-id", K::kFontId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current font", "font to write with"},
    {"stagger", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "every value centred vertically",
     "`true`: values alternate between the upper and lower half of their cells, the page's first on top"},
    {"columns", K::kInteger, kNoAxis, N::kOptional, 0, nullptr, nullptr,
     "each reading is judged by where it falls on the grid; a row whose readings all lie in cell 0 is a field",
     "the readings take cells 0 to `columns` − 1, all of which lie on the grid; `1`: a field of one cell (a "
     "header such as 姓名 or 页码), not judged against the grid",
     AttributeUse::kChecking},
};

constexpr AttributeRule kRingAttributes[] = {
    {"name", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn",
     "the vital sign whose markers are ringed (a curve drawn before this element)"},
    {"over", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn",
     "the vital signs whose readings meet them, `|` between names"},
    {"ring-color", K::kColor, kNoAxis, N::kOptional, 0, nullptr, nullptr, "red", "colour of the rings and dots"},
    {"ring-radius", K::kLength, kX, N::kOptional, 0, nullptr, nullptr, "1.6 mm", "radius of a ring"},
};

constexpr AttributeRule kHatchAttributes[] = {
    {"upper", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn",
     "the vital sign whose curve lies above (heart rate)"},
    {"lower", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn",
     "the vital sign whose curve lies below (pulse)"},
    {"pen-id", K::kPenId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current pen", "pen of the strokes"},
    {"spacing", K::kLength, kX, N::kOptional, 0, nullptr, nullptr, "1 mm", "distance between strokes along x"},
    {"direction", K::kWord, kNoAxis, N::kOptional, 0, "falling", "rising", "rising",
     "`falling`: strokes fall to the right"},
};

constexpr AttributeRule kReasonAttributes[] = {
    {"names", K::kText, kNoAxis, N::kDraws, 0, nullptr, nullptr, "nothing is drawn",
     "the vital signs whose reasons are written, `|` between names"},
    {"x", K::kPosition, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "left edge of cell 0"},
    {"y", K::kPosition, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "top of every cell"},
    {"cx", K::kLength, kX, N::kCoordinate, 0, nullptr, nullptr, "0", "cell width"},
    {"cy", K::kLength, kY, N::kCoordinate, 0, nullptr, nullptr, "0", "cell height"},
    {"spans", K::kLength, kX, N::kOptional, 0, nullptr, nullptr, "0", "advance per character"},
    {"font-id", K::kFontId, kNoAxis, N::kOptional, 0, nullptr, nullptr, "the current font", "font to write with"},
};

constexpr AttributeRule kReadingAttributes[] = {
    {"vitalsigns", K::kText, kNoAxis, N::kOptional, 0, nullptr, nullptr, "empty",
     "the vital-sign name; an element's `name` selects its readings by it, ignoring ASCII case"},
    {"vitalsignsvalues", K::kText, kNoAxis, N::kOptional, 0, nullptr, nullptr, "empty",
     "the value, kept as written: a number for curves, any text for text rows"},
    {"vitalsignsoriginalvalues", K::kText, kNoAxis, N::kOptional, 0, nullptr, nullptr, "empty",
     "the original value for `vitallineblock`"},
    {"cellindex", K::kInteger, kNoAxis, N::kOptional, 0, nullptr, nullptr, "0",
     "the column (curves) or cell (text rows)"},
    {"originalCellIndex", K::kInteger, kNoAxis, N::kOptional, -1, nullptr, nullptr, "−1",
     "the original value's column; −1 means none"},
    {"specialSymbolFlag", K::kInteger, kNoAxis, N::kOptional, 0, nullptr, nullptr, "0",
     "1 or 2 choose `special-symbol` or `special-symbol2`"},
    {"reason", K::kText, kNoAxis, N::kOptional, 0, nullptr, nullptr, "none",
     "why a reading was not taken (拒测, 外出, 请假): written by `vitalreason`, the value left empty"},
    {"comparator", K::kWord, kNoAxis, N::kOptional, 0, "<|>", nullptr, "none",
     "`<` or `>`: the value is only a bound, beyond the scale when it lies on the scale's bound"},
};

constexpr AttributeRule kPrintAttributes[] = {
    {"resume", K::kWord, kNoAxis, N::kOptional, 0, "true", "false", "not a continuation page",
     "`true`: a continuation page; printed, it carries the readings without the ruled form"},
};

template <std::size_t N>
constexpr std::size_t Count(const AttributeRule (&)[N]) {
    return N;
}

// The search order of the keyword look-up; vitalsize (107) comes before
// vitaltextout (106).
const ElementRule kTemplateElements[] = {
    {"vitalsign", kElementSign, ElementRole::kRoot, nullptr, nullptr, 0, "root element; its line is skipped"},
    {"vitalpen", kElementPen, ElementRole::kDeclares, &CChartRenderer::DeclarePen, kPenAttributes,
     Count(kPenAttributes), "declares a pen"},
    {"vitalfont", kElementFont, ElementRole::kDeclares, &CChartRenderer::DeclareFont, kFontAttributes,
     Count(kFontAttributes), "declares a font"},
    {"vitalline", kElementLine, ElementRole::kForm, &CChartRenderer::DrawVitalLine, kLineAttributes,
     Count(kLineAttributes), "a grid line, or a family of evenly spaced lines"},
    {"vitaltext", kElementText, ElementRole::kForm, &CChartRenderer::DrawVitalText, kTextAttributes,
     Count(kTextAttributes), "a caption, a numbered row or column of captions, or vertical text"},
    {"vitallineout", kElementLineOut, ElementRole::kReadings, &CChartRenderer::DrawVitalLineOut, kLineOutAttributes,
     Count(kLineOutAttributes), "a curve: the readings of one vital sign as markers joined by lines"},
    {"vitalsize", kElementSize, ElementRole::kSetting, &CChartRenderer::ApplySize, kSizeAttributes,
     Count(kSizeAttributes), "chart size and print colour"},
    {"vitaltextout", kElementTextOut, ElementRole::kReadings, &CChartRenderer::DrawVitalTextOut, kTextOutAttributes,
     Count(kTextOutAttributes), "a text row: the readings of one vital sign written into cells"},
    {"vitallineblock", kElementLineBlock, ElementRole::kReadings, &CChartRenderer::DrawVitalLineBlock,
     kLineBlockAttributes, Count(kLineBlockAttributes), "links from original to re-measured values (such as cooling)"},
    {"vitalring", kElementRing, ElementRole::kReadings, &CChartRenderer::DrawVitalRing, kRingAttributes,
     Count(kRingAttributes), "rings around markers that readings of other curves meet"},
    {"vitalhatch", kElementHatch, ElementRole::kReadings, &CChartRenderer::DrawVitalHatch, kHatchAttributes,
     Count(kHatchAttributes), "hatching between two curves where the first lies above the second"},
    {"vitalreason", kElementReason, ElementRole::kReadings, &CChartRenderer::DrawVitalReason, kReasonAttributes,
     Count(kReasonAttributes), "why readings were not taken, written in their columns"},
};

const ElementRule kDataTags[] = {
    {"d", kDataReading, ElementRole::kDataTag, &CChartRenderer::ReadReading, kReadingAttributes,
     Count(kReadingAttributes), "one reading"},
    {"print", kDataPrint, ElementRole::kDataTag, &CChartRenderer::ReadPrintTag, kPrintAttributes,
     Count(kPrintAttributes), "continuation printing"},
};

static_assert(std::size(kTemplateElements) + std::size(kDataTags) == kElementRuleCount,
              "every rule has its bookkeeping index");

}  // namespace

const AttributeRule* ElementRule::Find(const std::string& strName) const {
    const int n = IndexOf(strName);
    return n < 0 ? nullptr : &pAttributes[n];
}

int ElementRule::IndexOf(const std::string& strName) const {
    for (std::size_t i = 0; i < nAttributes; ++i) {
        if (strName == pAttributes[i].pszName) return static_cast<int>(i);
    }
    return -1;
}

const ElementRule* TemplateElementsBegin() {
    return std::begin(kTemplateElements);
}
const ElementRule* TemplateElementsEnd() {
    return std::end(kTemplateElements);
}
std::size_t TemplateElementCount() {
    return std::size(kTemplateElements);
}
const ElementRule* DataTagsBegin() {
    return std::begin(kDataTags);
}
const ElementRule* DataTagsEnd() {
    return std::end(kDataTags);
}

int ElementRuleIndex(int nCode) {
    for (std::size_t i = 0; i < std::size(kTemplateElements); ++i) {
        if (kTemplateElements[i].nCode == nCode) return static_cast<int>(i);
    }
    for (std::size_t i = 0; i < std::size(kDataTags); ++i) {
        if (kDataTags[i].nCode == nCode) return static_cast<int>(std::size(kTemplateElements) + i);
    }
    return -1;
}

const ElementRule* FindElementRule(int nCode) {
    const int n = ElementRuleIndex(nCode);
    if (n < 0) return nullptr;
    const std::size_t i = static_cast<std::size_t>(n);
    return i < std::size(kTemplateElements) ? &kTemplateElements[i] : &kDataTags[i - std::size(kTemplateElements)];
}

}  // namespace vitalchart
