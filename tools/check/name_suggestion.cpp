#include "tools/check/name_suggestion.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/code_page.h"

namespace vitalchart {
namespace cli {

namespace {

// Natural spellings that the renderer reads under another name, too far
// apart for the edit distance to find.
const std::pair<const char*, const char*> kKnownSlips[] = {
    {"font-italic", "font-inital"},
    {"italic", "font-inital"},
};

// Names this long are not slips of a name, and among this many names a close
// one is likely by chance; comparing costs more than it tells.
constexpr std::size_t kLongest = 64;
constexpr std::size_t kMostCandidates = 256;

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The characters of a name, ASCII letters folded, for the edit distance.
std::vector<std::string> FoldedChars(UINT nCodePage, const std::string& s) {
    std::vector<std::string> chars;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = CharLength(nCodePage, s.data() + i, s.size() - i);
        std::string c = s.substr(i, n);
        if (n == 1) c[0] = FoldAscii(c[0]);
        chars.push_back(c);
        i += n;
    }
    return chars;
}

// Edits (insert, remove, replace, swap two neighbours) that turn a into b.
std::size_t EditDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t nCost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + nCost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[n][m];
}

}  // namespace

std::string SuggestName(UINT nCodePage, const std::string& strName, const std::vector<std::string>& candidates) {
    const std::vector<std::string> name = FoldedChars(nCodePage, strName);
    if (name.empty() || name.size() > kLongest || candidates.size() > kMostCandidates) return std::string();
    for (const auto& slip : kKnownSlips) {
        if (FoldedChars(nCodePage, slip.first) == name &&
            std::find(candidates.begin(), candidates.end(), slip.second) != candidates.end()) {
            return slip.second;
        }
    }
    std::string strBest;
    std::size_t nBest = 3;
    for (const std::string& strCandidate : candidates) {
        if (strCandidate == strName) continue;
        const std::vector<std::string> candidate = FoldedChars(nCodePage, strCandidate);
        if (candidate.empty() || candidate.size() > kLongest) continue;
        const std::size_t nDistance = EditDistance(name, candidate);
        // One slip in three characters at most: "x" is no slip of "cx".
        if (nDistance > 0 && 3 * nDistance > std::max(name.size(), candidate.size())) continue;
        if (nDistance < nBest) {
            nBest = nDistance;
            strBest = strCandidate;
        }
    }
    return strBest;
}

}  // namespace cli
}  // namespace vitalchart
