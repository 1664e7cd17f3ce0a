#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/template_checker.h"

namespace vitalchart {
namespace test {

// "T:3:5 check" for the template, "D1:3:5 check" for the first data text,
// with "note " before notes' checks. The size query's own finding is left
// out unless asked for, so that each row can leave out vitalsize.
inline std::vector<std::string> Summarise(const std::vector<cli::Finding>& findings, bool bKeepNoSize = false) {
    std::vector<std::string> out;
    for (const cli::Finding& f : findings) {
        if (f.strCheck == "no-size" && !bKeepNoSize) continue;
        out.push_back((f.nSource == 0 ? std::string("T") : "D" + std::to_string(f.nSource)) + ":" +
                      std::to_string(f.nLine) + ":" + std::to_string(f.nColumn) + " " +
                      (f.severity == cli::Severity::kNote ? "note " : "") + f.strCheck);
    }
    return out;
}

// The findings for a template and one data text (none when it is empty), in
// UTF-8, with the named checks disabled; prnSilenced, when given, receives
// how many findings were silenced.
inline std::vector<cli::Finding> CheckOf(const std::string& strTemplate, const std::string& strData = std::string(),
                                         const std::vector<std::string>& disabled = {},
                                         std::size_t* pnSilenced = nullptr) {
    std::vector<std::string> data;
    if (!strData.empty()) data.push_back(strData);
    return cli::CTemplateChecker(CP_UTF8, disabled).Check(strTemplate, data, {}, pnSilenced);
}

inline std::string AllMessages(const std::vector<cli::Finding>& findings) {
    std::string out;
    for (const cli::Finding& f : findings) out += f.strMessage + "\n";
    return out;
}

// 1-based column of the first occurrence of the needle in line nLine (from 1) of the text.
inline int Col(const std::string& strText, int nLine, const std::string& strNeedle) {
    std::istringstream in(strText);
    std::string line;
    for (int i = 0; i < nLine; ++i) std::getline(in, line);
    const std::size_t n = line.find(strNeedle);
    EXPECT_NE(n, std::string::npos) << strNeedle;
    return static_cast<int>(n) + 1;
}

inline std::string At(const char* pszSource, int nLine, int nColumn, const char* pszCheck) {
    return std::string(pszSource) + ":" + std::to_string(nLine) + ":" + std::to_string(nColumn) + " " + pszCheck;
}

}  // namespace test
}  // namespace vitalchart
