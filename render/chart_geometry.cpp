#include "render/chart_geometry.h"

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "platform/mul_div.h"

namespace vitalchart {

CChartGeometry::CChartGeometry(const RECT& rcChart, ScalePair scaleX, ScalePair scaleY)
    : m_nTop(rcChart.top),
      m_nLeft(rcChart.left),
      m_nBottom(rcChart.bottom),
      m_nRight(rcChart.right),
      m_nDenY(scaleY.nDen),
      m_nDenX(scaleX.nDen),
      m_nNumY(scaleY.nNum),
      m_nNumX(scaleX.nNum) {}

int CChartGeometry::MmToDevice(float fMillimetres) {
    const int nTenths = DoubleToInt(static_cast<double>(fMillimetres) * 10.0);
    return MulDiv(nTenths, 96, 254);
}

int CChartGeometry::MmToDeviceX(float fMillimetres) const {
    return MulDiv(MmToDevice(fMillimetres), m_nNumX, m_nDenX);
}

int CChartGeometry::MmToDeviceY(float fMillimetres) const {
    return MulDiv(MmToDevice(fMillimetres), m_nNumY, m_nDenY);
}

int CChartGeometry::ScaleX(int nReference) const {
    return MulDiv(nReference, m_nNumX, m_nDenX);
}

int CChartGeometry::EvalPosition(std::string_view expression, BOOL bVertical, UINT nCodePage) const {
    if (EqualsNoCase(nCodePage, expression, "left")) return m_nLeft;
    if (EqualsNoCase(nCodePage, expression, "top")) return m_nTop;
    if (EqualsNoCase(nCodePage, expression, "right")) return m_nRight;
    if (EqualsNoCase(nCodePage, expression, "bottom")) return m_nBottom;

    // The base is added after scaling; without "+" a figure counts from the
    // device origin, not from the chart rectangle.
    const bool bRelative = !expression.empty() && expression[0] == '+';
    if (bRelative) expression.remove_prefix(1);
    const float fValue = DoubleToFloat(crt::atof(expression));
    if (bVertical) {
        const int y = MmToDeviceY(fValue);
        return bRelative ? WrapAdd(y, m_nTop) : y;
    }
    const int x = MmToDeviceX(fValue);
    return bRelative ? WrapAdd(x, m_nLeft) : x;
}

}  // namespace vitalchart
