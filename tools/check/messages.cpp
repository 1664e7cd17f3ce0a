#include "tools/check/messages.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/code_page.h"

namespace vitalchart {
namespace cli {

namespace {

// Longest text a message quotes before cutting it.
constexpr std::size_t kMaxShown = 40;

}  // namespace

std::string Show(UINT nCodePage, const std::string& s) {
    std::string out = "'";
    std::size_t i = 0;
    while (i < s.size()) {
        if (i >= kMaxShown) {
            out += "...";
            break;
        }
        const std::size_t n = CharLength(nCodePage, s.data() + i, s.size() - i);
        for (std::size_t k = 0; k < n; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + k]);
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
        i += n;
    }
    return out + "'";
}

std::string Plural(std::size_t n, const char* pszOne, const char* pszMany) {
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}

std::string ListNames(const std::vector<std::string>& names, const char* pszLast) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += i + 1 == names.size() ? pszLast : ", ";
        out += "'" + names[i] + "'";
    }
    return out;
}

std::string LineList(std::vector<std::int32_t> lines) {
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    std::vector<std::string> items;
    for (std::size_t i = 0; i < lines.size();) {
        std::size_t j = i;
        while (j + 1 < lines.size() && lines[j + 1] == lines[j] + 1) ++j;
        if (j - i >= 2) {
            items.push_back(std::to_string(lines[i]) + "-" + std::to_string(lines[j]));
            i = j + 1;
        } else {
            items.push_back(std::to_string(lines[i]));
            ++i;
        }
    }
    constexpr std::size_t kMaxItems = 8;
    const std::size_t nMore = items.size() > kMaxItems ? items.size() - kMaxItems : 0;
    if (nMore > 0) items.resize(kMaxItems);
    std::string out = lines.size() == 1 ? "line " : "lines ";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() && nMore == 0 ? " and " : ", ";
        out += items[i];
    }
    return nMore > 0 ? out + " and " + std::to_string(nMore) + " more" : out;
}

std::string FormatNumber(double d) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, result.ptr);
}

std::string FormatMm(double d) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, 1);
    return std::string(buf, result.ptr) + " mm";
}

std::string DidYouMean(const std::string& strSuggestion) {
    return strSuggestion.empty() ? std::string() : " (did you mean '" + strSuggestion + "'?)";
}

}  // namespace cli
}  // namespace vitalchart
