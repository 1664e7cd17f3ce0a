#pragma once

#include <cstdint>
#include <string>

#include "markup/tag_scanner.h"
#include "tools/check/finding_log.h"
#include "tools/check/tag_explainer.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

// Walks a template or a data text line by line with the renderer's own line
// walk, and explains what the walk skips: lines that do not start with '<',
// indented tags, tags after a blank, unknown elements and data tags, the rest
// of a line after a comment, the root element or an unknown tag, and tags
// inside comments that span lines. The tags it acts on are read by the tag
// explainer and kept for the later checks.
class CLineExplainer {
public:
    // Findings go to the log; the print tag's values are checked at once.
    CLineExplainer(CFindingLog& log, CValueChecker& values)
        : m_log(log), m_values(values), m_tags(log), m_nCodePage(log.GetCodePage()) {}

    // Walks one text (nSource 0: the template; 1, 2, ...: the data texts) and
    // adds its elements or readings to rSeen.
    void WalkText(int nSource, const std::string& strText, TagsSeen& rSeen);

private:
    int TagCode(int nSource, const std::string& strName) const;
    void BeginLine(const char* pszLine, std::int32_t nLength);
    void ExplainSkipped(const TextLine& line, std::int32_t nTagPos, const std::string& strName,
                        const CScanNotes& nameNotes, int nCode);
    void ExplainText(const TextLine& line, std::int32_t nTagPos);
    void ExplainRest(const TextLine& line, std::int32_t nFrom, const std::string& strAfter);

    CFindingLog& m_log;
    CValueChecker& m_values;
    CTagExplainer m_tags;
    UINT m_nCodePage;

    // State of the text being walked.
    bool m_bInComment = false;        // a comment opened on an earlier line is still open
    bool m_bLineInComment = false;    // the current line began inside a comment
    std::int32_t m_nCommentLine = 0;  // where the open comment began
    std::int32_t m_nPreviousLine = 0;
    std::int32_t m_nCutLine = 0;  // the last line whose tag its end cut off
};

}  // namespace cli
}  // namespace vitalchart
