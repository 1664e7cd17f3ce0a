#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawVitalLine(const CMapStringToString&) {}

}  // namespace vitalchart
