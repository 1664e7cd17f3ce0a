#include "tools/serve_program.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

namespace {

// The folder of the running program, with its closing slash; empty when it
// cannot be told.
std::string ProgramFolder() {
    char szPath[PATH_MAX];
    const ssize_t nLength = ::readlink("/proc/self/exe", szPath, sizeof szPath - 1);
    if (nLength <= 0) return std::string();
    const std::string strPath(szPath, static_cast<std::size_t>(nLength));
    const std::size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1);
}

}  // namespace

int RunServeProgram(const CommandLine& line) {
    const std::string strProgram = ProgramFolder() + "vitalchart-serve";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(strProgram.c_str()));
    for (const std::string& strArg : line.args) argv.push_back(const_cast<char*>(strArg.c_str()));
    argv.push_back(nullptr);
    ::execv(strProgram.c_str(), argv.data());
    return Fail("cannot start " + strProgram + ": " + std::strerror(errno));
}

}  // namespace cli
}  // namespace vitalchart
