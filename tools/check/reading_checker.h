#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/check/chart_ruling.h"
#include "tools/check/finding_log.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

// Explains the readings of the data texts against the template: readings
// that no element draws, elements that no reading feeds, values a curve
// cannot plot, and columns that fall outside the chart's ruling; and the
// readings against one another: two in one column, values beyond a curve's
// scale with no rule for them, heart rate below pulse, cooling
// re-measurements with nothing to link to, and days after surgery counted
// without a surgery.
class CReadingChecker {
public:
    // Findings go to the log; values are checked with the value checker.
    CReadingChecker(CFindingLog& log, CValueChecker& values)
        : m_log(log), m_values(values), m_nCodePage(log.GetCodePage()) {}

    // Checks the readings' values, and, when nDataTexts data texts were given,
    // the readings against the elements that draw them.
    void CheckReadings(const TagsSeen& seen, std::size_t nDataTexts, const CChartRuling& ruling);

private:
    void CheckColumns(const TagSeen& reading, const std::string& strName, const std::vector<const TagSeen*>& drawers,
                      const CChartRuling& ruling);
    void CheckReadingValue(const TagSeen& reading, const std::string& strName,
                           const std::vector<const TagSeen*>& drawers);
    // The checks that compare readings with one another, over the elements
    // that draw them.
    void CheckAcrossReadings(const TagsSeen& seen, const std::vector<const TagSeen*>& drawers,
                             const CChartRuling& ruling);

    CFindingLog& m_log;
    CValueChecker& m_values;
    UINT m_nCodePage;
};

}  // namespace cli
}  // namespace vitalchart
