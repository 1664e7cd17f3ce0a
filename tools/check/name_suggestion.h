#pragma once

#include <string>
#include <vector>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// The name among the candidates that the name is most likely a misspelling
// of: a difference of letter case only, a natural spelling the renderer reads
// under another name ("font-italic"), or at most two characters inserted,
// removed, replaced or swapped in a name long enough for that to be a slip;
// empty when none is that close, or when there are more than 256 candidates.
std::string SuggestName(UINT nCodePage, const std::string& strName, const std::vector<std::string>& candidates);

}  // namespace cli
}  // namespace vitalchart
