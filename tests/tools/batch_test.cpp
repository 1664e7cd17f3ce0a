// Pages drawn on several threads: the same output as drawn one after the
// other, in page order, and the failure of the page drawing in turn would
// have met first.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/captured_output.h"
#include "tools/command_fixture.h"
#include "tools/page_runner.h"
#include "tools/pdf_merge.h"

namespace vitalchart {
namespace test {
namespace {

const std::string kExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";

using vitalchart::test::CapturedOutput;

// A page file's bytes. An SVG drawing names its page group after the drawing
// library's count of surfaces made so far in the process, which depends on
// how the threads took turns; that label alone is set aside.
std::string PageBytes(const std::string& strPath) {
    static const std::regex surfaceLabel("<g id=\"surface[0-9]+\">");
    return std::regex_replace(ReadFileText(strPath), surfaceLabel, "<g id=\"surface\">");
}

class BatchTest : public CommandTest {
protected:
    // nPages pages of the bundled week, each with its own page number, the
    // last a continuation page; the --data options naming them.
    std::string DataOptions(int nPages) {
        const std::string strWeek = ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
        const std::string strPageRow = "vitalsignsvalues=\"1\"";
        std::string strOptions;
        for (int nPage = 1; nPage <= nPages; ++nPage) {
            std::string strText = strWeek;
            const std::size_t nAt = strText.find(strPageRow);
            if (nAt != std::string::npos) {
                strText.replace(nAt, strPageRow.size(), "vitalsignsvalues=\"" + std::to_string(nPage) + "\"");
            }
            if (nPage == nPages) strText += "<print resume=\"true\"/>\n";
            const std::string strName = "page" + std::to_string(nPage) + ".data";
            Write(strName, strText);
            strOptions += " --data " + strName;
        }
        return strOptions;
    }
};

TEST_F(BatchTest, PagesOfOneFileEachAreTheSameOnAnyNumberOfThreads) {
    const int nPages = 5;
    const std::string strData = DataOptions(nPages);
    for (const char* pszFormat : {"trace", "png", "svg"}) {
        SCOPED_TRACE(pszFormat);
        for (const char* pszJobs : {"1", "3"}) {
            const std::string strTarget = std::string("j") + pszJobs + "." + pszFormat;
            const CommandResult r =
                Run("render '" + kExample + "'" + strData + " --jobs " + pszJobs + " -o " + strTarget);
            ASSERT_EQ(r.nExit, 0) << r.strErr;
        }
        for (int nPage = 1; nPage <= nPages; ++nPage) {
            const std::string strSuffix = "-" + std::to_string(nPage) + "." + pszFormat;
            const std::string strOne = PageBytes(m_strDir + "/j1" + strSuffix);
            ASSERT_FALSE(strOne.empty()) << nPage;
            // (Not EXPECT_EQ: a difference would print megabytes.)
            EXPECT_TRUE(PageBytes(m_strDir + "/j3" + strSuffix) == strOne) << "page " << nPage;
        }
    }
    // On standard output the pages follow one another in page order.
    const CommandResult one = Run("render '" + kExample + "'" + strData + " --jobs 1");
    const CommandResult two = Run("render '" + kExample + "'" + strData + " --jobs 2");
    ASSERT_EQ(two.nExit, 0) << two.strErr;
    EXPECT_EQ(two.strOut, one.strOut);
    EXPECT_EQ(two.strErr, one.strErr);
}

TEST_F(BatchTest, PdfMergedFromRunsKeepsEveryPageTextAndFont) {
    // Enough pages for two runs of their own.
    const std::string strData = DataOptions(9);
    std::string strText[2];
    std::set<std::string> fonts[2];
    for (int i = 0; i < 2; ++i) {
        const std::string strPdf = m_strDir + (i == 0 ? "/one.pdf" : "/two.pdf");
        const CommandResult r =
            Run("render '" + kExample + "'" + strData + " --jobs " + (i == 0 ? "1" : "2") + " -o '" + strPdf + "'");
        ASSERT_EQ(r.nExit, 0) << r.strErr;
        EXPECT_NE(CapturedOutput("pdfinfo '" + strPdf + "'").find("Pages:           9\n"), std::string::npos);
        // pdftotext ends every page with a form feed.
        strText[i] = CapturedOutput("pdftotext -layout '" + strPdf + "' -");
        // Each font's name, type, encoding and whether it is embedded, subset
        // and mapped to Unicode; its object number differs, and so does the
        // tag before a subset's name, which follows the order a run met its
        // glyphs in.
        std::istringstream lines(CapturedOutput("pdffonts '" + strPdf + "'"));
        std::string strLine;
        while (std::getline(lines, strLine)) {
            std::istringstream words(strLine);
            std::vector<std::string> arrWords{std::istream_iterator<std::string>(words),
                                              std::istream_iterator<std::string>()};
            if (arrWords.size() < 9 || arrWords[0] == "name") continue;
            std::string strFont;
            const std::size_t nTag = arrWords[0].find('+');
            if (nTag != std::string::npos) arrWords[0].erase(0, nTag + 1);
            for (std::size_t w = 0; w + 2 < arrWords.size(); ++w) strFont += arrWords[w] + " ";
            fonts[i].insert(strFont);
        }
    }
    EXPECT_EQ(std::count(strText[1].begin(), strText[1].end(), '\f'), 9);
    EXPECT_EQ(strText[1], strText[0]);
    ASSERT_FALSE(fonts[0].empty());
    EXPECT_EQ(fonts[1], fonts[0]);
    for (const std::string& strFont : fonts[1]) EXPECT_NE(strFont.find("yes yes yes"), std::string::npos) << strFont;
    // Nothing of the runs' files is left beside the output.
    EXPECT_EQ(CapturedOutput("ls -a '" + m_strDir + "'").find(".tmp-"), std::string::npos);
}

TEST_F(BatchTest, MergedRunsDrawnLastPageFirstComeOutInPageOrder) {
    // The second run of a pair writes its pages last first, and when the
    // first run got no page, it is the first file of the merge.
    const std::string strData = DataOptions(5);
    const std::string strPages[] = {" --data page1.data --data page2.data --data page3.data",
                                    " --data page4.data --data page5.data"};
    const auto pagesOf = [&](const std::string& strPdf) {
        std::vector<std::string> pages;
        std::istringstream text(CapturedOutput("pdftotext -layout '" + strPdf + "' -"));
        for (std::string strPage; std::getline(text, strPage, '\f');) pages.push_back(strPage);
        if (!pages.empty() && pages.back().find_first_not_of("\n") == std::string::npos) pages.pop_back();
        return pages;
    };
    for (int i = 0; i < 2; ++i) {
        const std::string strPdf = m_strDir + "/part" + std::to_string(i) + ".pdf";
        ASSERT_EQ(Run("render '" + kExample + "'" + strPages[i] + " --jobs 1 -o '" + strPdf + "'").nExit, 0);
    }
    const std::vector<std::string> a = pagesOf(m_strDir + "/part0.pdf"), b = pagesOf(m_strDir + "/part1.pdf");
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 2u);
    std::string strError;
    ASSERT_TRUE(
        cli::MergePdfs({{ReadFileText(m_strDir + "/part0.pdf"), true}, {ReadFileText(m_strDir + "/part1.pdf"), true}},
                       m_strDir + "/merged.pdf", strError))
        << strError;
    EXPECT_EQ(pagesOf(m_strDir + "/merged.pdf"), (std::vector<std::string>{a[2], a[1], a[0], b[1], b[0]}));
    int nExit = -1;
    CapturedOutput("qpdf --check '" + m_strDir + "/merged.pdf'", &nExit);
    EXPECT_EQ(nExit, 0);
}

TEST_F(BatchTest, JobsMustBeAPositiveWholeNumber) {
    Write("t.xml", "<vitalsize width=\"167\" height=\"213\"/>\n");
    for (const char* pszJobs : {"0", "-2", "two", "1.5"}) {
        SCOPED_TRACE(pszJobs);
        const CommandResult r = Run(std::string("render t.xml -o x.trace --jobs ") + pszJobs);
        EXPECT_EQ(r.nExit, 2);
        EXPECT_NE(r.strErr.find("--jobs"), std::string::npos) << r.strErr;
        EXPECT_FALSE(std::ifstream(m_strDir + "/x.trace").good());
    }
}

// A sink that records what the runner asks of it and fails where it is told.
struct RunnerLog {
    std::mutex mutex;
    std::vector<int> begun;     // pages in the order BeginPage was called
    std::vector<int> finished;  // runs' first pages whose sink finished
    std::map<std::size_t, std::vector<int>> pagesOfRun;
};

class CFakeSink : public cli::CPageSink {
public:
    CFakeSink(RunnerLog& rLog, std::size_t nRun, int nFirst, int nFailBegin, int nFailEnd)
        : m_rLog(rLog), m_nRun(nRun), m_nFirst(nFirst), m_nFailBegin(nFailBegin), m_nFailEnd(nFailEnd) {}
    bool BeginPage(int nPage, std::string& rError) override {
        // The runner makes these calls one at a time: no lock of its own.
        m_rLog.begun.push_back(nPage);
        m_rLog.pagesOfRun[m_nRun].push_back(nPage);
        m_nPage = nPage;
        rError = "cannot begin page " + std::to_string(nPage);
        return nPage != m_nFailBegin;
    }
    CDC* GetSurface() override { return nullptr; }
    bool EndPage(std::string& rError) override {
        rError = "cannot end page " + std::to_string(m_nPage);
        return m_nPage != m_nFailEnd;
    }
    bool Finish(std::string&) override {
        const std::lock_guard<std::mutex> lock(m_rLog.mutex);
        m_rLog.finished.push_back(m_nFirst);
        return true;
    }

private:
    RunnerLog& m_rLog;
    std::size_t m_nRun;
    int m_nFirst;
    int m_nFailBegin;
    int m_nFailEnd;
    int m_nPage = 0;
};

class CFakeOutput : public cli::CPageOutput {
public:
    CFakeOutput(RunnerLog& rLog, int nPages, int nRuns, bool bShared, int nFailBegin, int nFailEnd)
        : m_rLog(rLog), m_nFailBegin(nFailBegin), m_nFailEnd(nFailEnd) {
        m_runs = bShared ? cli::CutIntoSharedRuns(nPages, nRuns) : cli::CutIntoRuns(nPages, nRuns);
    }
    std::unique_ptr<cli::CPageSink> MakeSink(std::size_t nRun, std::string&) override {
        return std::make_unique<CFakeSink>(m_rLog, nRun, m_runs[nRun].nFirst, m_nFailBegin, m_nFailEnd);
    }
    bool Finish(std::string&) override { return true; }

private:
    RunnerLog& m_rLog;
    int m_nFailBegin;
    int m_nFailEnd;
};

TEST(BatchRunnerTest, EveryPageOnceAndTheFirstFailureInPageOrder) {
    struct Row {
        int nPages, nRuns, nJobs;
        int nFailBegin, nFailDraw, nFailEnd;  // 0: no failure
        const char* pszError;
        int nSlowUpTo = 0;     // pages up to this one take a millisecond to draw
        bool bShared = false;  // runs in shared pairs, as a PDF's are
    } rows[] = {
        {1, 1, 4, 0, 0, 0, ""},
        {40, 40, 3, 0, 0, 0, ""},
        {40, 3, 3, 0, 0, 0, ""},
        {40, 40, 1, 0, 0, 0, ""},
        {40, 40, 3, 30, 0, 0, "cannot begin page 30"},
        {40, 40, 3, 0, 35, 7, "cannot end page 7"},
        {40, 2, 2, 0, 5, 30, "out of memory drawing page 5"},
        {40, 2, 2, 0, 25, 0, "out of memory drawing page 25"},
        // The later run fails first; the earlier page's failure is the message.
        {40, 2, 2, 0, 21, 19, "cannot end page 19", 20},
        {40, 4, 8, 39, 0, 2, "cannot end page 2"},
        // A pair meets wherever the work puts it; a run may get no page.
        {40, 2, 2, 0, 0, 0, "", 20, true},
        {41, 5, 3, 0, 0, 0, "", 0, true},
        {2, 2, 1, 0, 0, 0, "", 0, true},
        {40, 2, 2, 0, 38, 3, "cannot end page 3", 4, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.nPages << " pages, " << row.nRuns << " runs, " << row.nJobs << " jobs");
        RunnerLog log;
        CFakeOutput output(log, row.nPages, row.nRuns, row.bShared, row.nFailBegin, row.nFailEnd);
        std::mutex drawnMutex;
        std::vector<int> drawn;
        const cli::PageDrawer draw = [&](int nPage, CDC*) {
            if (nPage <= row.nSlowUpTo) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const std::lock_guard<std::mutex> lock(drawnMutex);
            drawn.push_back(nPage);
            return nPage != row.nFailDraw;
        };
        cli::CProgressLine progress(row.nPages);
        std::string strError;
        const bool bOk = cli::DrawPages(output, row.nJobs, draw, progress, strError);
        EXPECT_EQ(bOk, *row.pszError == '\0');
        EXPECT_EQ(strError, row.pszError);
        // The files of pages that are runs of their own are reserved in page order.
        if (row.nRuns == row.nPages) {
            EXPECT_TRUE(std::is_sorted(log.begun.begin(), log.begun.end()));
        }
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(std::adjacent_find(drawn.begin(), drawn.end()), drawn.end()) << "a page drawn twice";
        if (bOk) {
            EXPECT_EQ(static_cast<int>(drawn.size()), row.nPages);
            EXPECT_EQ(static_cast<int>(log.finished.size()), row.nRuns);
        }
        // Each run's pages follow one another, up from its first or, the
        // second of a pair, down from its last.
        for (const auto& [nRun, pages] : log.pagesOfRun) {
            const cli::PageRun& run = output.GetRuns()[nRun];
            for (std::size_t i = 0; i < pages.size(); ++i) {
                EXPECT_EQ(pages[i], run.bBackward ? run.nLast - static_cast<int>(i) : run.nFirst + static_cast<int>(i))
                    << "run " << nRun;
            }
        }
    }
}

// Work beside runs on another thread while this one works (with one job,
// first, here); what it throws comes back once both are done.
TEST(BatchRunnerTest, WorkBesideRunsAlongAndWhatItThrowsComesBack) {
    std::vector<std::thread::id> threads;
    bool bHereDone = false;
    EXPECT_THROW(cli::RunBeside(
                     2,
                     [&] {
                         threads.push_back(std::this_thread::get_id());
                         throw std::runtime_error("beside");
                     },
                     [&] { bHereDone = true; }),
                 std::runtime_error);
    EXPECT_TRUE(bHereDone);
    cli::RunBeside(
        1, [&] { threads.push_back(std::this_thread::get_id()); }, [&] { threads.push_back({}); });
    ASSERT_EQ(threads.size(), 3u);
    EXPECT_NE(threads[0], std::this_thread::get_id());
    EXPECT_EQ(threads[1], std::this_thread::get_id());
    EXPECT_EQ(threads[2], std::thread::id());
}

TEST(BatchRunnerTest, RunsAreConsecutiveAndEven) {
    struct Row {
        int nPages, nRuns;
        std::vector<std::pair<int, int>> runs;
    } rows[] = {
        {1, 4, {{1, 1}}}, {7, 1, {{1, 7}}}, {7, 3, {{1, 3}, {4, 5}, {6, 7}}}, {3, 3, {{1, 1}, {2, 2}, {3, 3}}},
        {3, 0, {{1, 3}}},
    };
    for (const Row& row : rows) {
        std::vector<std::pair<int, int>> runs;
        for (const cli::PageRun& run : cli::CutIntoRuns(row.nPages, row.nRuns))
            runs.emplace_back(run.nFirst, run.nLast);
        EXPECT_EQ(runs, row.runs) << row.nPages << " pages in " << row.nRuns << " runs";
    }
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
