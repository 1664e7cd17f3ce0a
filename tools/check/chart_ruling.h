#pragma once

#include <string>
#include <vector>

#include "tools/check/tag_seen.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// The chart's size and the horizontal extent of its ruled grid, in
// millimetres from the chart's left edge, as the template's vitalline
// elements draw it: where a reading's column may fall.
class CChartRuling {
public:
    // Edge keywords are compared without case in the code page.
    explicit CChartRuling(UINT nCodePage) : m_nCodePage(nCodePage) {}

    // The chart's size, which the edge keywords right and bottom stand for.
    void SetChartSize(double fWidthMm, double fHeightMm);
    // The grid's extent from the template's vitalline elements; without any,
    // the chart's width.
    void Compute(const std::vector<TagSeen>& elements);

    // A position of the template in millimetres from the chart's top-left; 0
    // for an absent one.
    double PositionMm(const std::string* pValue) const;
    // The grid's left and right edges, after Compute.
    double GetLeftMm() const { return m_fLeftMm; }
    double GetRightMm() const { return m_fRightMm; }
    double GetChartHeightMm() const { return m_fChartHeightMm; }

private:
    UINT m_nCodePage;
    double m_fChartWidthMm = 0.0;
    double m_fChartHeightMm = 0.0;
    double m_fLeftMm = 0.0;
    double m_fRightMm = 0.0;
};

}  // namespace cli
}  // namespace vitalchart
