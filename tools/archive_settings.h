#pragma once

#include <optional>
#include <string>

namespace vitalchart {
namespace cli {

// What the archiving options ask of render and batch: the paper a chart is
// placed on, how a PDF is finished, and batch's own settings.
struct ArchiveSettings {
    std::string strPaper;  // --paper, a name FindPaper knows; empty: the page is the chart
    bool bFit = false;     // --fit: a chart too large for the paper is shrunk onto it
    // A PDF's metadata and PDF/A-2b (--title, --subject, --author, --pdfa 2b).
    std::optional<std::string> title;
    std::optional<std::string> subject;
    std::optional<std::string> author;
    bool bPdfA2b = false;
    bool bFinish = false;  // batch: every PDF finished, so that the same inputs give the same bytes
    // batch: the manifest (its operand), the one PDF of every chart
    // (--combined) and the share of the manifest this run takes (--shard, as
    // written: the job runner's environment completes it when the run starts).
    std::string strManifest;
    std::string strCombined;
    std::optional<std::string> shard;

    // The PDF is rewritten after drawing: metadata or PDF/A asked for, or a batch's.
    bool FinishesPdf() const { return bFinish || bPdfA2b || title || subject || author; }
};

}  // namespace cli
}  // namespace vitalchart
