#pragma once

#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// Every check the checker runs, by the name its findings carry, in the order
// docs/check.md lists them: the names that --disable and the template's
// check comments accept.
const std::vector<std::string>& CheckNames();

// Whether the name is the name of a check.
bool IsCheckName(const std::string& strName);

}  // namespace cli
}  // namespace vitalchart
