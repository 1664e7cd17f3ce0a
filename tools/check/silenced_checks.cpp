#include "tools/check/silenced_checks.h"

#include <climits>
#include <string_view>
#include <vector>

#include "markup/line_walk.h"
#include "platform/code_page.h"
#include "tools/check/check_names.h"
#include "tools/check/finding_log.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr std::string_view kOpen = "<!--";
constexpr std::string_view kClose = "-->";
constexpr std::string_view kPrefix = "check:";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// A word of a check comment and the 1-based column it begins at.
struct Word {
    std::string strText;
    std::int32_t nColumn;
};

// The words of the comment's text, split at blanks and commas.
std::vector<Word> CommentWords(std::string_view line, std::size_t nFrom, std::size_t nTo) {
    std::vector<Word> words;
    std::size_t i = nFrom;
    while (i < nTo) {
        while (i < nTo && (IsBlank(line[i]) || line[i] == ',')) ++i;
        const std::size_t nStart = i;
        while (i < nTo && !IsBlank(line[i]) && line[i] != ',') ++i;
        if (i > nStart) {
            words.push_back({std::string(line.substr(nStart, i - nStart)), static_cast<std::int32_t>(nStart) + 1});
        }
    }
    return words;
}

// A check comment waiting for the line it silences.
struct Pending {
    std::int32_t nLine;
    std::int32_t nColumn;
    std::vector<std::string> checks;
};

// A finding about a check comment, told once the whole text is read.
struct Problem {
    std::int32_t nLine;
    std::int32_t nColumn;
    std::string strMessage;
};

}  // namespace

void CSilencedChecks::ReadComments(int nSource, const std::string& strText, CFindingLog& log) {
    if (strText.size() > static_cast<std::size_t>(INT32_MAX)) return;  // told by the line walk
    std::vector<Pending> pending;
    std::vector<Problem> problems;
    bool bInComment = false;
    auto readLine = [&](std::int32_t nLine, const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        nPos = nLength;
        const std::string_view line(pszLine, static_cast<std::size_t>(nLength));
        if (bInComment) {
            bInComment = line.find(kClose) == std::string_view::npos;
            return true;
        }
        std::size_t k = 0;
        while (k < line.size() && IsBlank(line[k])) ++k;
        const std::string_view rest = line.substr(k);
        if (rest.empty() || StartsWith(rest, "<?") || StartsWith(rest, "</vitalsign")) return true;
        if (CFindingLog::IsTemplate(nSource) && StartsWith(rest, "<vitalsign") &&
            (rest.size() == 10 || IsBlank(rest[10]) || rest[10] == '>')) {
            return true;
        }
        if (!StartsWith(rest, kOpen)) {
            // The line the waiting comments silence.
            for (const Pending& p : pending) m_byLine[{nSource, nLine}].insert(p.checks.begin(), p.checks.end());
            pending.clear();
            return true;
        }
        const std::size_t nClose = line.find(kClose, k + kOpen.size());
        if (nClose == std::string_view::npos) {
            bInComment = true;
            return true;
        }
        std::size_t nText = k + kOpen.size();
        while (nText < nClose && IsBlank(line[nText])) ++nText;
        if (!StartsWith(line.substr(nText, nClose - nText), kPrefix)) return true;
        const std::vector<Word> words = CommentWords(line, nText + kPrefix.size(), nClose);
        const std::int32_t nCommentColumn = static_cast<std::int32_t>(k) + 1;
        const bool bFile = !words.empty() && words[0].strText == "disable-file";
        if (words.empty() || (!bFile && words[0].strText != "disable")) {
            problems.push_back({nLine, words.empty() ? nCommentColumn : words[0].nColumn,
                                "a check comment is 'check: disable NAME' (the next line) or 'check: disable-file "
                                "NAME' (the whole file): this one silences nothing"});
            return true;
        }
        std::vector<std::string> checks;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (IsCheckName(words[i].strText)) {
                checks.push_back(words[i].strText);
                continue;
            }
            problems.push_back({nLine, words[i].nColumn,
                                Show(log.GetCodePage(), words[i].strText) + " is no check" +
                                    DidYouMean(SuggestName(log.GetCodePage(), words[i].strText, CheckNames())) +
                                    ": it silences nothing"});
        }
        if (words.size() == 1) {
            problems.push_back({nLine, words[0].nColumn, "'" + words[0].strText + "' names no check to silence"});
        }
        if (bFile) {
            m_byText[nSource].insert(checks.begin(), checks.end());
        } else if (!checks.empty()) {
            pending.push_back({nLine, nCommentColumn, checks});
        }
        return true;
    };
    const std::size_t nMark = ByteOrderMarkLength(log.GetCodePage(), strText.data(), strText.size());
    WalkTextLinesNumbered(strText.data(), static_cast<std::int32_t>(strText.size()), readLine,
                          static_cast<std::int32_t>(nMark));
    for (const Pending& p : pending) {
        problems.push_back({p.nLine, p.nColumn, "no line with a tag follows this check comment: it silences nothing"});
    }
    for (const Problem& problem : problems) {
        log.Add(nSource, problem.nLine, problem.nColumn, Severity::kWarning, "check-comment", problem.strMessage);
    }
}

bool CSilencedChecks::IsSilencedAt(const std::string& strCheck, int nSource, std::int32_t nLine) const {
    const auto it = m_byLine.find({nSource, nLine});
    return it != m_byLine.end() && it->second.count(strCheck) != 0;
}

bool CSilencedChecks::IsSilenced(const std::string& strCheck, int nSource, std::int32_t nLine,
                                 std::int32_t nElementLine) const {
    if (m_everywhere.count(strCheck) != 0) return true;
    for (int nText : {0, nSource}) {
        const auto it = m_byText.find(nText);
        if (it != m_byText.end() && it->second.count(strCheck) != 0) return true;
    }
    return IsSilencedAt(strCheck, nSource, nLine) || (nElementLine > 0 && IsSilencedAt(strCheck, 0, nElementLine));
}

}  // namespace cli
}  // namespace vitalchart
