#include "tools/init/exact_millimetres.h"

#include <cmath>
#include <cstdlib>

#include "render/chart_geometry.h"

namespace vitalchart {
namespace cli {

std::string TenthsFigure(int nTenths) {
    const std::string strWhole = std::to_string(std::abs(nTenths) / 10);
    const std::string strSign = nTenths < 0 ? "-" : "";
    if (nTenths % 10 == 0) return strSign + strWhole;
    return strSign + strWhole + "." + std::to_string(std::abs(nTenths) % 10);
}

int ReferenceUnitsOf(const std::string& strMillimetres) {
    // At 96 units per inch on both axes a device unit is a reference unit.
    static const CChartGeometry kReference(RECT{0, 0, 0, 0}, ScalePair{96, 96}, ScalePair{96, 96});
    return kReference.EvalPosition(strMillimetres, 0, CP_UTF8);
}

std::string ExactMillimetres(int nReference) {
    // A reference unit is 2.6 tenths: a few tenths either side of the
    // length hold every figure that reads as it.
    const double dTenths = nReference * 254.0 / 96.0;
    const int nNearest = static_cast<int>(std::lround(dTenths));
    std::string strBest;
    double dBestDistance = 0.0;
    for (int nTenths = nNearest - 3; nTenths <= nNearest + 3; ++nTenths) {
        const std::string str = TenthsFigure(nTenths);
        if (ReferenceUnitsOf(str) != nReference) continue;
        if (nTenths % 10 == 0) return str;
        const double dDistance = std::fabs(nTenths - dTenths);
        if (strBest.empty() || dDistance < dBestDistance) {
            strBest = str;
            dBestDistance = dDistance;
        }
    }
    return strBest;
}

}  // namespace cli
}  // namespace vitalchart
