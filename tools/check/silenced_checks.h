#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace vitalchart {
namespace cli {

class CFindingLog;

// The checks a user has turned off: everywhere (vitalchart check --disable),
// or by comments in the texts, each on a line of its own:
//
//   <!-- check: disable NAME[, NAME]... -->        the next line that holds a tag
//   <!-- check: disable-file NAME[, NAME]... -->   the whole text
//
// A line silenced in the template also silences the findings at readings
// that the element on that line draws; a check disabled for the whole
// template is disabled for every data text checked with it too. The renderer
// reads a comment as an unknown tag and skips its line, so these comments
// change nothing drawn.
class CSilencedChecks {
public:
    // Turns a check off everywhere.
    void DisableEverywhere(const std::string& strCheck) { m_everywhere.insert(strCheck); }

    // Reads the check comments of one text (nSource 0: the template; 1, 2,
    // ...: the data texts) before any finding of it is made; a comment that
    // names no check, or silences nothing, is told to the log.
    void ReadComments(int nSource, const std::string& strText, CFindingLog& log);

    // Whether a finding of the check at a line of a text is silenced;
    // nElementLine: the template line of the element that the finding is
    // about when it is made at a reading, else 0.
    bool IsSilenced(const std::string& strCheck, int nSource, std::int32_t nLine, std::int32_t nElementLine) const;

private:
    bool IsSilencedAt(const std::string& strCheck, int nSource, std::int32_t nLine) const;

    std::set<std::string> m_everywhere;
    std::map<int, std::set<std::string>> m_byText;
    std::map<std::pair<int, std::int32_t>, std::set<std::string>> m_byLine;
};

}  // namespace cli
}  // namespace vitalchart
