#include "tools/layout/page_layout.h"

#include "render/chart_page.h"
#include "tools/layout/attributing_dc.h"
#include "tools/layout/layout_recorder.h"

namespace vitalchart {
namespace cli {

bool LayOutPage(CDC& rSurface, const CChartGeometry& geometry, const CChartTemplate& chartTemplate,
                const std::string& strData, BOOL bFillBackground, PageLayout& rPage) {
    CLayoutRecorder recorder(rPage, &rSurface);
    CAttributingDC surface(rSurface, recorder);
    return DrawChartPage(&surface, geometry, chartTemplate, strData, bFillBackground, &recorder);
}

}  // namespace cli
}  // namespace vitalchart
