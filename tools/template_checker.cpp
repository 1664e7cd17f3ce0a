#include "tools/template_checker.h"

#include <algorithm>

#include "tools/check/element_checker.h"
#include "tools/check/finding_log.h"
#include "tools/check/line_explainer.h"
#include "tools/check/name_suggestion.h"
#include "tools/check/reading_checker.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

CTemplateChecker::CTemplateChecker(UINT nCodePage) : m_nCodePage(nCodePage) {}

CTemplateChecker::~CTemplateChecker() = default;

std::vector<Finding> CTemplateChecker::Check(const std::string& strTemplate,
                                             const std::vector<std::string>& dataTexts) const {
    std::vector<Finding> findings;
    CFindingLog log(m_nCodePage, findings);
    CValueChecker values(log);
    CLineExplainer lines(log, values);
    TagsSeen seen;
    // The template's elements are all seen before any is checked, so that a
    // pen used before its declaration can be told apart from a missing one.
    lines.WalkText(0, strTemplate, seen);
    CElementChecker elements(log, values);
    elements.CheckElements(seen.elements);
    for (std::size_t i = 0; i < dataTexts.size(); ++i) lines.WalkText(static_cast<int>(i) + 1, dataTexts[i], seen);
    CReadingChecker(log, values).CheckReadings(seen, dataTexts.size(), elements.GetRuling());
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.nSource != b.nSource) return a.nSource < b.nSource;
        if (a.nLine != b.nLine) return a.nLine < b.nLine;
        return a.nColumn < b.nColumn;
    });
    return findings;
}

std::string CTemplateChecker::SuggestName(UINT nCodePage, const std::string& strName,
                                          const std::vector<std::string>& candidates) {
    return cli::SuggestName(nCodePage, strName, candidates);
}

}  // namespace cli
}  // namespace vitalchart
