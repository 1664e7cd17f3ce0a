// vitalchart-serve: the chart service, a program of its own so that only it
// loads the HTTP library and what that needs. `vitalchart serve ...` starts
// it with the same arguments; it takes those of the serve verb alone.

#include <new>
#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/serve/serve_command.h"
#include "tools/verbs.h"

using namespace vitalchart::cli;

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.empty() || args.front() != "serve") return Fail("usage: vitalchart-serve serve [OPTION]...");
        CommandLine line;
        std::string strError;
        if (!ParseCommandLine(args, line, strError)) return Fail(strError);
        // --help, say, is the command's own verb.
        if (line.pVerb != FindVerb("serve")) return line.pVerb->pfnRun(line);
        return RunServe(line);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
}
