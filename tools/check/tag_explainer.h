#pragma once

#include <cstdint>

#include "tools/check/finding_log.h"
#include "tools/check/tag_seen.h"

namespace vitalchart {
namespace cli {

// Reads one tag that the renderer (or the data reader) acts on, as the tag
// scanner reads it, and explains what the scanner makes of it: a first byte
// that is not '<', a closing tag, attributes given twice, names cut at their
// longest, values cut at a semicolon or without their opening quote, and a
// tag cut off by the end of its line. Attributes the element does not read
// are kept with the tag, to be told once the checks know what they cause.
class CTagExplainer {
public:
    // Findings go to the log, which outlives the explainer.
    explicit CTagExplainer(CFindingLog& log) : m_log(log), m_nCodePage(log.GetCodePage()) {}

    // The tag of the code that begins at nTagPos of the line; nPos stands
    // after its name and is left where the scanner ends the tag.
    // nCommentLine: the line of the comment that the line began inside, or 0.
    // rbCut: set when the end of the line cut the tag off.
    TagSeen Read(const TextLine& line, std::int32_t nTagPos, int nCode, std::int32_t& nPos, std::int32_t nCommentLine,
                 bool& rbCut);

private:
    CFindingLog& m_log;
    UINT m_nCodePage;
};

// Tells the attributes that the tag's element does not read, with the name
// each is likely a misspelling of; but the one whose name begins at
// nToldColumn, which a finding about what it causes tells already.
void TellUnknownAttributes(CFindingLog& log, const TagSeen& tag, std::int32_t nToldColumn = 0);

}  // namespace cli
}  // namespace vitalchart
