#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vitalchart {
namespace cli {

// The share of a manifest one run of batch takes: the charts whose place
// among the manifest's charts (from 0) is nIndex, nIndex + nCount, ...
struct Shard {
    int nIndex = 0;
    int nCount = 1;
};

// What --shard says: "K/N" gives both; "/N" leaves K to the job runner;
// "auto" leaves both to it.
struct ShardOption {
    std::optional<int> index;
    std::optional<int> count;
};

// Reads a --shard value; false with rError when it is none of the forms or
// K is not below N.
bool ParseShardOption(const std::string& strValue, ShardOption& rOption, std::string& rError);

// The variables of the environment, by name; null when unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The shard a run takes: what the option gives, the rest from the job
// runner's environment. The index: a Kubernetes Indexed Job's
// JOB_COMPLETION_INDEX, else a Slurm array task's SLURM_ARRAY_TASK_ID
// counted from SLURM_ARRAY_TASK_MIN in steps of SLURM_ARRAY_TASK_STEP; the
// count ("auto"): SLURM_ARRAY_TASK_COUNT. False with rError when a variable
// needed is missing or malformed, or the index is not below the count.
bool ResolveShard(const ShardOption& option, const EnvironmentLookup& lookup, Shard& rShard, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
