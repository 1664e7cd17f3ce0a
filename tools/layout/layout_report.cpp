#include "tools/layout/layout_report.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vitalchart {
namespace cli {

double DeviceToMillimetres(const CChartGeometry& geometry, int nDevice, bool bVertical) {
    const ScalePair pair = bVertical ? geometry.GetScaleY() : geometry.GetScaleX();
    const RECT rect = geometry.GetRect();
    const double dUnits = static_cast<double>(nDevice) - (bVertical ? rect.top : rect.left);
    if (pair.nNum == 0) return 0.0;
    // Device units to 96ths of an inch by the scale pair, then to millimetres.
    return dUnits * pair.nDen / pair.nNum * 25.4 / 96.0;
}

MillimetreBox ToMillimetres(const CChartGeometry& geometry, const RECT& rect) {
    return {DeviceToMillimetres(geometry, rect.left, false), DeviceToMillimetres(geometry, rect.top, true),
            DeviceToMillimetres(geometry, rect.right, false), DeviceToMillimetres(geometry, rect.bottom, true)};
}

std::string OneDecimal(double dValue) {
    // Rounded to tenths first, so that no "-0.0" is written.
    double dTenths = std::round(dValue * 10.0) / 10.0;
    if (dTenths == 0.0) dTenths = 0.0;
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, dTenths, std::chars_format::fixed, 1);
    return std::string(buf, result.ptr);
}

namespace {

// At most this many of an element's texts are quoted.
constexpr std::size_t kQuotedTexts = 4;

std::string Count(std::size_t n, const char* pszOne, const char* pszMany) {
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}

}  // namespace

std::string DescribeDrawing(const ElementLayout& element,
                            const std::function<std::string(const std::string&)>& fnText) {
    std::string str;
    auto add = [&str](const std::string& strPart) { str += (str.empty() ? "" : ", ") + strPart; };
    if (!element.lines.empty()) add(Count(element.lines.size(), "line", "lines"));
    if (!element.ellipses.empty()) add(Count(element.ellipses.size(), "ellipse", "ellipses"));
    if (!element.polygons.empty()) add(Count(element.polygons.size(), "polygon", "polygons"));
    if (!element.hatches.empty()) add(Count(element.hatches.size(), "hatched area", "hatched areas"));
    if (!element.fills.empty()) add(Count(element.fills.size(), "fill", "fills"));
    if (!element.texts.empty()) {
        std::string strTexts = Count(element.texts.size(), "text", "texts");
        for (std::size_t i = 0; i < element.texts.size() && i < kQuotedTexts; ++i) {
            strTexts += " \"" + fnText(element.texts[i].strText) + "\"";
        }
        if (element.texts.size() > kQuotedTexts) strTexts += " ...";
        add(strTexts);
    }
    return str;
}

const char* PenStyleName(int nStyle) {
    static const char* const kNames[] = {"solid", "dash", "dot", "dash-dot", "dash-dot-dot"};
    return nStyle >= 0 && nStyle <= 4 ? kNames[nStyle] : "solid";
}

std::string ColourName(COLORREF crColor) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", static_cast<unsigned>(GetRValue(crColor)),
                  static_cast<unsigned>(GetGValue(crColor)), static_cast<unsigned>(GetBValue(crColor)));
    return buf;
}

}  // namespace cli
}  // namespace vitalchart
