#include "tools/layout/layout_json.h"

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

// Keys in the order they are written.
using json = nlohmann::ordered_json;

json Rect(const RECT& rect) {
    return json::array({rect.left, rect.top, rect.right, rect.bottom});
}

double Tenths(double dValue) {
    const double d = std::round(dValue * 10.0) / 10.0;
    return d == 0.0 ? 0.0 : d;
}

json Points(const std::vector<POINT>& points) {
    json arr = json::array();
    for (const POINT& pt : points) {
        arr.push_back(pt.x);
        arr.push_back(pt.y);
    }
    return arr;
}

json Id(const std::string& strId, UINT nCodePage) {
    return strId.empty() ? json(nullptr) : json(ToUtf8(strId, nCodePage));
}

// The box around what was drawn and each thing drawn; a box of null and no
// lists when nothing was.
void AddDrawing(json& rOut, const ElementLayout& element, const LayoutReport& report) {
    if (element.box.IsEmpty()) {
        rOut["box"] = nullptr;
        rOut["mm"] = nullptr;
        return;
    }
    rOut["box"] = Rect(element.box.Get());
    const MillimetreBox mm = ToMillimetres(report.geometry, element.box.Get());
    rOut["mm"] = json::array({Tenths(mm.dLeft), Tenths(mm.dTop), Tenths(mm.dRight), Tenths(mm.dBottom)});
    json& rLines = rOut["lines"] = json::array();
    for (const DrawnLine& line : element.lines) rLines.push_back({line.from.x, line.from.y, line.to.x, line.to.y});
    json& rEllipses = rOut["ellipses"] = json::array();
    for (const RECT& rect : element.ellipses) rEllipses.push_back(Rect(rect));
    json& rPolygons = rOut["polygons"] = json::array();
    for (const auto& points : element.polygons) rPolygons.push_back(Points(points));
    json& rHatches = rOut["hatches"] = json::array();
    for (const auto& points : element.hatches) rHatches.push_back(Points(points));
    json& rFills = rOut["fills"] = json::array();
    for (const RECT& rect : element.fills) rFills.push_back(Rect(rect));
    json& rTexts = rOut["texts"] = json::array();
    for (const DrawnText& text : element.texts) {
        rTexts.push_back({{"text", ToUtf8(text.strText, report.nCodePage)},
                          {"box", Rect(text.box)},
                          {"color", ColourName(text.crColor)}});
    }
}

json Element(const ElementLayout& element, const LayoutReport& report) {
    json out;
    out["line"] = element.nLine;
    out["column"] = element.nColumn;
    out["element"] = element.pRule->pszName;
    out["acts"] = element.bActs;
    if (element.pRule->role == ElementRole::kDeclares) out["id"] = Id(element.strId, report.nCodePage);
    AddDrawing(out, element, report);
    if (element.DrewAnything()) {
        out["pen"] = {{"id", Id(element.strPenId, report.nCodePage)},
                      {"style", PenStyleName(element.pen.m_nStyle)},
                      {"width", element.pen.m_nWidth},
                      {"color", ColourName(element.pen.m_crColor)}};
        const LOGFONT& lf = element.font.m_logFont;
        out["font"] = {{"id", Id(element.strFontId, report.nCodePage)},
                       {"face", ToUtf8(lf.lfFaceName, report.nCodePage)},
                       {"height", std::labs(lf.lfHeight)},
                       {"weight", lf.lfWeight},
                       {"italic", lf.lfItalic != 0},
                       {"underline", lf.lfUnderline != 0}};
    }
    return out;
}

}  // namespace

std::string LayoutJson(const LayoutReport& report) {
    // One element a line: compact enough for the example's hundred and more
    // elements, and easy to read or grep.
    auto dump = [](const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); };
    const ScalePair x = report.geometry.GetScaleX();
    const ScalePair y = report.geometry.GetScaleY();
    std::string str = "{\"template\":" + dump(report.strTemplate) +
                      ",\"chart\":" + dump(Rect(report.geometry.GetRect())) +
                      ",\"scale\":" + dump({{"x", {x.nNum, x.nDen}}, {"y", {y.nNum, y.nDen}}}) + ",\"pages\":[\n";
    for (std::size_t nPage = 0; nPage < report.pages.size(); ++nPage) {
        const PageLayout& page = report.pages[nPage];
        str += "{\"data\":" + dump(page.strData.empty() ? json(nullptr) : json(page.strData)) + ",\"elements\":[\n";
        for (std::size_t i = 0; i < page.elements.size(); ++i) {
            str += dump(Element(page.elements[i], report)) + (i + 1 < page.elements.size() ? ",\n" : "\n");
        }
        json outside = json::object();
        AddDrawing(outside, page.outside, report);
        str += "],\"outside\":" + dump(outside) + "}" + (nPage + 1 < report.pages.size() ? ",\n" : "\n");
    }
    return str + "]}\n";
}

}  // namespace cli
}  // namespace vitalchart
