#include "tools/check/line_explainer.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

#include "markup/byte_buffer.h"
#include "markup/line_walk.h"
#include "platform/code_page.h"
#include "render/keyword_table.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool StartsWith(const std::string& s, const char* pszPrefix) {
    return s.rfind(pszPrefix, 0) == 0;
}

// Comments and declarations ("<!...", "<?...") are skipped as meant.
bool IsCommentOrDeclaration(const std::string& strName) {
    return StartsWith(strName, "!") || StartsWith(strName, "?");
}

std::int32_t SkipBlanks(const char* pszLine, std::int32_t nLength, std::int32_t nFrom) {
    while (nFrom < nLength && IsBlank(pszLine[nFrom])) ++nFrom;
    return nFrom;
}

// The name of the tag at nFrom, as the scanner reads it.
std::string TagNameAt(const TextLine& line, std::int32_t nFrom) {
    return ReadTagName(line.pszLine, line.nLength, nFrom);
}

}  // namespace

int CLineExplainer::TagCode(int nSource, const std::string& strName) const {
    if (CFindingLog::IsTemplate(nSource)) return CKeywordTable().FindKeyword(strName);
    return FindDataTag(m_nCodePage, strName);
}

void CLineExplainer::WalkText(int nSource, const std::string& strText, TagsSeen& rSeen) {
    CByteBuffer buffer(0);
    if (strText.size() > static_cast<std::size_t>(INT32_MAX) ||
        !buffer.Append(strText.data(), static_cast<std::int32_t>(strText.size()))) {
        m_log.Add(nSource, 1, 1, Severity::kWarning, "too-large", "the text is too large for the renderer to read");
        return;
    }
    m_bInComment = false;
    m_bLineInComment = false;
    m_nPreviousLine = 0;
    m_nCutLine = 0;
    // In UTF-8 the renderer and the data reader read past a byte-order mark.
    const std::int32_t nTextLength = buffer.GetLength();
    const auto nMark = static_cast<std::int32_t>(
        ByteOrderMarkLength(m_nCodePage, buffer.GetPtr(0), static_cast<std::size_t>(nTextLength)));
    auto step = [&](std::int32_t nLine, const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        if (nPos == 0) BeginLine(pszLine, nLength);
        const TextLine line{nSource, nLine, pszLine, nLength};
        const std::int32_t nTagPos = nPos;
        CScanNotes nameNotes;
        const std::string strName = ReadTagName(pszLine, nLength, nPos, &nameNotes);
        const int nCode = TagCode(nSource, strName);
        if (IsActedOn(nCode)) {
            bool bCut = false;
            TagSeen tag = m_tags.Read(line, nTagPos, nCode, nPos, m_bLineInComment ? m_nCommentLine : 0, bCut);
            if (bCut) m_nCutLine = nLine;
            // A template's unknown attributes are told with what they cause, once every element is seen.
            if (!CFindingLog::IsTemplate(nSource)) TellUnknownAttributes(m_log, tag);
            if (CFindingLog::IsTemplate(nSource)) {
                rSeen.elements.push_back(std::move(tag));
            } else if (nCode == kDataReading) {
                rSeen.readings.push_back(std::move(tag));
            } else {
                // The print tag's one attribute is a word; nothing else to keep.
                m_values.CheckValues(tag);
            }
        } else {
            ExplainSkipped(line, nTagPos, strName, nameNotes, nCode);
            nPos = nLength;
        }
        m_nPreviousLine = nLine;
        return true;
    };
    WalkTextLinesNumbered(buffer.GetPtr(0), nTextLength, step, nMark);
}

void CLineExplainer::BeginLine(const char* pszLine, std::int32_t nLength) {
    m_bLineInComment = m_bInComment;
    if (m_bInComment &&
        std::string_view(pszLine, static_cast<std::size_t>(nLength)).find("-->") != std::string_view::npos) {
        m_bInComment = false;
    }
}

void CLineExplainer::ExplainSkipped(const TextLine& line, std::int32_t nTagPos, const std::string& strName,
                                    const CScanNotes& nameNotes, int nCode) {
    const bool bTemplate = CFindingLog::IsTemplate(line.nSource);
    const std::string strLine(line.pszLine, static_cast<std::size_t>(line.nLength));
    if (line.pszLine[nTagPos] != '<') {
        ExplainText(line, nTagPos);
        return;
    }

    // A comment or a declaration: skipped as meant, but not what follows it.
    if (StartsWith(strName, "!--")) {
        const std::size_t nClose = strLine.find("-->", static_cast<std::size_t>(nTagPos) + 4);
        if (nClose == std::string::npos) {
            if (!m_bLineInComment) {
                m_bInComment = true;
                m_nCommentLine = line.nLine;
            }
            return;
        }
        ExplainRest(line, static_cast<std::int32_t>(nClose) + 3, "a comment");
        return;
    }
    if (IsCommentOrDeclaration(strName)) {
        const std::size_t nClose = strLine.find('>', static_cast<std::size_t>(nTagPos));
        if (nClose != std::string::npos) {
            ExplainRest(line, static_cast<std::int32_t>(nClose) + 1, "'<" + strName.substr(0, 1) + "'");
        }
        return;
    }
    if (m_bLineInComment) return;

    // Where the skipped tag ends, as the scanner reads it.
    std::int32_t nEnd = nTagPos;
    {
        std::int32_t nNamePos = nTagPos;
        ReadTagName(line.pszLine, line.nLength, nNamePos);
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        nEnd = nNamePos;
        ParseAttributes(line.pszLine, line.nLength, mapAttributes, mapStyles, nEnd);
    }
    if (bTemplate && nCode == kElementSign) {
        ExplainRest(line, nEnd, "the root element 'vitalsign'");
        return;
    }

    std::string strMessage;
    const char* pszWhat = bTemplate ? "element" : "data tag";
    const std::string strUnread = bTemplate ? ": the renderer skips the rest of the line"
                                            : ": the data reader reads only 'd' and 'print' tags and skips the rest "
                                              "of the line";
    const bool bCut = std::any_of(nameNotes.events.begin(), nameNotes.events.end(),
                                  [](const ScanEvent& e) { return e.kind == ScanEvent::kNameCut; });
    const std::vector<std::string> known = bTemplate ? TemplateElementNames() : DataTagNames();
    const std::string strBare =
        strName.size() > 1 && strName.back() == '/' ? strName.substr(0, strName.size() - 1) : std::string();
    if (strName.empty()) {
        strMessage = std::string("tag without a name") + strUnread;
    } else if (bCut) {
        strMessage = std::string(pszWhat) + " name longer than " + std::to_string(kMaxNameLength) + " bytes, kept as " +
                     Show(m_nCodePage, strName) + strUnread;
    } else if (!strBare.empty() && IsActedOn(TagCode(line.nSource, strBare))) {
        strMessage = Show(m_nCodePage, strName) + " is not '" + strBare +
                     "': a '/' right after the name belongs to it; write '<" + strBare + " />'" + strUnread;
    } else {
        strMessage = "unknown " + std::string(pszWhat) + " " + Show(m_nCodePage, strName) +
                     DidYouMean(SuggestName(m_nCodePage, strName, known)) + strUnread;
    }
    m_log.Add(line.nSource, line.nLine, nTagPos + 1, Severity::kWarning, bTemplate ? "unknown-element" : "unknown-tag",
              strMessage);
    ExplainRest(line, nEnd, "the unknown tag");
}

void CLineExplainer::ExplainText(const TextLine& line, std::int32_t nTagPos) {
    const std::string strLine(line.pszLine, static_cast<std::size_t>(line.nLength));
    if (nTagPos > 0) {
        // Text after a tag: harmless unless it hides a tag.
        const std::int32_t k = SkipBlanks(line.pszLine, line.nLength, nTagPos);
        if (k > nTagPos && k < line.nLength && line.pszLine[k] == '<') {
            const std::string strNext = TagNameAt(line, k);
            if (IsCommentOrDeclaration(strNext)) return;
            m_log.Add(line.nSource, line.nLine, k + 1, Severity::kWarning, "blank-between-tags",
                      Show(m_nCodePage, strNext) +
                          " follows the previous tag after a blank: the next tag is read only where the previous "
                          "one ends, so the rest of the line is skipped");
            return;
        }
        const std::size_t nNext = strLine.find('<', static_cast<std::size_t>(nTagPos));
        if (nNext != std::string::npos) ExplainRest(line, static_cast<std::int32_t>(nNext), "text that is not a tag");
        return;
    }
    const std::int32_t k = SkipBlanks(line.pszLine, line.nLength, 0);
    if (k >= line.nLength) return;  // blanks only
    if (m_bLineInComment) {
        // Comment text; a tag after the comment's end on this line is lost with it.
        const std::size_t nClose = strLine.find("-->");
        if (nClose != std::string::npos) {
            ExplainRest(line, static_cast<std::int32_t>(nClose) + 3, "a line that does not start with '<'");
        }
        return;
    }
    if (line.pszLine[k] == '<') {
        const std::string strIndented = TagNameAt(line, k);
        if (IsCommentOrDeclaration(strIndented)) return;
        if (CFindingLog::IsTemplate(line.nSource) && CKeywordTable().FindKeyword(strIndented) == kElementSign) return;
        m_log.Add(line.nSource, line.nLine, k + 1, Severity::kWarning, "indented-tag",
                  "indented tag " + Show(m_nCodePage, strIndented) +
                      ": a tag is read only from the first byte of its line, so this line is skipped");
        return;
    }
    const bool bContinued = m_nCutLine != 0 && m_nCutLine == m_nPreviousLine;
    m_log.Add(line.nSource, line.nLine, 1, Severity::kWarning, "not-a-tag",
              std::string("line does not start with '<': it is skipped") +
                  (bContinued ? " (it does not continue the tag cut off on line " + std::to_string(m_nCutLine) + ")"
                              : std::string()));
}

void CLineExplainer::ExplainRest(const TextLine& line, std::int32_t nFrom, const std::string& strAfter) {
    const std::int32_t k = SkipBlanks(line.pszLine, line.nLength, nFrom);
    if (k >= line.nLength || line.pszLine[k] != '<') return;
    const std::string strNext = TagNameAt(line, k);
    if (IsCommentOrDeclaration(strNext)) return;
    m_log.Add(line.nSource, line.nLine, k + 1, Severity::kWarning, "rest-of-line",
              Show(m_nCodePage, strNext) + " is not read: the " + CFindingLog::Reader(line.nSource) +
                  " skips the rest of a line after " + strAfter);
}

}  // namespace cli
}  // namespace vitalchart
