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
    CStagedCheck check(m_nCodePage, m_disabledChecks);
    check.Walk(strTemplate, dataTexts);
    return check.Finish(fileFindings, pnSilenced);
}

// What the walk leaves for the readings' check; the checkers refer to the log,
// and the log to the findings and the silenced checks, so none of it moves.
struct CStagedCheck::SState {
    SState(UINT nCodePage, const std::vector<std::string>& disabledChecks)
        : log(nCodePage, findings, silenced),
          values(log),
          lines(log, values),
          elements(log, values),
          readings(log, values) {
        for (const std::string& strCheck : disabledChecks) silenced.DisableEverywhere(strCheck);
    }

    std::vector<Finding> findings;
    CSilencedChecks silenced;
    CFindingLog log;
    CValueChecker values;
    CLineExplainer lines;
    CElementChecker elements;
    CReadingChecker readings;
    TagsSeen seen;
};

CStagedCheck::CStagedCheck(UINT nCodePage, const std::vector<std::string>& disabledChecks)
    : m_pState(std::make_unique<SState>(nCodePage, disabledChecks)) {}

CStagedCheck::~CStagedCheck() = default;

void CStagedCheck::Walk(const std::string& strTemplate, const std::vector<std::string>& dataTexts) {
    SState& s = *m_pState;
    // A text's check comments are read before any finding of it is made.
    // The template's elements are all seen before any is checked, so that a
    // pen used before its declaration can be told apart from a missing one.
    s.silenced.ReadComments(0, strTemplate, s.log);
    s.lines.WalkText(0, strTemplate, s.seen);
    s.elements.CheckElements(s.seen.elements);
    // A data text's readings are one a line, as a rule: room for them all at
    // once, instead of moving every reading kept so far each time it grows.
    std::size_t nLines = 0;
    for (const std::string& strText : dataTexts) {
        nLines += static_cast<std::size_t>(std::count(strText.begin(), strText.end(), '\n')) + 1;
    }
    s.seen.readings.reserve(nLines);
    for (std::size_t i = 0; i < dataTexts.size(); ++i) {
        const int nSource = static_cast<int>(i) + 1;
        s.silenced.ReadComments(nSource, dataTexts[i], s.log);
        s.lines.WalkText(nSource, dataTexts[i], s.seen);
    }
    s.readings.CheckEachReading(s.seen, dataTexts.size(), s.elements.GetGrid());
}

std::vector<Finding> CStagedCheck::Finish(const std::vector<Finding>& fileFindings, std::size_t* pnSilenced) {
    SState& s = *m_pState;
    s.readings.CheckAcross(s.seen, s.elements.GetGrid());
    // Findings about whole files come first among those at their place.
    std::vector<Finding> files;
    CFindingLog fileLog(s.log.GetCodePage(), files, s.silenced);
    for (const Finding& f : fileFindings) {
        fileLog.Add(f.nSource, f.nLine, f.nColumn, f.severity, f.strCheck.c_str(), f.strMessage, f.nElementLine);
    }
    std::vector<Finding> findings = std::move(s.findings);
    findings.insert(findings.begin(), files.begin(), files.end());
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.nSource != b.nSource) return a.nSource < b.nSource;
        if (a.nLine != b.nLine) return a.nLine < b.nLine;
        return a.nColumn < b.nColumn;
    });
    if (pnSilenced != nullptr) *pnSilenced = s.log.GetSilencedCount() + fileLog.GetSilencedCount();
    // What the walk kept goes with the thread that is done with it.
    m_pState.reset();
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
