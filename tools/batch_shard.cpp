#include "tools/batch_shard.h"

#include <charconv>

namespace vitalchart {
namespace cli {

namespace {

// A whole decimal number from nMin up, nothing before or after it.
bool ParseWhole(const std::string& str, int nMin, int& rValue) {
    int nValue = 0;
    const auto result = std::from_chars(str.data(), str.data() + str.size(), nValue);
    if (str.empty() || result.ec != std::errc() || result.ptr != str.data() + str.size() || nValue < nMin) {
        return false;
    }
    rValue = nValue;
    return true;
}

// The whole number a variable holds, left unset when the variable is; false
// with rError when it is malformed.
bool ReadVariable(const EnvironmentLookup& lookup, const char* pszName, int nMin, std::optional<int>& rValue,
                  std::string& rError) {
    const char* pszValue = lookup(pszName);
    if (pszValue == nullptr) return true;
    int nValue = 0;
    if (!ParseWhole(pszValue, nMin, nValue)) {
        rError = std::string(pszName) + " is '" + pszValue + "', not a whole number from " + std::to_string(nMin);
        return false;
    }
    rValue = nValue;
    return true;
}

// The index of a Slurm array task among the array's tasks.
bool SlurmIndex(const EnvironmentLookup& lookup, int nTaskId, int& rIndex, std::string& rError) {
    std::optional<int> min;
    std::optional<int> step;
    if (!ReadVariable(lookup, "SLURM_ARRAY_TASK_MIN", 0, min, rError) ||
        !ReadVariable(lookup, "SLURM_ARRAY_TASK_STEP", 1, step, rError)) {
        return false;
    }
    const int nFromMin = nTaskId - min.value_or(0);
    if (nFromMin < 0 || nFromMin % step.value_or(1) != 0) {
        rError = "SLURM_ARRAY_TASK_ID " + std::to_string(nTaskId) +
                 " is not in an even range of array indexes from SLURM_ARRAY_TASK_MIN; submit the array as "
                 "--array=0-N";
        return false;
    }
    rIndex = nFromMin / step.value_or(1);
    return true;
}

}  // namespace

bool ParseShardOption(const std::string& strValue, ShardOption& rOption, std::string& rError) {
    rOption = ShardOption();
    if (strValue == "auto") return true;
    const std::size_t nSlash = strValue.find('/');
    int nCount = 0;
    int nIndex = 0;
    if (nSlash == std::string::npos || !ParseWhole(strValue.substr(nSlash + 1), 1, nCount) ||
        (nSlash > 0 && !ParseWhole(strValue.substr(0, nSlash), 0, nIndex))) {
        rError = "--shard wants K/N (the K-th of N shares, from 0), /N (K from the job runner) or auto, not '" +
                 strValue + "'";
        return false;
    }
    if (nSlash > 0 && nIndex >= nCount) {
        rError = "--shard " + strValue + ": the share K counts from 0 and must be below N";
        return false;
    }
    rOption.count = nCount;
    if (nSlash > 0) rOption.index = nIndex;
    return true;
}

bool ResolveShard(const ShardOption& option, const EnvironmentLookup& lookup, Shard& rShard, std::string& rError) {
    std::optional<int> count = option.count;
    std::optional<int> index = option.index;
    if (!count) {
        if (!ReadVariable(lookup, "SLURM_ARRAY_TASK_COUNT", 1, count, rError)) return false;
        if (!count) {
            rError =
                "--shard auto takes the share from a Slurm array task (SLURM_ARRAY_TASK_ID and "
                "SLURM_ARRAY_TASK_COUNT), and there is none; elsewhere write --shard /N or K/N";
            return false;
        }
        // The count is Slurm's, and so is the index.
        std::optional<int> taskId;
        if (!ReadVariable(lookup, "SLURM_ARRAY_TASK_ID", 0, taskId, rError)) return false;
        if (!taskId) {
            rError = "SLURM_ARRAY_TASK_COUNT is set but SLURM_ARRAY_TASK_ID is not";
            return false;
        }
        int nIndex = 0;
        if (!SlurmIndex(lookup, *taskId, nIndex, rError)) return false;
        index = nIndex;
    }
    if (!index) {
        std::optional<int> taskId;
        if (!ReadVariable(lookup, "JOB_COMPLETION_INDEX", 0, index, rError) ||
            (!index && !ReadVariable(lookup, "SLURM_ARRAY_TASK_ID", 0, taskId, rError))) {
            return false;
        }
        if (!index && taskId) {
            int nIndex = 0;
            if (!SlurmIndex(lookup, *taskId, nIndex, rError)) return false;
            index = nIndex;
        }
        if (!index) {
            rError = "--shard /" + std::to_string(*count) +
                     " takes K from the job runner, and there is none (JOB_COMPLETION_INDEX of a Kubernetes "
                     "Indexed Job, SLURM_ARRAY_TASK_ID of a Slurm array task)";
            return false;
        }
    }
    if (*index >= *count) {
        rError = "this run's share " + std::to_string(*index) + " is not below the number of shares, " +
                 std::to_string(*count);
        return false;
    }
    rShard.nIndex = *index;
    rShard.nCount = *count;
    return true;
}

}  // namespace cli
}  // namespace vitalchart
