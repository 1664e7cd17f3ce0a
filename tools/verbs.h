#pragma once

#include <string>
#include <vector>

#include "tools/command_line.h"

namespace CLI {
class App;
}

namespace vitalchart {
namespace cli {

// What a verb's operand names: nothing (the verb takes none), a template
// (required), a readings document (else --fhir names a bundle), or a batch's
// manifest (required).
enum class EOperand { kNone, kTemplate, kReadings, kManifest };

// One verb of the vitalchart command. Adding a verb is one entry in the table
// of verbs.cpp and its run function; its options come from the declarations
// of command_options.h, and the help text is made from the table.
struct VerbEntry {
    std::vector<std::string> names;  // the first is shown; the rest are aliases
    const char* pszUsage;            // what follows the name on its usage line
    const char* pszSummary;          // what it does, for the help text
    EOperand nOperand;               // what its one operand names, if it takes one
    // Declares the verb's options on the parser, each filling rLine when read;
    // null: the verb reads nothing after its name, and what follows is ignored.
    void (*pfnOptions)(CLI::App& app, CommandLine& rLine);
    // Does the work; returns the exit code.
    int (*pfnRun)(const CommandLine& line);
};

// Every verb, in the order the help text shows them.
const std::vector<VerbEntry>& Verbs();

// The verb with that name or alias; null when there is none.
const VerbEntry* FindVerb(const std::string& strName);

// The verb that prints the help text.
const VerbEntry& HelpVerb();

// The text of --help: every verb's usage line, then what each does and the
// options it adds.
std::string HelpText();

}  // namespace cli
}  // namespace vitalchart
