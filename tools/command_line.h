#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/chart_geometry.h"
#include "tools/archive_settings.h"
#include "tools/init/chart_request.h"
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
    std::vector<std::string> args;     // as given, after the program's name
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
    std::optional<UINT> codePage;             // else UTF-8 when every input is valid UTF-8, GBK otherwise
    std::optional<int> pngCompression;        // 0 to 9; else the Cairo surface's default
    std::optional<int> jobs;                  // render: pages drawn at once; else one a core
    std::vector<std::string> disabledChecks;  // check, render: checks whose findings are left out
    // Readings laid out by a hospital profile: a readings document, or a FHIR
    // bundle read with a mapping table (else the built-in one).
    std::string strReadings;
    std::string strFhir;
    std::string strMap;
    std::string strProfile;
    std::string strOutDir;  // paginate: where page-N.data go; empty: the current folder; batch: its charts
    bool bStrict = false;   // a warning about the readings or of the checker is an error
    bool bReport = false;   // paginate: where each reading went, on standard output
    bool bWatch = false;    // render: draw again whenever an input file is written
    // init: the chart to lay out.
    ChartRequest chartRequest;
    ServeSettings serve;      // serve's options
    ArchiveSettings archive;  // render, batch: paper and PDF finishing; batch's manifest and shares

    bool OutputIsStdout() const { return !output || output->empty() || *output == "-"; }
    bool HasReadings() const { return !strReadings.empty() || !strFhir.empty(); }
};

// Reads the arguments after the program name: the verb, then its options and
// operand. False with a one-line message naming the problem when the verb or
// an option is unknown, a value is malformed or missing, the operand is
// missing or given twice, or the readings' options do not go together (data
// texts and readings at once, readings without a profile, ...). --help or -h anywhere selects the help verb.
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
