#pragma once

#include <functional>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "tools/layout/element_layout.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// The layout of a template over its pages, with what a reader needs to
// read it: where the chart lies and in which code page its texts are.
struct LayoutReport {
    std::string strTemplate;  // the template's path as given
    UINT nCodePage = CP_UTF8;
    CChartGeometry geometry;
    std::vector<PageLayout> pages;
};

// A device coordinate as millimetres from the chart rectangle's left edge
// (bVertical false) or top edge: the template's "+N" for that place, give
// or take the device unit it was rounded to.
double DeviceToMillimetres(const CChartGeometry& geometry, int nDevice, bool bVertical);

// A device rectangle in millimetres from the chart's top-left corner:
// left, top, right, bottom.
struct MillimetreBox {
    double dLeft, dTop, dRight, dBottom;
};
MillimetreBox ToMillimetres(const CChartGeometry& geometry, const RECT& rect);

// A number with one decimal, whatever the process locale ("27.5", "-0.3").
std::string OneDecimal(double dValue);

// "solid", "dash", "dot", "dash-dot" or "dash-dot-dot".
const char* PenStyleName(int nStyle);

// What an element drew, counted, with its first few texts quoted as fnText
// writes them: "12 lines, 3 ellipses, 2 texts "a" "b"".
std::string DescribeDrawing(const ElementLayout& element, const std::function<std::string(const std::string&)>& fnText);

// "#rrggbb".
std::string ColourName(COLORREF crColor);

}  // namespace cli
}  // namespace vitalchart
