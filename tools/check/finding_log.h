#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/check/silenced_checks.h"
#include "tools/check/tag_seen.h"
#include "tools/template_checker.h"

namespace vitalchart {
namespace cli {

// Where the checks put their findings, and what they share: the code page of
// the texts, the checks the user has silenced, and the name of the part of
// the renderer that reads each text.
class CFindingLog {
public:
    // Findings go to rFindings in the order they are made; those that
    // silenced names are counted instead.
    CFindingLog(UINT nCodePage, std::vector<Finding>& rFindings, const CSilencedChecks& silenced)
        : m_nCodePage(nCodePage), m_findings(rFindings), m_silenced(silenced) {}

    // The code page the texts are written in.
    UINT GetCodePage() const { return m_nCodePage; }

    // Adds a finding at a line and column of a text; nElementLine: the
    // template line of the element a finding at a reading is about, or 0.
    void Add(int nSource, std::int32_t nLine, std::int32_t nColumn, Severity severity, const char* pszCheck,
             const std::string& strMessage, std::int32_t nElementLine = 0) {
        if (IsSilenced(pszCheck, nSource, nLine, nElementLine)) {
            ++m_nSilenced;
            return;
        }
        m_findings.push_back({nSource, nLine, nColumn, severity, strMessage, pszCheck, nElementLine});
    }
    // A warning at a column of the tag's line; pElement: the template's
    // element that a finding at a reading is about.
    void Warn(const TagSeen& tag, std::int32_t nColumn, const char* pszCheck, const std::string& strMessage,
              const TagSeen* pElement = nullptr) {
        Add(tag.nSource, tag.nLine, nColumn, Severity::kWarning, pszCheck, strMessage, ElementLine(tag, pElement));
    }
    // A note at a column of the tag's line.
    void Note(const TagSeen& tag, std::int32_t nColumn, const char* pszCheck, const std::string& strMessage,
              const TagSeen* pElement = nullptr) {
        Add(tag.nSource, tag.nLine, nColumn, Severity::kNote, pszCheck, strMessage, ElementLine(tag, pElement));
    }

    // Whether a finding of the check there would be silenced.
    bool IsSilenced(const char* pszCheck, int nSource, std::int32_t nLine, std::int32_t nElementLine = 0) const {
        return m_silenced.IsSilenced(pszCheck, nSource, nLine, nElementLine);
    }
    // Whether a finding of the check there is silenced; when it is, it is
    // counted as one, for checks that gather findings before they tell them.
    bool Drops(const char* pszCheck, int nSource, std::int32_t nLine) {
        if (!IsSilenced(pszCheck, nSource, nLine)) return false;
        ++m_nSilenced;
        return true;
    }
    // How many findings were silenced.
    std::size_t GetSilencedCount() const { return m_nSilenced; }

    // Whether the source is the template rather than a data text.
    static bool IsTemplate(int nSource) { return nSource == 0; }
    // "renderer" for the template, "data reader" for a data text.
    static const char* Reader(int nSource) { return IsTemplate(nSource) ? "renderer" : "data reader"; }

private:
    static std::int32_t ElementLine(const TagSeen& tag, const TagSeen* pElement) {
        return pElement != nullptr && !IsTemplate(tag.nSource) ? pElement->nLine : 0;
    }

    UINT m_nCodePage;
    std::vector<Finding>& m_findings;
    const CSilencedChecks& m_silenced;
    std::size_t m_nSilenced = 0;
};

}  // namespace cli
}  // namespace vitalchart
