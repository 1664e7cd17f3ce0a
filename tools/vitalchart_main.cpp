// The vitalchart command: a host on Linux that asks the plug-in for a
// template's size or renders a template and its readings to a file.

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/check_command.h"
#include "tools/command_line.h"
#include "tools/output_files.h"
#include "tools/render_command.h"
#include "vitalchart/plugin.h"

using namespace vitalchart;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoSize = 1;
constexpr int kExitError = 2;

int Fail(const std::string& strMessage) {
    std::cerr << "vitalchart: " << strMessage << "\n";
    return kExitError;
}

std::string ShortestFloat(float f) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, f);
    return std::string(buf, result.ptr);
}

int RunSize(const cli::CommandLine& line) {
    std::string strContent;
    std::string strError;
    if (!cli::ReadWholeFile(line.strTemplate, strContent, strError)) return Fail(strError);
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    if (!GetPluginSizeByTemplet(&fWidth, &fHeight, line.strTemplate.c_str())) {
        std::cerr << "vitalchart: " << line.strTemplate << " declares no size (no vitalsize element)\n";
        return kExitNoSize;
    }
    std::cout << ShortestFloat(fWidth) << " " << ShortestFloat(fHeight) << "\n";
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    cli::CommandLine line;
    std::string strError;
    if (!cli::ParseCommandLine(args, line, strError)) return Fail(strError);
    switch (line.verb) {
        case cli::Verb::kHelp:
            std::cout << cli::UsageText();
            return kExitOk;
        case cli::Verb::kVersion:
            std::cout << "vitalchart " << VITALCHART_VERSION << "\n";
            return kExitOk;
        case cli::Verb::kSize:
            return RunSize(line);
        case cli::Verb::kRender:
            return cli::RunRender(line);
        case cli::Verb::kCheck:
            return cli::RunCheck(line);
    }
    return kExitError;
}
