#include "tools/chart_placement.h"

#include <algorithm>

#include "render/chart_renderer.h"

namespace vitalchart {
namespace cli {

ChartSizeMm DeclaredChartSize(const CChartTemplate& chartTemplate) {
    ChartSizeMm size = {167.0f, 213.0f};
    float fDeclaredWidth = 0.0f;
    float fDeclaredHeight = 0.0f;
    if (CChartRenderer().GetSizeByTemplet(&fDeclaredWidth, &fDeclaredHeight, chartTemplate)) {
        size = {fDeclaredWidth, fDeclaredHeight};
    }
    return size;
}

CChartGeometry PlaceChart(const CommandLine& line, int nDpi, const CChartTemplate& chartTemplate) {
    const ScalePair scaleX = line.scaleX.value_or(ScalePair{nDpi, 96});
    const ScalePair scaleY = line.scaleY.value_or(ScalePair{nDpi, 96});
    if (line.rect) return CChartGeometry(*line.rect, scaleX, scaleY);
    const ChartSizeMm size = DeclaredChartSize(chartTemplate);
    const CChartGeometry scale(RECT{0, 0, 0, 0}, scaleX, scaleY);
    return CChartGeometry(RECT{0, 0, scale.MmToDeviceX(size.fWidth), scale.MmToDeviceY(size.fHeight)}, scaleX, scaleY);
}

PageSize PageSizeOf(const CChartGeometry& geometry) {
    const RECT rect = geometry.GetRect();
    return {std::max(1, std::max(rect.left, rect.right)), std::max(1, std::max(rect.top, rect.bottom))};
}

}  // namespace cli
}  // namespace vitalchart
