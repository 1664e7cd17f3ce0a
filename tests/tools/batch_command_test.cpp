// The batch verb as an archive runs it: shares that together write the whole
// run, a run interrupted and run again that redraws nothing finished, one
// combined PDF, and a chart that fails alone.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <regex>
#include <string>

#include "support/captured_output.h"
#include "tools/command_fixture.h"

namespace {

using vitalchart::test::CapturedOutput;
using vitalchart::test::ReadFileText;

const std::string kExamples = VITALCHART_EXAMPLES;

class BatchCommandTest : public vitalchart::test::CommandTest {
protected:
    // A manifest of nCharts charts of the example week, the first of two
    // weeks, every fifth laid out from readings; returns its name.
    std::string Manifest(int nCharts, const std::string& strName = "m.jsonl") {
        std::string str;
        for (int i = 0; i < nCharts; ++i) {
            const std::string strOut =
                "\"output\":\"ward/p" + std::to_string(i) + ".pdf\",\"label\":\"Patient " + std::to_string(i) + "\"";
            const std::string strTemplate = "{\"template\":\"" + kExamples + "/vitalsign.xml\",";
            if (i % 5 == 4) {
                str += strTemplate + "\"readings\":\"" + kExamples + "/week.readings.json\",\"profile\":\"" +
                       kExamples + "/../profiles/adult.json\"," + strOut + "}\n";
            } else {
                const std::string strWeek = "\"" + kExamples + "/week.data\"";
                str += strTemplate + "\"data\":[" + strWeek + (i == 0 ? "," + strWeek : "") + "]," + strOut + "}\n";
            }
        }
        Write(strName, str);
        return strName;
    }

    // Every file under the folder, by path, with its bytes.
    std::map<std::string, std::string> Files(const std::string& strFolder) {
        std::map<std::string, std::string> files;
        const std::string strList = CapturedOutput("cd '" + m_strDir + "/" + strFolder + "' && find . -type f | sort");
        std::size_t nStart = 0;
        for (std::size_t nEnd; (nEnd = strList.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1) {
            const std::string strPath = strList.substr(nStart, nEnd - nStart);
            files[strPath] = ReadFileText(m_strDir + "/" + strFolder + "/" + strPath);
        }
        return files;
    }

    long long ChangeTime(const std::string& strPath) {
        struct stat info {};
        if (::stat((m_strDir + "/" + strPath).c_str(), &info) != 0) return -1;
        return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    }
};

// Byte for byte: every PDF of a batch takes its dates from SOURCE_DATE_EPOCH,
// even a second later.
TEST_F(BatchCommandTest, SharesTogetherWriteTheWholeRun) {
    const std::string strRun =
        "SOURCE_DATE_EPOCH=1733040000 '" + std::string(VITALCHART_CLI) + "' batch " + Manifest(7) + " --jobs 2 -o ";
    const std::string strShares =
        CapturedOutput("cd '" + m_strDir + "' && " + strRun + "whole && sleep 1 && " + strRun +
                       "shared --shard 0/2 && JOB_COMPLETION_INDEX=1 " + strRun + "shared --shard /2");
    EXPECT_NE(strShares.find("share 0 of 2: 4 charts (4 drawn, 0 complete before), 5 pages, 0 failed"),
              std::string::npos)
        << strShares;
    EXPECT_NE(strShares.find("share 1 of 2: 3 charts (3 drawn"), std::string::npos) << strShares;
    const std::map<std::string, std::string> whole = Files("whole");
    EXPECT_EQ(whole.size(), 7u);
    EXPECT_TRUE(whole == Files("shared"));
    EXPECT_EQ(CapturedOutput("cd '" + m_strDir +
                             "/whole/ward' && for f in *.pdf; do qpdf --check $f >/dev/null || "
                             "echo $f; done"),
              "");
}

TEST_F(BatchCommandTest, AnInterruptedBatchRunAgainRedrawsNothingFinished) {
    const std::string strBatch = "'" + std::string(VITALCHART_CLI) + "' batch " + Manifest(60) + " --jobs 1 -o out";
    // Interrupted once its first chart is in place.
    CapturedOutput("cd '" + m_strDir + "' && (" + strBatch +
                   " 2>/dev/null & pid=$!; for i in $(seq 3000); do [ -e out/ward/p0.pdf ] && break; sleep 0.01; done;"
                   " kill -INT $pid; wait $pid)");
    EXPECT_EQ(CapturedOutput("cd '" + m_strDir + "' && find out -name '*.tmp-*'"), "");
    std::map<std::string, long long> before;
    for (int i = 0; i < 60; ++i) {
        const std::string strPath = "out/ward/p" + std::to_string(i) + ".pdf";
        if (ChangeTime(strPath) >= 0) before[strPath] = ChangeTime(strPath);
    }
    ASSERT_GE(before.size(), 1u);
    ASSERT_LT(before.size(), 60u) << "the batch ended before it was interrupted";

    const vitalchart::test::CommandResult again = Run(strBatch.substr(strBatch.find(" batch ")));
    EXPECT_EQ(again.nExit, 0) << again.strErr;
    EXPECT_NE(again.strOut.find("60 charts (" + std::to_string(60 - before.size()) + " drawn, " +
                                std::to_string(before.size()) + " complete before)"),
              std::string::npos)
        << again.strOut;
    for (const auto& file : before) EXPECT_EQ(ChangeTime(file.first), file.second) << file.first;
    EXPECT_EQ(Files("out").size(), 60u);
}

TEST_F(BatchCommandTest, TheCombinedPdfHasAnEntryAChartAndAWeekAndPageLabels) {
    const vitalchart::test::CommandResult r =
        Run("batch " + Manifest(3) + " -o out --combined all.pdf --pdfa 2b --title Ward --paper A4");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(CapturedOutput("cd '" + m_strDir + "' && qpdf --check all.pdf >/dev/null; echo $?"), "0\n");
    EXPECT_NE(CapturedOutput("pdfinfo -meta '" + m_strDir + "/all.pdf'").find("<pdfaid:part>2"), std::string::npos);
    const std::string strJson =
        CapturedOutput("qpdf --json --json-key=outlines --json-key=pagelabels '" + m_strDir + "/all.pdf'");
    const std::regex titleRe(R"re("title": "([^"]*)")re");
    std::string strTitles;
    for (std::sregex_iterator it(strJson.begin(), strJson.end(), titleRe), end; it != end; ++it) {
        strTitles += (*it)[1].str() + ";";
    }
    // qpdf writes an entry's keys in order: its weeks ("kids") before its title.
    EXPECT_EQ(strTitles, "Week 1;Week 2;Patient 0;Week 1;Patient 1;Week 1;Patient 2;");
    EXPECT_NE(strJson.find("\"/P\": \"u:Patient 1 \""), std::string::npos) << strJson;
    EXPECT_NE(CapturedOutput("pdfinfo '" + m_strDir + "/all.pdf'").find("Pages:           4"), std::string::npos);
}

// A ward's year is more charts than a process may hold files open.
TEST_F(BatchCommandTest, ACombinedPdfMayHoldMoreChartsThanOpenFiles) {
    const std::string strOut =
        CapturedOutput("cd '" + m_strDir + "' && ulimit -n 32 && '" + VITALCHART_CLI + "' batch " + Manifest(40) +
                       " -o out --jobs 2 --combined all.pdf 2>&1; echo $?");
    EXPECT_NE(strOut.find("40 charts (40 drawn, 0 complete before), 41 pages, 0 failed"), std::string::npos) << strOut;
    EXPECT_EQ(strOut.substr(strOut.size() - 2), "0\n");
    EXPECT_NE(CapturedOutput("pdfinfo '" + m_strDir + "/all.pdf'").find("Pages:           41"), std::string::npos);
}

// Shares writing the same combined PDF would each leave their own charts in it.
TEST_F(BatchCommandTest, ASharedRunWritesNoCombinedPdf) {
    const vitalchart::test::CommandResult r = Run("batch " + Manifest(2) + " -o out --shard 0/2 --combined all.pdf");
    EXPECT_EQ(r.nExit, 2);
    EXPECT_NE(r.strErr.find("run the batch again without --shard"), std::string::npos) << r.strErr;
}

TEST_F(BatchCommandTest, AChartThatFailsFailsAlone) {
    Write("m.jsonl", "{\"template\":\"" + kExamples + "/vitalsign.xml\",\"data\":\"" + kExamples +
                         "/week.data\",\"output\":\"a.pdf\"}\n{\"template\":\"missing.xml\",\"output\":\"b.pdf\"}\n");
    const vitalchart::test::CommandResult r = Run("batch m.jsonl -o out --combined all.pdf");
    EXPECT_EQ(r.nExit, 1);
    EXPECT_NE(r.strErr.find("m.jsonl:2 (b.pdf): "), std::string::npos) << r.strErr;
    EXPECT_NE(r.strErr.find("all.pdf is not written: 1 chart failed"), std::string::npos) << r.strErr;
    EXPECT_NE(r.strOut.find("2 charts (1 drawn, 0 complete before), 1 pages, 1 failed"), std::string::npos) << r.strOut;
    EXPECT_EQ(Files("out").size(), 1u);
}

}  // namespace
