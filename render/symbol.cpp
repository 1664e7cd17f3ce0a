#include "render/chart_renderer.h"

namespace vitalchart {

void CChartRenderer::DrawSymbol(int, int, int) {}

}  // namespace vitalchart
