#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawVitalTextOut(const CMapStringToString&) {}

}  // namespace vitalchart
