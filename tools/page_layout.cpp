#include "tools/page_layout.h"

#include <algorithm>

#include "render/chart_renderer.h"

namespace vitalchart {
namespace cli {

namespace {

CChartGeometry PlaceChart(const CommandLine& line, int nDpi, const CChartTemplate& chartTemplate) {
    const ScalePair scaleX = line.scaleX.value_or(ScalePair{nDpi, 96});
    const ScalePair scaleY = line.scaleY.value_or(ScalePair{nDpi, 96});
    if (line.rect) return CChartGeometry(*line.rect, scaleX, scaleY);
    float fWidth = 167.0f;
    float fHeight = 213.0f;
    float fDeclaredWidth = 0.0f;
    float fDeclaredHeight = 0.0f;
    if (CChartRenderer().GetSizeByTemplet(&fDeclaredWidth, &fDeclaredHeight, chartTemplate)) {
        fWidth = fDeclaredWidth;
        fHeight = fDeclaredHeight;
    }
    const CChartGeometry scale(RECT{0, 0, 0, 0}, scaleX, scaleY);
    return CChartGeometry(RECT{0, 0, scale.MmToDeviceX(fWidth), scale.MmToDeviceY(fHeight)}, scaleX, scaleY);
}

}  // namespace

PageLayout LayOutPages(const CommandLine& line, Format format, const CChartTemplate& chartTemplate, UINT nCodePage,
                       int nPages) {
    PageLayout layout;
    PageSettings& settings = layout.settings;
    settings.nDpi = line.dpi.value_or(format == Format::kPdf ? 600 : 96);
    layout.geometry = PlaceChart(line, settings.nDpi, chartTemplate);
    const RECT rect = layout.geometry.GetRect();
    settings.nWidth = std::max(1, std::max(rect.left, rect.right));
    settings.nHeight = std::max(1, std::max(rect.top, rect.bottom));
    settings.nPages = nPages;
    settings.nCodePage = nCodePage;
    settings.bPrinting = line.print.value_or(format == Format::kPdf) ? 1 : 0;
    if (line.pngCompression) settings.nPngCompression = *line.pngCompression;
    return layout;
}

}  // namespace cli
}  // namespace vitalchart
