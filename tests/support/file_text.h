#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace vitalchart {
namespace test {

// The whole content of a file as bytes into rBytes; false when it cannot be
// read. The one file reader of the tests, the fuzz replays and the benchmark.
inline bool ReadFileBytes(const std::string& strPath, std::string& rBytes) {
    rBytes.clear();
    std::ifstream in(strPath, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    rBytes = ss.str();
    return !in.bad();
}

// The whole content of a file; empty when it cannot be read.
inline std::string ReadFileText(const std::string& strPath) {
    std::string strBytes;
    ReadFileBytes(strPath, strBytes);
    return strBytes;
}

}  // namespace test
}  // namespace vitalchart
