#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vitalchart {
namespace test {

// What a shell command writes on standard output; its exit status in *pExit
// when asked (-1 when it did not exit normally).
inline std::string CapturedOutput(const std::string& strCommand, int* pExit = nullptr) {
    std::string strOut;
    FILE* pipe = ::popen(strCommand.c_str(), "r");
    if (pipe == nullptr) return strOut;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) strOut.append(buf, n);
    const int nStatus = ::pclose(pipe);
    if (pExit != nullptr) *pExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return strOut;
}

}  // namespace test
}  // namespace vitalchart
