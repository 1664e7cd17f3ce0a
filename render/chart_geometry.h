#pragma once

#include <string_view>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// One axis's scale: reference units (96 per inch) times nNum over nDen give
// device units.
struct ScalePair {
    int nNum = 96;
    int nDen = 96;
};

// Where a chart lies on its surface and how template lengths become device
// units: the chart rectangle and the two scale pairs a host passes, and the
// conversion of template positions (millimetres, relative figures, edge
// keywords) to device coordinates that every painter goes through.
class CChartGeometry {
public:
    CChartGeometry() = default;
    // The rectangle (device units) and the horizontal and vertical pairs.
    CChartGeometry(const RECT& rcChart, ScalePair scaleX, ScalePair scaleY);

    // Millimetres to reference units (96 per inch), through whole tenths:
    // 0.7f lies just below 0.7 and gives 6 tenths.
    static int MmToDevice(float fMillimetres);
    // Millimetres to device units on the x axis (horizontal pair) or the y axis.
    int MmToDeviceX(float fMillimetres) const;
    int MmToDeviceY(float fMillimetres) const;
    // Reference units to device units by the horizontal pair: pen widths,
    // font sizes and marker outlines scale with it.
    int ScaleX(int nReference) const;

    // A template position ("left"/"top"/"right"/"bottom" compared without
    // case in the code page, "+N" relative to the rectangle, or N from the
    // device origin, in millimetres) as a device coordinate on the x axis
    // (bVertical 0) or the y axis (1).
    int EvalPosition(std::string_view expression, BOOL bVertical, UINT nCodePage) const;

    RECT GetRect() const { return {m_nLeft, m_nTop, m_nRight, m_nBottom}; }
    int GetLeft() const { return m_nLeft; }
    int GetTop() const { return m_nTop; }
    ScalePair GetScaleX() const { return {m_nNumX, m_nDenX}; }
    ScalePair GetScaleY() const { return {m_nNumY, m_nDenY}; }

private:
    int m_nTop = 0;
    int m_nLeft = 0;
    int m_nBottom = 0;
    int m_nRight = 0;
    int m_nDenY = 96;
    int m_nDenX = 96;
    int m_nNumY = 96;
    int m_nNumX = 96;
};

}  // namespace vitalchart
