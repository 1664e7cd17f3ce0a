#pragma once

#include <string>
#include <vector>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

enum class Verb { kHelp, kVersion, kSize, kRender, kCheck };

// What the user asked of the vitalchart command.
struct CommandLine {
    Verb verb = Verb::kHelp;
    std::string strTemplate;
    std::vector<std::string> dataFiles;
    std::string strOutput;  // empty or "-": standard output
    std::string strFormat;  // png, pdf, svg or trace; empty: from the output file's extension
    bool bDpi = false;
    bool bScaleX = false;
    bool bScaleY = false;
    int nDpi = 96;
    bool bRect = false;
    RECT rect = {0, 0, 0, 0};
    int nNumX = 96;
    int nDenX = 96;
    int nNumY = 96;
    int nDenY = 96;
    int nPrint = -1;  // 1 --print, 0 --screen, -1 the format's default
    bool bFill = false;
    UINT nCodePage = 0;  // 0: detect (UTF-8 when every input is valid UTF-8, else GBK)
};

// Reads the arguments after the program name; false with a one-line message
// naming the problem when an option is unknown or a value malformed.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& rLine, std::string& rError);

// The output format: --format, else the -o file's extension, else trace.
// Empty with rError for an extension that names no format.
std::string ResolveFormat(const CommandLine& line, std::string& rError);

// The usage text of --help.
const char* UsageText();

}  // namespace cli
}  // namespace vitalchart
