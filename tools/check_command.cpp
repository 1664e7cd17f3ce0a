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

std::size_t CountWarnings(const std::vector<Finding>& findings) {
    std::size_t nWarnings = 0;
    std::size_t nNotes = 0;
    CountFindings(findings, nWarnings, nNotes);
    return nWarnings;
}

std::string FormatFindingsText(const std::vector<std::string>& files, const std::vector<Finding>& findings,
                               std::size_t nSilenced) {
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
    out += strFiles + ": " + Count(nWarnings, "warning", "warnings") + ", " + Count(nNotes, "note", "notes") +
           (nSilenced > 0 ? ", " + std::to_string(nSilenced) + " silenced" : std::string()) + "\n";
    return out;
}

std::string FormatFindingsJson(const std::vector<std::string>& files, const std::vector<Finding>& findings,
                               std::size_t nSilenced) {
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
           ",\n  \"notes\": " + std::to_string(nNotes) + ",\n  \"silenced\": " + std::to_string(nSilenced) + "\n}\n";
    return out;
}

namespace {

// What the checker says of the files' encodings, at their first byte.
std::vector<Finding> EncodingFindings(const CommandLine& line, const CInputTexts& inputs) {
    std::vector<Finding> findings;
    const UINT nCodePage = inputs.GetCodePage();
    const char* pszCodePage = nCodePage == CP_GBK ? "GBK" : "UTF-8";
    for (std::size_t i = 0; i < inputs.GetEncodings().size(); ++i) {
        const DetectedEncoding& detected = inputs.GetEncodings()[i];
        const int nSource = static_cast<int>(i);
        if (detected.bByteOrderMark) {
            findings.push_back({nSource, 1, 1, Severity::kNote,
                                "the file begins with a UTF-8 byte-order mark: the plug-in skips it when it draws in "
                                "UTF-8 and reads it as text in any other code page",
                                "byte-order-mark"});
        }
        const bool bFits = detected.encoding == TextEncoding::kAscii ||
                           (detected.encoding == TextEncoding::kUtf8 && nCodePage == CP_UTF8) ||
                           (detected.encoding == TextEncoding::kGbk && nCodePage == CP_GBK);
        if (bFits) continue;
        std::string strMessage;
        if (line.codePage) {
            strMessage = std::string("the file is ") + EncodingName(detected.encoding) + ", not " + pszCodePage +
                         " as --encoding says: its names and values are read as " + pszCodePage + " bytes";
        } else {
            strMessage = std::string("this data text is ") + EncodingName(detected.encoding) + " and the template " +
                         pszCodePage +
                         ": vitalchart render converts it, but a host must pass the readings in the "
                         "template's code page, or no name of the template matches them";
        }
        findings.push_back({nSource, 1, 1, Severity::kWarning, strMessage, "encoding-mismatch"});
    }
    return findings;
}

}  // namespace

std::vector<Finding> CheckInputs(const CommandLine& line, const CInputTexts& inputs, bool bEncodings,
                                 std::size_t& rnSilenced) {
    // Names are compared without case in the code page the texts are read in.
    return CTemplateChecker(inputs.GetCodePage(), line.disabledChecks)
        .Check(inputs.GetTemplate(), inputs.GetDataTexts(),
               bEncodings ? EncodingFindings(line, inputs) : std::vector<Finding>(), &rnSilenced);
}

int RunCheck(const CommandLine& line) {
    std::vector<std::string> files = {line.strTemplate};
    files.insert(files.end(), line.dataFiles.begin(), line.dataFiles.end());
    CInputTexts inputs;
    std::string strError;
    if (!inputs.Read(line, strError)) return Fail(strError);

    std::size_t nSilenced = 0;
    std::vector<Finding> findings = CheckInputs(line, inputs, true, nSilenced);
    // Quoted text is shown in the reader's character set, never as raw bytes
    // of another code page.
    const UINT nCodePage = inputs.GetCodePage();
    const bool bJson = line.format == Format::kJson;
    for (Finding& finding : findings) {
        finding.strMessage = bJson ? ToUtf8(finding.strMessage, nCodePage) : ForTerminal(finding.strMessage, nCodePage);
    }
    std::cout << (bJson ? FormatFindingsJson(files, findings, nSilenced)
                        : FormatFindingsText(files, findings, nSilenced));
    std::cout.flush();
    if (!std::cout) return Fail("cannot write the findings");
    return CountWarnings(findings) > 0 ? kExitWarnings : kExitClean;
}

}  // namespace cli
}  // namespace vitalchart
