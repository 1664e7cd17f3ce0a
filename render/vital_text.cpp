#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawVitalText(const CMapStringToString&) {}

}  // namespace vitalchart
