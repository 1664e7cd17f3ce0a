#pragma once

#include <string>

#include "render/chart_geometry.h"
#include "render/chart_template.h"
#include "tools/layout/element_layout.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// Draws one page on rSurface exactly as render draws it, and fills rPage
// with what each element of the template drew. False when drawing ran out
// of memory.
bool LayOutPage(CDC& rSurface, const CChartGeometry& geometry, const CChartTemplate& chartTemplate,
                const std::string& strData, BOOL bFillBackground, PageLayout& rPage);

}  // namespace cli
}  // namespace vitalchart
