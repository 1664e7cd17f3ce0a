#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// How much a finding matters: a warning explains something the renderer
// skips, cuts or reads otherwise than it is written; a note explains a
// reading that is exact but easily mistaken.
enum class Severity { kWarning, kNote };

// One explanation of a decision of the renderer, at a byte of one input.
struct Finding {
    int nSource = 0;           // 0: the template; 1, 2, ...: the data texts in the order given
    std::int32_t nLine = 0;    // 1-based; every line feed counts
    std::int32_t nColumn = 0;  // 1-based byte column
    Severity severity = Severity::kWarning;
    std::string strMessage;
    std::string strCheck;           // the check's name, such as "unknown-element"
    std::int32_t nElementLine = 0;  // a finding at a reading: the template line of the element it is about
};

// Explains, line by line, what the renderer makes of a chart template and
// of data texts: lines and tags it skips, names and values the scanner cuts,
// attributes no element reads, pens and fonts that are rejected or never
// found, and readings that no element draws. It reads with the plug-in's own
// line walk, tag scanner and keyword table, and knows the elements and their
// attributes from the renderer's element grammar.
class CTemplateChecker {
public:
    // nCodePage: the code page of the texts, for names compared without case;
    // disabledChecks: names of checks whose findings are left out.
    explicit CTemplateChecker(UINT nCodePage = CP_UTF8, std::vector<std::string> disabledChecks = {});
    virtual ~CTemplateChecker();

    // The findings for the template and the data texts, with fileFindings
    // (what the caller found of the files as a whole, such as their
    // encodings), ordered by source, line and column; but those that the
    // disabled checks or the texts' check comments silence, whose number goes
    // to pnSilenced when it is given.
    std::vector<Finding> Check(const std::string& strTemplate, const std::vector<std::string>& dataTexts,
                               const std::vector<Finding>& fileFindings = {}, std::size_t* pnSilenced = nullptr) const;

    // The names of every check, in the order the documentation lists them.
    static const std::vector<std::string>& CheckNames();

    // The name among the candidates that the name is most likely a misspelling
    // of: a difference of letter case only, or at most two characters inserted,
    // removed, replaced or swapped in a name long enough for that to be a slip;
    // empty when none is that close, or when there are more than 256 candidates.
    static std::string SuggestName(UINT nCodePage, const std::string& strName,
                                   const std::vector<std::string>& candidates);

private:
    UINT m_nCodePage;
    std::vector<std::string> m_disabledChecks;
};

// CTemplateChecker::Check in two steps, for a caller that runs them at
// different times: render reads the texts beside its drawing, and checks the
// readings against the chart beside the merging of its files.
class CStagedCheck {
public:
    CStagedCheck(UINT nCodePage, const std::vector<std::string>& disabledChecks);
    ~CStagedCheck();
    CStagedCheck(const CStagedCheck&) = delete;
    CStagedCheck& operator=(const CStagedCheck&) = delete;

    // Walks the template and the data texts line by line, and checks the
    // template's elements and each reading on its own.
    void Walk(const std::string& strTemplate, const std::vector<std::string>& dataTexts);
    // After Walk, once: checks the readings of each page against one
    // another, and tells what no element or no reading uses; the findings as
    // Check gives them.
    std::vector<Finding> Finish(const std::vector<Finding>& fileFindings = {}, std::size_t* pnSilenced = nullptr);

private:
    struct SState;
    std::unique_ptr<SState> m_pState;
};

}  // namespace cli
}  // namespace vitalchart
