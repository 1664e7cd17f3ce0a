#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/check/chart_grid.h"
#include "tools/check/finding_log.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

// Explains the readings of the data texts against the template: readings
// that no element draws, elements that no reading feeds, values a curve
// cannot plot, and columns that fall outside the grid of the curve or row
// that draws them (or beyond the columns it declares); and the readings of a
// page against one another: two in one column, values beyond a curve's scale
// with no rule for them, heart rate below pulse, cooling re-measurements with
// nothing to link to; and days after surgery counted without a surgery.
class CReadingChecker {
public:
    // Findings go to the log; values are checked with the value checker.
    CReadingChecker(CFindingLog& log, CValueChecker& values)
        : m_log(log), m_values(values), m_nCodePage(log.GetCodePage()) {}

    // Checks the readings' values, and, when nDataTexts data texts were given,
    // each reading against the elements that draw it.
    void CheckEachReading(const TagsSeen& seen, std::size_t nDataTexts, const CChartGrid& grid);
    // After CheckEachReading, on the same seen tags and grid, which must stay
    // between the two: the readings of a page against one another, and what
    // no reading or no element uses.
    void CheckAcross(const TagsSeen& seen, const CChartGrid& grid);

private:
    void CheckColumns(const TagSeen& reading, const std::string& strName, const std::vector<const TagSeen*>& drawers,
                      const CChartGrid& grid);
    void CheckReadingValue(const TagSeen& reading, const std::string& strName,
                           const std::vector<const TagSeen*>& drawers);
    // The checks that compare readings with one another, over the elements
    // that draw them.
    void CheckAcrossReadings(const TagsSeen& seen, const std::vector<const TagSeen*>& drawers, const CChartGrid& grid);
    // Whether a text row is a field of one cell (a header such as 姓名):
    // it declares one column, or, declaring none, has readings in cell 0 only.
    bool IsField(const TagSeen& drawer) const;

    // Where an element that draws readings by column puts them, read once.
    struct Placement {
        int nDeclared = 0;  // the columns it declares, or 0
        bool bField = false;
        bool bPlots = false;  // a curve that places values
        SeriesAxes axes;
        int x0 = 0;  // a text row: cell 0 and the width of a cell
        int cx = 0;
        UnitSpan grid;    // the grid it is drawn on, or the chart
        UnitSpan height;  // a curve: the height of that grid, or of the chart
        bool bRuled = false;
    };
    const Placement& PlacementOf(const TagSeen& drawer, const CChartGrid& grid);

    CFindingLog& m_log;
    CValueChecker& m_values;
    UINT m_nCodePage;
    // By folded vital-sign name: whether any reading lies in a cell other than 0.
    std::unordered_map<std::string, bool> m_beyondCellZero;
    std::unordered_map<const TagSeen*, Placement> m_placements;

    // What CheckEachReading leaves for CheckAcross.
    struct Unused {
        std::string strName;
        const TagSeen* pFirst;
        std::size_t nCount;
    };
    bool m_bDataTexts = false;
    std::vector<const TagSeen*> m_drawers;  // the elements that draw readings
    std::vector<std::string> m_drawnNames;  // their names
    std::vector<bool> m_drawerUsed;         // whether a reading feeds each
    std::vector<Unused> m_unused;
};

}  // namespace cli
}  // namespace vitalchart
