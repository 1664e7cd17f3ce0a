#include "tools/archive_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "tools/batch_shard.h"
#include "tools/command_options.h"
#include "tools/option_adders.h"
#include "tools/paper.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

// A text of the document's metadata: UTF-8 without control characters.
void AddText(CLI::App& app, const char* pszName, const char* pszHelp, std::optional<std::string>& rText) {
    const std::string strName = pszName;
    AddValue(app, pszName, "TEXT", pszHelp, [&rText, strName](const std::string& strValue) {
        bool bControl = false;
        for (char c : strValue) bControl = bControl || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        if (!IsValidUtf8(strValue) || bControl) {
            Refuse(strName + " wants UTF-8 text without control characters");
        }
        rText = strValue;
    });
}

}  // namespace

void AddPaperOptions(CLI::App& app, CommandLine& rLine) {
    const std::string strHelp = "place the chart at full size in the middle of a sheet of paper:\n" + PaperNames() +
                                " (a chart too large for it is an error)";
    AddValue(app, "--paper", "NAME", strHelp.c_str(), [&rLine](const std::string& strValue) {
        const PaperSize* pPaper = FindPaper(strValue);
        if (pPaper == nullptr) Refuse("unknown paper '" + strValue + "' (known: " + PaperNames() + ")");
        rLine.archive.strPaper = pPaper->pszName;
    });
    AddFlag(app, "--fit", "shrink a chart too large for the --paper until it fits",
            [&rLine] { rLine.archive.bFit = true; });
}

void AddPdfFinishOptions(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--pdfa", "LEVEL", "write PDF/A: 2b (sRGB output intent, fonts embedded, XMP metadata)",
             [&rLine](const std::string& strValue) {
                 if (strValue != "2b" && strValue != "2B") Refuse("unknown PDF/A level '" + strValue + "' (known: 2b)");
                 rLine.archive.bPdfA2b = true;
             });
    AddText(app, "--title", "the PDF's title (its metadata; no patient's data unless written here)",
            rLine.archive.title);
    AddText(app, "--subject", "the PDF's subject", rLine.archive.subject);
    AddText(app, "--author", "the PDF's author", rLine.archive.author);
}

void AddBatchOptions(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "-o,--out-dir", "DIR", "folder of the charts' files (made when missing)",
             [&rLine](const std::string& strValue) {
                 if (strValue.empty()) Refuse("-o wants DIR, not an empty name");
                 rLine.strOutDir = strValue;
             });
    AddValue(app, "--jobs", "N", "charts drawn at once (default: one a core)", [&rLine](const std::string& strValue) {
        int nJobs = 0;
        const auto result = std::from_chars(strValue.data(), strValue.data() + strValue.size(), nJobs);
        if (result.ec != std::errc() || result.ptr != strValue.data() + strValue.size() || nJobs <= 0) {
            Refuse("--jobs wants a positive integer, not '" + strValue + "'");
        }
        rLine.jobs = nJobs;
    });
    AddValue(app, "--combined", "FILE",
             "also one PDF of every chart, with an outline entry a chart and a week,\n"
             "and page labels",
             [&rLine](const std::string& strValue) {
                 if (strValue.empty()) Refuse("--combined wants FILE, not an empty name");
                 rLine.archive.strCombined = strValue;
             });
    AddValue(app, "--shard", "K/N",
             "take the K-th of every N charts (from 0); /N or auto: K, and N, from the\n"
             "job runner (JOB_COMPLETION_INDEX, SLURM_ARRAY_TASK_ID, SLURM_ARRAY_TASK_COUNT)",
             [&rLine](const std::string& strValue) {
                 ShardOption option;
                 std::string strError;
                 if (!ParseShardOption(strValue, option, strError)) Refuse(strError);
                 rLine.archive.shard = strValue;
             });
}

}  // namespace cli
}  // namespace vitalchart
