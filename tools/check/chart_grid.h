#pragma once

#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "render/series_axes.h"
#include "tools/check/tag_seen.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// A stretch of device units, both ends in it.
struct UnitSpan {
    int nFrom = 0;
    int nTo = 0;

    bool Holds(int n) const { return n >= nFrom && n <= nTo; }
    bool Holds(const UnitSpan& span) const { return span.nFrom >= nFrom && span.nTo <= nTo; }
};

// The chart as the renderer places it for `vitalchart check` and for a
// picture rendered at its default scale: a rectangle from the device origin
// to the declared size, at 96 device units per inch, with template positions
// read by the renderer's own geometry (whole tenths of a millimetre, MulDiv
// rounding, wrapping sums). It knows the vertical rules of the template's
// vitalline elements, against which the columns of a curve or a text row are
// judged: the grid an element is drawn on is the rules that cross it, not
// every line of the form.
class CChartGrid {
public:
    // Edge keywords are compared without case in the code page.
    explicit CChartGrid(UINT nCodePage) : m_nCodePage(nCodePage) {}

    // The chart's size in millimetres, which the edge keywords right and bottom stand for.
    void SetChartSize(float fWidthMm, float fHeightMm);
    // Collects the vertical rules that the template's vitalline elements draw.
    void Compute(const std::vector<TagSeen>& elements);

    // A position or length of the element in device units on the attribute's
    // axis, as its painter reads it; 0 when absent.
    int Position(const TagSeen& tag, const char* pszName) const;
    // A curve's axes as its painter reads them; false when it places no value.
    bool ReadAxes(const TagSeen& tag, SeriesAxes& rAxes) const;

    // The horizontal extent of the vertical rules that cross the band from
    // nTop to nBottom (a band of no height: that pass through it); false, with
    // the chart's width, when none does.
    bool RuledAcross(int nTop, int nBottom, UnitSpan& rX) const;
    // The part of the grid a curve is drawn in: the vertical rules that run
    // through its base line and through the value one scale above it, their
    // horizontal extent and the height they all share; false, with the
    // chart's rectangle, when no rule runs through both.
    bool ScaleArea(const SeriesAxes& axes, UnitSpan& rX, UnitSpan& rY) const;

    // Device units at 96 per inch as millimetres to a tenth, "12.5 mm": the
    // whole millimetre when it lands on the same unit ("10.0 mm" for 38
    // units, where 10.05 mm lies), else the nearest tenth.
    static std::string Mm(int nUnits);

private:
    // One vertical line, or a family of them: the x of its lines (or the
    // cells they rule) and the height they run over.
    struct Rule {
        UnitSpan x;
        UnitSpan y;
    };

    UINT m_nCodePage;
    CChartGeometry m_geometry;
    std::vector<Rule> m_rules;
};

}  // namespace cli
}  // namespace vitalchart
