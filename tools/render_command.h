#pragma once

#include "tools/command_line.h"

namespace vitalchart {
namespace cli {

// Runs `vitalchart render`: reads the template once, draws one page per data
// text on the surface of the chosen format, on --jobs threads, and writes the
// pages atomically.
// Returns the exit code (0, or 2 with a message on standard error).
int RunRender(const CommandLine& line);

// The render of one chart, for render and batch: draws the pages the command
// line describes into its -o file (and, with the archive settings, on paper
// and finished as a PDF), committed only when all went well. With bProgress
// a progress line shows on a terminal. Several may run at once on different
// threads, each with --jobs 1. rPages is the number of pages written.
// Returns the exit code, as RunRender.
int RenderChart(const CommandLine& line, bool bProgress, int& rPages);

}  // namespace cli
}  // namespace vitalchart
