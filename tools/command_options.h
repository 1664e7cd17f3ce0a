#pragma once

#include <stdexcept>

#include "tools/command_line.h"

namespace CLI {
class App;
}

namespace vitalchart {
namespace cli {

struct VerbEntry;

// A malformed option value, thrown by the options below while the command
// line is read; what() is the one-line message.
class CCommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The parser of one verb: its options, and a -h/--help that ends the reading
// at once by throwing CLI::CallForHelp. Operands and unknown options are left
// over (CLI::App::remaining) for the caller to judge in its own words.
void ConfigureParser(CLI::App& app, const VerbEntry& verb, CommandLine& rLine);

// The options a verb may take. Each reads its value the moment it is met on
// the command line, so the first malformed value is the one reported and a
// repeated option keeps its last value (--data adds a file each time).

// --data FILE
void AddDataOption(CLI::App& app, CommandLine& rLine);
// -o/--output FILE
void AddOutputOption(CLI::App& app, CommandLine& rLine);
// --format png|pdf|svg|trace
void AddDrawingFormatOption(CLI::App& app, CommandLine& rLine);
// --format text|json
void AddCheckFormatOption(CLI::App& app, CommandLine& rLine);
// --format text|json|svg
void AddLayoutFormatOption(CLI::App& app, CommandLine& rLine);
// init's -o FILE, --paper, --days, --times, --scale, --rows, --lang
void AddInitOptions(CLI::App& app, CommandLine& rLine);
// --rect, --dpi, --scale-x, --scale-y, --print, --screen, --fill
void AddDrawingOptions(CLI::App& app, CommandLine& rLine);
// --encoding auto|utf-8|gbk
void AddEncodingOption(CLI::App& app, CommandLine& rLine);
// --png-compression N
void AddPngCompressionOption(CLI::App& app, CommandLine& rLine);
// --readings FILE
void AddReadingsOption(CLI::App& app, CommandLine& rLine);
// --fhir BUNDLE, --map MAP
void AddFhirOptions(CLI::App& app, CommandLine& rLine);
// --profile PROFILE
void AddProfileOption(CLI::App& app, CommandLine& rLine);
// --strict
void AddStrictOption(CLI::App& app, CommandLine& rLine);
// --out-dir DIR, --report
void AddPageFileOptions(CLI::App& app, CommandLine& rLine);
// --jobs N
void AddJobsOption(CLI::App& app, CommandLine& rLine);
// --disable CHECK[,CHECK]...
void AddDisableOption(CLI::App& app, CommandLine& rLine);
// --watch
void AddWatchOption(CLI::App& app, CommandLine& rLine);

}  // namespace cli
}  // namespace vitalchart
