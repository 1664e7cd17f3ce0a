#include "render/chart_renderer.h"
namespace vitalchart {
CChartRenderer::CChartRenderer() = default;
CChartRenderer::~CChartRenderer() = default;
int CChartRenderer::MmToDevice(float) const { return 0; }
int CChartRenderer::EvalPosition(std::string, BOOL) const { return 0; }
BOOL CChartRenderer::IsColorAllowed() const { return 1; }
UINT CChartRenderer::GetCodePage() const { return CP_UTF8; }
BOOL CChartRenderer::ReadVitalRecords(const char*, std::int32_t) { return 0; }
void CChartRenderer::DrawChart(BOOL) {}
BOOL CChartRenderer::GetSizeByTemplet(float*, float*, const char*) { return 0; }
BOOL CChartRenderer::DrawTemplate(CByteBuffer*) { return 1; }
void CChartRenderer::SelectPenById(const std::string&) {}
void CChartRenderer::SelectFontById(const std::string&) {}
CPenEntry::~CPenEntry() = default;
CFontEntry::~CFontEntry() = default;
}
