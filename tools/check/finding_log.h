#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/check/tag_seen.h"
#include "tools/template_checker.h"

namespace vitalchart {
namespace cli {

// Where the checks put their findings, and what they share: the code page of
// the texts and the name of the part of the renderer that reads each text.
class CFindingLog {
public:
    // Findings go to rFindings in the order they are made.
    CFindingLog(UINT nCodePage, std::vector<Finding>& rFindings) : m_nCodePage(nCodePage), m_findings(rFindings) {}

    // The code page the texts are written in.
    UINT GetCodePage() const { return m_nCodePage; }

    // Adds a finding at a line and column of a text.
    void Add(int nSource, std::int32_t nLine, std::int32_t nColumn, Severity severity, const char* pszCheck,
             const std::string& strMessage) {
        m_findings.push_back({nSource, nLine, nColumn, severity, strMessage, pszCheck});
    }
    // A warning at a column of the tag's line.
    void Warn(const TagSeen& tag, std::int32_t nColumn, const char* pszCheck, const std::string& strMessage) {
        Add(tag.nSource, tag.nLine, nColumn, Severity::kWarning, pszCheck, strMessage);
    }
    // A note at a column of the tag's line.
    void Note(const TagSeen& tag, std::int32_t nColumn, const char* pszCheck, const std::string& strMessage) {
        Add(tag.nSource, tag.nLine, nColumn, Severity::kNote, pszCheck, strMessage);
    }

    // Whether the source is the template rather than a data text.
    static bool IsTemplate(int nSource) { return nSource == 0; }
    // "renderer" for the template, "data reader" for a data text.
    static const char* Reader(int nSource) { return IsTemplate(nSource) ? "renderer" : "data reader"; }

private:
    UINT m_nCodePage;
    std::vector<Finding>& m_findings;
};

}  // namespace cli
}  // namespace vitalchart
