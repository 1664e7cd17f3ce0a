#pragma once

#include <string>

namespace vitalchart {
namespace cli {

// Reads the whole file; false with rError naming the file and the reason.
bool ReadWholeFile(const std::string& strPath, std::string& rContent, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
