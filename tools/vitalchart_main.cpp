// The vitalchart command: a host on Linux that asks the plug-in for a
// template's size, renders a template and its readings to files, or checks
// a template. The verbs are the table of tools/verbs.cpp.

#include <new>
#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/process_memory.h"
#include "tools/verbs.h"

using namespace vitalchart::cli;

int main(int argc, char** argv) {
    KeepLargeBlocksOnTheHeap();
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        CommandLine line;
        std::string strError;
        if (!ParseCommandLine(args, line, strError)) return Fail(strError);
        return line.pVerb->pfnRun(line);
    } catch (const std::bad_alloc&) {
        // Unwinding has removed any temporary output file.
        return Fail("out of memory");
    }
}
