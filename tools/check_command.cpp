#include "tools/check_command.h"

#include <cstdio>
#include <iostream>

#include "platform/utf8.h"
#include "tools/output_files.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitError = 2;

const char* SeverityName(Severity severity) {
    return severity == Severity::kWarning ? "warning" : "note";
}

std::string Count(std::size_t n, const char* pszOne, const char* pszMany) {
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}

void CountFindings(const std::vector<Finding>& findings, std::size_t& rWarnings, std::size_t& rNotes) {
    rWarnings = 0;
    rNotes = 0;
    for (const Finding& finding : findings) {
        if (finding.severity == Severity::kWarning) {
            ++rWarnings;
        } else {
            ++rNotes;
        }
    }
}

const std::string& FileOf(const std::vector<std::string>& files, const Finding& finding) {
    static const std::string strUnknown = "?";
    if (finding.nSource < 0 || static_cast<std::size_t>(finding.nSource) >= files.size()) return strUnknown;
    return files[static_cast<std::size_t>(finding.nSource)];
}

}  // namespace

std::string JsonString(const std::string& strBytes) {
    std::string out = "\"";
    std::size_t i = 0;
    while (i < strBytes.size()) {
        const unsigned char c = static_cast<unsigned char>(strBytes[i]);
        if (c >= 0x80) {
            const std::size_t n = Utf8SequenceLength(strBytes.data() + i, strBytes.size() - i);
            if (n > 0) {
                out.append(strBytes, i, n);
                i += n;
                continue;
            }
        }
        char buf[8];
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
                break;
        }
        ++i;
    }
    return out + "\"";
}

std::string FormatFindingsText(const std::vector<std::string>& files, const std::vector<Finding>& findings) {
    std::string out;
    for (const Finding& finding : findings) {
        out += FileOf(files, finding) + ":" + std::to_string(finding.nLine) + ":" + std::to_string(finding.nColumn) +
               ": " + SeverityName(finding.severity) + ": " + finding.strMessage + " [" + finding.strCheck + "]\n";
    }
    std::size_t nWarnings = 0;
    std::size_t nNotes = 0;
    CountFindings(findings, nWarnings, nNotes);
    std::string strFiles;
    for (std::size_t i = 0; i < files.size(); ++i) strFiles += (i > 0 ? ", " : "") + files[i];
    out += strFiles + ": " + Count(nWarnings, "warning", "warnings") + ", " + Count(nNotes, "note", "notes") + "\n";
    return out;
}

std::string FormatFindingsJson(const std::vector<std::string>& files, const std::vector<Finding>& findings) {
    std::string out = "{\n  \"files\": [";
    for (std::size_t i = 0; i < files.size(); ++i) out += (i > 0 ? ", " : "") + JsonString(files[i]);
    out += "],\n  \"findings\": [";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding& finding = findings[i];
        out += std::string(i > 0 ? "," : "") + "\n    {\"file\": " + JsonString(FileOf(files, finding)) +
               ", \"line\": " + std::to_string(finding.nLine) + ", \"column\": " + std::to_string(finding.nColumn) +
               ", \"severity\": \"" + SeverityName(finding.severity) +
               "\", \"message\": " + JsonString(finding.strMessage) + ", \"check\": " + JsonString(finding.strCheck) +
               "}";
    }
    std::size_t nWarnings = 0;
    std::size_t nNotes = 0;
    CountFindings(findings, nWarnings, nNotes);
    out += std::string(findings.empty() ? "" : "\n  ") + "],\n  \"warnings\": " + std::to_string(nWarnings) +
           ",\n  \"notes\": " + std::to_string(nNotes) + "\n}\n";
    return out;
}

int RunCheck(const CommandLine& line) {
    std::vector<std::string> files = {line.strTemplate};
    std::string strTemplate;
    std::string strError;
    if (!ReadWholeFile(line.strTemplate, strTemplate, strError)) {
        std::cerr << "vitalchart: " << strError << "\n";
        return kExitError;
    }
    std::vector<std::string> dataTexts;
    for (const std::string& strPath : line.dataFiles) {
        dataTexts.emplace_back();
        if (!ReadWholeFile(strPath, dataTexts.back(), strError)) {
            std::cerr << "vitalchart: " << strError << "\n";
            return kExitError;
        }
        files.push_back(strPath);
    }

    // Names are compared without case in the code page the texts are written in.
    UINT nCodePage = line.codePage.value_or(0);
    if (nCodePage == 0) {
        bool bUtf8 = IsValidUtf8(strTemplate);
        for (const std::string& strData : dataTexts) bUtf8 = bUtf8 && IsValidUtf8(strData);
        nCodePage = bUtf8 ? CP_UTF8 : CP_GBK;
    }

    const std::vector<Finding> findings = CTemplateChecker(nCodePage).Check(strTemplate, dataTexts);
    std::cout << (line.format == Format::kJson ? FormatFindingsJson(files, findings)
                                               : FormatFindingsText(files, findings));
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vitalchart: cannot write the findings\n";
        return kExitError;
    }
    for (const Finding& finding : findings) {
        if (finding.severity == Severity::kWarning) return kExitWarnings;
    }
    return kExitClean;
}

}  // namespace cli
}  // namespace vitalchart
