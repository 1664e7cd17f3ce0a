#include "render/chart_page.h"

#include <climits>

#include "render/chart_renderer.h"

namespace vitalchart {

bool DrawChartPage(CDC* pDC, const CChartGeometry& geometry, const CChartTemplate& chartTemplate,
                   const std::string& strData, BOOL bFillBackground, CWalkObserver* pObserver) {
    if (pDC == nullptr) return true;
    try {
        CChartRenderer renderer(pDC, geometry, chartTemplate.GetPath());
        renderer.SetWalkObserver(pObserver);
        const std::int32_t nLength = strData.size() > static_cast<std::size_t>(INT32_MAX)
                                         ? INT32_MAX
                                         : static_cast<std::int32_t>(strData.size());
        renderer.ReadVitalRecords(strData.data(), nLength);
        renderer.DrawChart(chartTemplate, bFillBackground);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace vitalchart
