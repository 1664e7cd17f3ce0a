#include "tools/batch_command.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "tools/batch_manifest.h"
#include "tools/batch_progress.h"
#include "tools/batch_shard.h"
#include "tools/combined_pdf.h"
#include "tools/message_capture.h"
#include "tools/output_files.h"
#include "tools/page_runner.h"
#include "tools/pdf_finish.h"
#include "tools/render_command.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitFailed = 2;

enum class EChartState { kDrawn, kComplete, kFailed };

// What became of one chart.
struct ChartOutcome {
    EChartState nState = EChartState::kFailed;
    int nPages = 0;
};

// Makes the folder and those above it that are missing; false with rError.
bool MakeFolders(const std::string& strPath, std::string& rError) {
    for (std::size_t nSlash = strPath.find('/', 1);; nSlash = strPath.find('/', nSlash + 1)) {
        const std::string strFolder = strPath.substr(0, nSlash);
        if (::mkdir(strFolder.c_str(), 0777) != 0 && errno != EEXIST) {
            rError = "cannot make the folder " + strFolder + ": " + std::strerror(errno);
            return false;
        }
        if (nSlash == std::string::npos) return true;
    }
}

bool IsFile(const std::string& strPath) {
    struct stat info;
    return ::stat(strPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Seconds with one decimal, written without the process locale.
std::string Seconds(double dSeconds) {
    const long long nTenths = static_cast<long long>(dSeconds * 10.0 + 0.5);
    return std::to_string(nTenths / 10) + "." + std::to_string(nTenths % 10);
}

class CBatch {
public:
    CBatch(const CommandLine& line, std::vector<ManifestChart> charts, CBatchProgress& progress)
        : m_line(line), m_charts(std::move(charts)), m_progress(progress), m_outcomes(m_charts.size()) {}

    std::string Target(const ManifestChart& chart) const { return m_line.strOutDir + "/" + chart.strOutput; }

    // Draws every chart on up to nJobs threads, the calling one among them.
    void Run(int nJobs) {
        const std::size_t nThreads = std::min(m_charts.size(), static_cast<std::size_t>(std::max(1, nJobs)));
        std::vector<std::thread> threads;
        for (std::size_t i = 1; i < nThreads; ++i) {
            try {
                threads.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                // No thread to be had: the threads there are draw every chart.
                break;
            }
        }
        Work();
        for (std::thread& thread : threads) thread.join();
    }

    const std::vector<ManifestChart>& GetCharts() const { return m_charts; }
    const std::vector<ChartOutcome>& GetOutcomes() const { return m_outcomes; }

private:
    void Work() {
        for (std::size_t i = m_nNext++; i < m_charts.size(); i = m_nNext++) {
            std::vector<std::string> messages;
            try {
                m_outcomes[i] = Draw(m_charts[i], messages);
            } catch (const std::exception& error) {
                // Unwinding has removed the chart's temporary files; the
                // other charts go on.
                m_outcomes[i] = ChartOutcome();
                const bool bMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
                messages.push_back(Where(m_charts[i]) + (bMemory ? std::string("out of memory") : error.what()));
            }
            m_progress.ChartDone(m_outcomes[i].nState == EChartState::kFailed, messages);
        }
    }

    // "m.jsonl:3 (li-ming.pdf): ", before a chart's messages.
    std::string Where(const ManifestChart& chart) const {
        return m_line.archive.strManifest + ":" + std::to_string(chart.nLine) + " (" + chart.strOutput + "): ";
    }

    ChartOutcome Draw(const ManifestChart& chart, std::vector<std::string>& rMessages) {
        ChartOutcome outcome;
        if (!chart.arrErrors.empty()) {
            rMessages = chart.arrErrors;
            return outcome;
        }
        // Files are renamed into place once complete: one under its own
        // name is a chart a run before this one finished.
        const std::string strTarget = Target(chart);
        if (IsFile(strTarget)) {
            outcome.nState = EChartState::kComplete;
            return outcome;
        }
        std::string strError;
        const std::size_t nSlash = chart.strOutput.find_last_of('/');
        if (nSlash != std::string::npos && !MakeFolders(strTarget.substr(0, strTarget.find_last_of('/')), strError)) {
            rMessages.push_back(Where(chart) + strError);
            return outcome;
        }

        CommandLine line;
        line.pVerb = m_line.pVerb;
        line.strTemplate = chart.strTemplate;
        line.dataFiles = chart.dataFiles;
        line.strReadings = chart.strReadings;
        line.strFhir = chart.strFhir;
        line.strMap = chart.strMap;
        line.strProfile = chart.strProfile;
        line.output = strTarget;
        line.format = Format::kPdf;
        line.jobs = 1;
        line.bStrict = m_line.bStrict;
        line.archive.strPaper = m_line.archive.strPaper;
        line.archive.bFit = m_line.archive.bFit;
        line.archive.bPdfA2b = m_line.archive.bPdfA2b;
        line.archive.bFinish = true;
        line.archive.title = chart.title ? chart.title : m_line.archive.title;
        line.archive.subject = chart.subject ? chart.subject : m_line.archive.subject;
        line.archive.author = chart.author ? chart.author : m_line.archive.author;

        int nExit = kExitFailed;
        {
            CMessageCapture capture;
            nExit = RenderChart(line, false, outcome.nPages);
            for (const std::string& strMessage : capture.GetMessages()) rMessages.push_back(Where(chart) + strMessage);
        }
        outcome.nState = nExit == kExitOk ? EChartState::kDrawn : EChartState::kFailed;
        return outcome;
    }

    const CommandLine& m_line;
    const std::vector<ManifestChart> m_charts;
    CBatchProgress& m_progress;
    std::vector<ChartOutcome> m_outcomes;
    std::atomic<std::size_t> m_nNext{0};
};

// The one PDF of every chart; false with a message written.
bool WriteCombined(const CommandLine& line, const CBatch& batch) {
    const std::string& strCombined = line.archive.strCombined;
    std::vector<CombinedChart> parts;
    for (const ManifestChart& chart : batch.GetCharts()) parts.push_back({batch.Target(chart), chart.strLabel});
    if (parts.empty()) {
        Note("this run has no charts; " + strCombined + " is not written");
        return true;
    }
    PdfMetadata metadata;
    COutputFiles outputs;
    std::string strError;
    std::string strTemp;
    if (NewPdfMetadata(metadata, strError)) {
        metadata.strTitle = line.archive.title.value_or(std::string());
        metadata.strSubject = line.archive.subject.value_or(std::string());
        metadata.strAuthor = line.archive.author.value_or(std::string());
        metadata.bPdfA2b = line.archive.bPdfA2b;
        strTemp = outputs.Reserve(strCombined, strError);
    }
    if (!strTemp.empty() && !WriteCombinedPdf(parts, metadata, strTemp, strError)) {
        strError = strCombined + ": " + strError;
    } else if (!strTemp.empty() && outputs.Commit(strError)) {
        return true;
    }
    Fail(strError);
    return false;
}

}  // namespace

int RunBatch(const CommandLine& line) {
    const auto start = std::chrono::steady_clock::now();
    if (line.strOutDir.empty()) return Fail("batch needs -o DIR, the folder of the charts' files");
    if (line.archive.shard && !line.archive.strCombined.empty()) {
        // Every share would write the same file with its own charts alone.
        return Fail(
            "--combined takes every chart and --shard a share of them; once every share has run, run the batch "
            "again without --shard: it draws nothing and writes the combined PDF");
    }
    std::string strError;
    Shard shard;
    if (line.archive.shard) {
        ShardOption option;
        if (!ParseShardOption(*line.archive.shard, option, strError) ||
            !ResolveShard(
                option, [](const char* pszName) { return std::getenv(pszName); }, shard, strError)) {
            return Fail(strError);
        }
    }
    // A malformed SOURCE_DATE_EPOCH stops the batch before any chart.
    PdfMetadata metadata;
    if (!NewPdfMetadata(metadata, strError)) {
        return Fail(strError);
    }
    std::string strManifest;
    if (!ReadWholeFile(line.archive.strManifest, strManifest, strError)) return Fail(strError);
    std::vector<ManifestChart> charts;
    const std::vector<ManifestChart> all = ReadManifest(strManifest, line.archive.strManifest);
    for (std::size_t i = static_cast<std::size_t>(shard.nIndex); i < all.size();
         i += static_cast<std::size_t>(shard.nCount)) {
        charts.push_back(all[i]);
    }
    if (!MakeFolders(line.strOutDir, strError)) return Fail(strError);
    for (const ManifestChart& chart : all) {
        if (line.strOutDir + "/" + chart.strOutput == line.archive.strCombined) {
            return Fail("--combined " + line.archive.strCombined + " is the output of line " +
                        std::to_string(chart.nLine) + " of " + line.archive.strManifest);
        }
    }

    CBatchProgress progress(static_cast<int>(charts.size()));
    CBatch batch(line, std::move(charts), progress);
    batch.Run(line.jobs.value_or(AvailableCores()));
    progress.End();

    int nDrawn = 0;
    int nComplete = 0;
    int nFailed = 0;
    int nPages = 0;
    for (const ChartOutcome& outcome : batch.GetOutcomes()) {
        nDrawn += outcome.nState == EChartState::kDrawn ? 1 : 0;
        nComplete += outcome.nState == EChartState::kComplete ? 1 : 0;
        nFailed += outcome.nState == EChartState::kFailed ? 1 : 0;
        nPages += outcome.nPages;
    }
    bool bCombined = true;
    if (!line.archive.strCombined.empty()) {
        if (nFailed > 0) {
            Note(line.archive.strCombined + " is not written: " + std::to_string(nFailed) +
                 (nFailed == 1 ? " chart failed" : " charts failed"));
        } else {
            bCombined = WriteCombined(line, batch);
        }
    }

    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string strSummary = std::to_string(batch.GetCharts().size()) + " charts (" + std::to_string(nDrawn) +
                             " drawn, " + std::to_string(nComplete) + " complete before), " + std::to_string(nPages) +
                             " pages, " + std::to_string(nFailed) + " failed, " + Seconds(dSeconds) + " seconds";
    if (line.archive.shard) {
        strSummary =
            "share " + std::to_string(shard.nIndex) + " of " + std::to_string(shard.nCount) + ": " + strSummary;
    }
    std::cout << strSummary << "\n" << std::flush;
    if (!std::cout) return Fail("cannot write to standard output");
    return nFailed == 0 && bCombined ? kExitOk : kExitSomeFailed;
}

}  // namespace cli
}  // namespace vitalchart
