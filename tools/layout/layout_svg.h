#pragma once

#include <string>

#include "tools/layout/layout_report.h"

namespace vitalchart {
namespace cli {

// The SVG drawing of a page (as the Cairo surface writes it, in points, its
// device units 1/nDpi inch) with the page's element boxes laid over it: a
// coloured frame around what each element drew, labelled with the element's
// line, and its line, kind and drawing as the frame's tooltip. The overlay
// goes last, so it is drawn over the chart; an SVG without a closing tag is
// returned as it is.
std::string OverlayLayout(const std::string& strSvg, const PageLayout& page, const LayoutReport& report, int nDpi);

}  // namespace cli
}  // namespace vitalchart
