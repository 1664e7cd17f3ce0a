#include "tools/check/tag_explainer.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/tag_scanner.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

TagSeen CTagExplainer::Read(const TextLine& line, std::int32_t nTagPos, int nCode, std::int32_t& nPos,
                            std::int32_t nCommentLine, bool& rbCut) {
    rbCut = false;
    const int nSource = line.nSource;
    const char* pszLine = line.pszLine;
    const std::int32_t nLength = line.nLength;
    TagSeen tag;
    tag.nCode = nCode;
    tag.nSource = nSource;
    tag.nLine = line.nLine;
    tag.nColumn = nTagPos + 1;
    tag.bLineFirst = nTagPos == 0;
    tag.bClosing = nTagPos + 1 < nLength && pszLine[nTagPos + 1] == '/';
    CMapStringToString mapStyles;
    CScanNotes notes;
    ParseAttributes(pszLine, nLength, tag.mapAttributes, mapStyles, nPos, &notes);
    const std::int32_t nTagEnd = nPos;
    // A view, not a copy: a line may hold many tags back to back.
    const std::string_view text(pszLine, static_cast<std::size_t>(nLength));
    const std::string strElement = ElementName(nCode);
    const char* pszReader = CFindingLog::Reader(nSource);

    if (pszLine[nTagPos] != '<') {
        m_log.Note(tag, tag.nColumn, "first-byte",
                   "the first byte of a tag is not looked at: " +
                       Show(m_nCodePage, std::string(text.substr(static_cast<std::size_t>(nTagPos), 1))) +
                       " stands for '<' and this is read as '" + strElement + "'");
    }
    if (nCommentLine > 0) {
        m_log.Warn(tag, tag.nColumn, "element-in-comment",
                   "'" + strElement + "' stands inside the comment opened on line " + std::to_string(nCommentLine) +
                       ", but comments do not span lines for the " + pszReader + ": it reads this tag");
    }
    if (tag.bClosing) {
        m_log.Warn(
            tag, tag.nColumn, "closing-tag",
            "closing tag '</" + strElement + ">' is read as one more '" + strElement +
                "' without attributes; remove it" +
                (CFindingLog::IsTemplate(nSource) ? std::string()
                                                  : std::string(" (it adds a reading with no name and no value)")));
    }

    // What the scanner met, in the order it met it. A value cut at a
    // semicolon, or one without its opening quote, throws the rest of the tag
    // out of step: names read after it are fragments of values, not
    // attributes the author wrote.
    std::int32_t nOutOfStep = -1;
    std::int32_t nSemicolon = -1;
    std::int32_t nLastValueStart = 0;
    std::vector<std::int32_t> cutNames;
    std::vector<std::pair<std::string, std::int32_t>> firstSeen;
    tag.attributes.reserve(notes.events.size());
    for (const ScanEvent& event : notes.events) {
        const bool bMisread = nOutOfStep >= 0 && event.nPos > nOutOfStep;
        switch (event.kind) {
            case ScanEvent::kAttribute: {
                nLastValueStart = event.nEnd;
                if (bMisread) break;
                AttributeSeen seen{event.strName, event.nPos + 1, event.nEnd + 1};
                auto it = std::find_if(firstSeen.begin(), firstSeen.end(),
                                       [&](const auto& entry) { return entry.first == event.strName; });
                if (it != firstSeen.end()) {
                    const std::string* pValue = tag.Find(event.strName.c_str());
                    m_log.Warn(tag, seen.nColumn, "repeated-attribute",
                               "'" + event.strName + "' is given again (first in column " + std::to_string(it->second) +
                                   "): the last one wins, " + Show(m_nCodePage, pValue != nullptr ? *pValue : ""));
                } else {
                    firstSeen.emplace_back(event.strName, seen.nColumn);
                }
                tag.attributes.push_back(seen);
                if (std::find(cutNames.begin(), cutNames.end(), event.nPos) != cutNames.end()) break;
                if (FindAttribute(nCode, event.strName) == nullptr) tag.unknown.push_back(seen);
                break;
            }
            case ScanEvent::kNameCut:
                if (bMisread) break;
                cutNames.push_back(event.nPos);
                m_log.Warn(tag, event.nPos + 1, "long-name",
                           "attribute name of " + std::to_string(event.nEnd - event.nPos) + " bytes is longer than " +
                               std::to_string(kMaxNameLength) + ": the scanner keeps " +
                               Show(m_nCodePage,
                                    std::string(text.substr(static_cast<std::size_t>(event.nPos), kMaxNameLength))) +
                               ", which no element reads");
                break;
            case ScanEvent::kSemicolon: {
                if (bMisread || nSemicolon >= 0) break;
                nSemicolon = event.nPos;
                nOutOfStep = event.nPos;
                // Attributes written after the semicolon that the scanner never stored.
                const std::string_view rest =
                    text.substr(static_cast<std::size_t>(nSemicolon), static_cast<std::size_t>(nTagEnd - nSemicolon));
                std::vector<std::string> lost;
                for (const AttributeRule& attr : AttributesOf(nCode)) {
                    const std::string strNeedle = std::string(" ") + attr.pszName + "=\"";
                    if (rest.find(strNeedle) != std::string_view::npos && tag.Find(attr.pszName) == nullptr) {
                        lost.push_back(attr.pszName);
                    }
                }
                const std::string strKept(text.substr(static_cast<std::size_t>(nLastValueStart),
                                                      static_cast<std::size_t>(nSemicolon - nLastValueStart)));
                m_log.Warn(tag, nSemicolon + 1, "semicolon",
                           "the value of '" + event.strName + "' ends at this semicolon: the " + pszReader + " keeps " +
                               Show(m_nCodePage, strKept) + " and reads the rest of the tag out of step" +
                               (lost.empty() ? std::string() : ", losing " + ListNames(lost)));
                break;
            }
            case ScanEvent::kUnquoted:
                if (bMisread) break;
                nOutOfStep = event.nPos;
                tag.garbled.push_back(event.strName);
                m_log.Warn(tag, event.nPos + 1, "unquoted-value",
                           "the value of '" + event.strName +
                               "' does not begin with '\"': the scanner skips the byte after '=' unread and takes "
                               "the value up to the next '\"' or ';'");
                break;
            case ScanEvent::kLineEnd:
                // Read out of step, the tag may seem to run on; that is told already.
                if (nOutOfStep >= 0) break;
                rbCut = true;
                m_log.Warn(tag, tag.nColumn, "unclosed-tag",
                           "'" + strElement +
                               "' is cut off by the end of its line: a tag must end on its own line, and the " +
                               pszReader + " does not read the next line as part of it");
                break;
        }
    }
    return tag;
}

void TellUnknownAttributes(CFindingLog& log, const TagSeen& tag, std::int32_t nToldColumn) {
    for (const AttributeSeen& attribute : tag.unknown) {
        if (attribute.nColumn == nToldColumn) continue;
        const UINT nCodePage = log.GetCodePage();
        log.Warn(tag, attribute.nColumn, "unknown-attribute",
                 "'" + ElementName(tag.nCode) + "' does not read the attribute " + Show(nCodePage, attribute.strName) +
                     DidYouMean(SuggestName(nCodePage, attribute.strName, AttributeNames(tag.nCode))) + ": the " +
                     CFindingLog::Reader(tag.nSource) + " ignores it");
    }
}

}  // namespace cli
}  // namespace vitalchart
