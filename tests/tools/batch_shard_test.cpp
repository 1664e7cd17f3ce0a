// A batch run's share of the manifest: from --shard, or from the job
// runner's environment (a Kubernetes Indexed Job, a Slurm array task).

#include "tools/batch_shard.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vitalchart {
namespace cli {
namespace {

TEST(BatchShardTest, TheShareComesFromTheOptionOrTheJobRunner) {
    struct Row {
        const char* pszOption;
        std::map<std::string, std::string> environment;
        int nIndex, nCount;    // -1: refused
        const char* pszError;  // part of the message when refused
    };
    const Row rows[] = {
        {"0/2", {}, 0, 2, ""},
        {"1/2", {{"JOB_COMPLETION_INDEX", "0"}}, 1, 2, ""},
        {"/4", {{"JOB_COMPLETION_INDEX", "3"}}, 3, 4, ""},
        {"/4", {{"SLURM_ARRAY_TASK_ID", "2"}}, 2, 4, ""},
        {"auto", {{"SLURM_ARRAY_TASK_ID", "3"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, 3, 4, ""},
        // An array submitted as --array=1-4 or --array=0-6:2 counts its tasks from 0 all the same.
        {"auto",
         {{"SLURM_ARRAY_TASK_ID", "4"}, {"SLURM_ARRAY_TASK_COUNT", "4"}, {"SLURM_ARRAY_TASK_MIN", "1"}},
         3,
         4,
         ""},
        {"auto",
         {{"SLURM_ARRAY_TASK_ID", "6"},
          {"SLURM_ARRAY_TASK_COUNT", "4"},
          {"SLURM_ARRAY_TASK_MIN", "0"},
          {"SLURM_ARRAY_TASK_STEP", "2"}},
         3,
         4,
         ""},
        {"2/2", {}, -1, 0, "must be below N"},
        {"1/0", {}, -1, 0, "--shard wants K/N"},
        {"-1/2", {}, -1, 0, "--shard wants K/N"},
        {"1/2x", {}, -1, 0, "--shard wants K/N"},
        {"/4", {}, -1, 0, "there is none"},
        {"/4", {{"JOB_COMPLETION_INDEX", "4"}}, -1, 0, "not below the number of shares, 4"},
        {"/4", {{"JOB_COMPLETION_INDEX", "x"}}, -1, 0, "JOB_COMPLETION_INDEX is 'x'"},
        {"auto", {{"JOB_COMPLETION_INDEX", "1"}}, -1, 0, "there is none"},
        {"auto", {{"SLURM_ARRAY_TASK_COUNT", "4"}}, -1, 0, "SLURM_ARRAY_TASK_ID is not"},
        {"auto", {{"SLURM_ARRAY_TASK_ID", "3"}, {"SLURM_ARRAY_TASK_COUNT", "2"}}, -1, 0, "not below"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszOption);
        const auto lookup = [&row](const char* pszName) -> const char* {
            const auto it = row.environment.find(pszName);
            return it == row.environment.end() ? nullptr : it->second.c_str();
        };
        ShardOption option;
        Shard shard;
        std::string strError;
        const bool bResolved =
            ParseShardOption(row.pszOption, option, strError) && ResolveShard(option, lookup, shard, strError);
        if (row.nIndex < 0) {
            EXPECT_FALSE(bResolved);
            EXPECT_NE(strError.find(row.pszError), std::string::npos) << strError;
        } else {
            ASSERT_TRUE(bResolved) << strError;
            EXPECT_EQ(shard.nIndex, row.nIndex);
            EXPECT_EQ(shard.nCount, row.nCount);
        }
    }
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
