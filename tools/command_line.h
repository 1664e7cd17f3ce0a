#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "tools/serve/serve_settings.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

struct VerbEntry;

// The formats render writes, and the two check prints.
enum class Format { kTrace, kPng, kPdf, kSvg, kText, kJson };

// What the user asked of the vitalchart command. An option left unset takes
// the verb's default.
struct CommandLine {
    const VerbEntry* pVerb = nullptr;  // never null after a successful parse
    std::string strTemplate;
    std::vector<std::string> dataFiles;
    std::optional<std::string> output;  // "-" or empty: standard output
    std::optional<Format> format;       // render: else from the output file's extension
    std::optional<RECT> rect;           // else from the template's declared size
    std::optional<int> dpi;             // else 600 for pdf, 96 for the rest
    std::optional<ScalePair> scaleX;    // else dpi/96
    std::optional<ScalePair> scaleY;
    std::optional<bool> print;  // true --print, false --screen; else print for pdf only
    bool bFill = false;
    std::optional<UINT> codePage;       // else UTF-8 when every input is valid UTF-8, GBK otherwise
    std::optional<int> pngCompression;  // 0 to 9; else the Cairo surface's default
    ServeSettings serve;                // serve's options

    bool OutputIsStdout() const { return !output || output->empty() || *output == "-"; }
};

// Reads the arguments after the program name: the verb, then its options and
// operand. False with a one-line message naming the problem when the verb or
// an option is unknown, a value is malformed or missing, or the template is
// missing or given twice. --help or -h anywhere selects the help verb.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& rLine, std::string& rError);

// Render's output format: --format, else the output file's extension, else
// trace. Nothing, with rError, for an extension that names no format.
std::optional<Format> ResolveFormat(const CommandLine& line, std::string& rError);

// "trace", "png", ... as the user writes it.
const char* FormatName(Format format);

// Writes "vitalchart: MESSAGE" on standard error, a remark the work goes on after.
void Note(const std::string& strMessage);

// Writes "vitalchart: MESSAGE" on standard error; returns 2, the exit code of
// a command that could not do its work.
int Fail(const std::string& strMessage);

}  // namespace cli
}  // namespace vitalchart
