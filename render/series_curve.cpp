#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawVitalLineOut(const CMapStringToString&) {}
void CChartRenderer::DrawVitalLineBlock(const CMapStringToString&) {}

}  // namespace vitalchart
