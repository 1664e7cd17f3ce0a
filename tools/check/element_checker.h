#pragma once

#include <cstddef>
#include <vector>

#include "tools/check/chart_grid.h"
#include "tools/check/declarations.h"
#include "tools/check/finding_log.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

// Explains the template's elements once the walk has seen them all: the size
// query's vitalsize, pens and fonts, and drawing elements that draw nothing,
// miss a coordinate, or misread a value or a reference. What an element needs
// comes from its rule in the element grammar.
class CElementChecker {
public:
    // Findings go to the log; values are checked with the value checker.
    CElementChecker(CFindingLog& log, CValueChecker& values)
        : m_log(log), m_values(values), m_declarations(log, values), m_grid(log.GetCodePage()) {}

    // Checks the template's elements, in order, and measures the chart's grid.
    void CheckElements(const std::vector<TagSeen>& elements);
    // The chart's size and grid, after CheckElements.
    const CChartGrid& GetGrid() const { return m_grid; }

private:
    void CheckDrawing(const TagSeen& tag, std::size_t nOrder);
    // The columns a curve or a text row declares: a count of at least 1, all
    // of them on the grid it is drawn on.
    void CheckDeclaredColumns(const TagSeen& tag);

    CFindingLog& m_log;
    CValueChecker& m_values;
    CDeclarationChecker m_declarations;
    CChartGrid m_grid;
};

}  // namespace cli
}  // namespace vitalchart
