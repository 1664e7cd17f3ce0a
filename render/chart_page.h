#pragma once

#include <string>

#include "render/chart_geometry.h"
#include "render/chart_template.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {

class CWalkObserver;

// Draws one chart page on the surface exactly as DrawPlugin does, but over a
// template already in memory: a host that draws many pages reads its
// template once. False only when drawing ran out of memory (the surface's
// state is restored then, as DrawPlugin restores it). pObserver, when given,
// follows the walk element by element (see CWalkObserver).
bool DrawChartPage(CDC* pDC, const CChartGeometry& geometry, const CChartTemplate& chartTemplate,
                   const std::string& strData, BOOL bFillBackground, CWalkObserver* pObserver = nullptr);

}  // namespace vitalchart
