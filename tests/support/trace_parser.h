#pragma once

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vitalchart {
namespace test {

// The tests' one reading of the recording surface's trace (its grammar is
// checked by fuzz/trace_grammar.h).

// The trace's lines, without their line feeds.
inline std::vector<std::string> SplitLines(const std::string& strText) {
    std::vector<std::string> lines;
    std::istringstream in(strText);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// One trace line: the operation, its numbers (colours and formats left out)
// and its quoted text, still quoted and escaped as the trace writes it.
struct TraceOp {
    std::string strOp;
    std::vector<long> arrNums;
    std::string strText;
};

inline TraceOp ParseOp(const std::string& strLine) {
    TraceOp op;
    const std::size_t nQuote = strLine.find('"');
    std::istringstream in(strLine.substr(0, nQuote));
    if (nQuote != std::string::npos) op.strText = strLine.substr(nQuote);
    in >> op.strOp;
    std::string word;
    while (in >> word) {
        if (word[0] == '#' || word.compare(0, 2, "0x") == 0) continue;
        op.arrNums.push_back(std::strtol(word.c_str(), nullptr, 10));
    }
    return op;
}

inline std::vector<TraceOp> ParseTrace(const std::string& strTrace) {
    std::vector<TraceOp> ops;
    for (const std::string& line : SplitLines(strTrace)) ops.push_back(ParseOp(line));
    return ops;
}

// The trace lines that begin with the prefix (for example "lineto"), each
// with its line feed.
inline std::string GrepTrace(const std::string& strTrace, const std::string& strPrefix) {
    std::string out;
    for (const std::string& line : SplitLines(strTrace)) {
        if (line.compare(0, strPrefix.size(), strPrefix) == 0) out += line + "\n";
    }
    return out;
}

// The number of trace lines that begin with the prefix.
inline int CountLines(const std::string& strTrace, const std::string& strPrefix) {
    int n = 0;
    for (const std::string& line : SplitLines(strTrace)) {
        if (line.compare(0, strPrefix.size(), strPrefix) == 0) ++n;
    }
    return n;
}

}  // namespace test
}  // namespace vitalchart
