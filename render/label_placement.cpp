#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawLabel(const std::string&, const RECT&, TextPlacement, UINT) {}
void CChartRenderer::DrawVerticalText(const std::string&, const RECT&, int) {}

}  // namespace vitalchart
