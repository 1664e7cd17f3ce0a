#include "tools/template_checker.h"

#include <algorithm>
#include <utility>

#include "tools/check/check_names.h"
#include "tools/check/element_checker.h"
#include "tools/check/finding_log.h"
#include "tools/check/line_explainer.h"
#include "tools/check/name_suggestion.h"
#include "tools/check/reading_checker.h"
#include "tools/check/silenced_checks.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

CTemplateChecker::CTemplateChecker(UINT nCodePage, std::vector<std::string> disabledChecks)
    : m_nCodePage(nCodePage), m_disabledChecks(std::move(disabledChecks)) {}

CTemplateChecker::~CTemplateChecker() = default;

std::vector<Finding> CTemplateChecker::Check(const std::string& strTemplate, const std::vector<std::string>& dataTexts,
                                             const std::vector<Finding>& fileFindings, std::size_t* pnSilenced) const {
    std::vector<Finding> findings;
    CSilencedChecks silenced;
    for (const std::string& strCheck : m_disabledChecks) silenced.DisableEverywhere(strCheck);
    CFindingLog log(m_nCodePage, findings, silenced);
    CValueChecker values(log);
    CLineExplainer lines(log, values);
    TagsSeen seen;
    // A text's check comments are read before any finding of it is made.
    // The template's elements are all seen before any is checked, so that a
    // pen used before its declaration can be told apart from a missing one.
    silenced.ReadComments(0, strTemplate, log);
    lines.WalkText(0, strTemplate, seen);
    CElementChecker elements(log, values);
    elements.CheckElements(seen.elements);
    for (std::size_t i = 0; i < dataTexts.size(); ++i) {
        const int nSource = static_cast<int>(i) + 1;
        silenced.ReadComments(nSource, dataTexts[i], log);
        lines.WalkText(nSource, dataTexts[i], seen);
    }
    CReadingChecker(log, values).CheckReadings(seen, dataTexts.size(), elements.GetGrid());
    // Findings about whole files come first among those at their place.
    std::vector<Finding> files;
    CFindingLog fileLog(m_nCodePage, files, silenced);
    for (const Finding& f : fileFindings) {
        fileLog.Add(f.nSource, f.nLine, f.nColumn, f.severity, f.strCheck.c_str(), f.strMessage, f.nElementLine);
    }
    findings.insert(findings.begin(), files.begin(), files.end());
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.nSource != b.nSource) return a.nSource < b.nSource;
        if (a.nLine != b.nLine) return a.nLine < b.nLine;
        return a.nColumn < b.nColumn;
    });
    if (pnSilenced != nullptr) *pnSilenced = log.GetSilencedCount() + fileLog.GetSilencedCount();
    return findings;
}

const std::vector<std::string>& CTemplateChecker::CheckNames() {
    return cli::CheckNames();
}

std::string CTemplateChecker::SuggestName(UINT nCodePage, const std::string& strName,
                                          const std::vector<std::string>& candidates) {
    return cli::SuggestName(nCodePage, strName, candidates);
}

}  // namespace cli
}  // namespace vitalchart
