#include "tools/render_check.h"

#include <string>

#include "tools/check_command.h"

namespace vitalchart {
namespace cli {

namespace {

// A word as a POSIX shell reads it back: as it is when it holds nothing the
// shell treats specially, else in single quotes.
std::string ShellWord(const std::string& strWord) {
    bool bPlain = !strWord.empty();
    for (char c : strWord) {
        const bool bSafe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string("_-+./:,=@%").find(c) != std::string::npos;
        bPlain = bPlain && bSafe;
    }
    if (bPlain) return strWord;
    std::string out = "'";
    for (char c : strWord) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The check command that explains what render found in the same inputs.
std::string CheckCommand(const CommandLine& line) {
    std::string str = "vitalchart check " + ShellWord(line.strTemplate);
    for (const std::string& strData : line.dataFiles) str += " --data " + ShellWord(strData);
    if (line.codePage) str += *line.codePage == CP_GBK ? " --encoding gbk" : " --encoding utf-8";
    for (const std::string& strCheck : line.disabledChecks) str += " --disable " + strCheck;
    return str;
}

}  // namespace

int CheckBeforeRender(const CommandLine& line, const CInputTexts& inputs) {
    CRenderCheck check(line, inputs);
    check.Walk();
    return ReportRenderWarnings(line, check.CountWarnings());
}

CRenderCheck::CRenderCheck(const CommandLine& line, const CInputTexts& inputs)
    : m_inputs(inputs), m_check(inputs.GetCodePage(), line.disabledChecks) {}

void CRenderCheck::Walk() {
    m_check.Walk(m_inputs.GetTemplate(), m_inputs.GetDataTexts());
}

std::size_t CRenderCheck::CountWarnings() {
    // A data text in the other encoding is converted, and render says so
    // on a line of its own: the files' encodings are not checked here.
    return cli::CountWarnings(m_check.Finish());
}

int ReportRenderWarnings(const CommandLine& line, std::size_t nWarnings) {
    if (nWarnings == 0) return 0;
    const std::string strCount = std::to_string(nWarnings) + (nWarnings == 1 ? " warning" : " warnings");
    const std::string strExplained = CheckCommand(line) + (nWarnings == 1 ? " explains it" : " explains them");
    if (line.bStrict) return Fail(strCount + " and --strict: no chart is written; " + strExplained);
    Note(strCount + "; " + strExplained);
    return 0;
}

}  // namespace cli
}  // namespace vitalchart
