#pragma once

#include <functional>
#include <string>

#include "tools/page_sink.h"
#include "tools/progress_line.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// The cores this process may run on; at least 1.
int AvailableCores();

// Draws page nPage on the surface; false when drawing ran out of memory. It
// is called from several threads at once, each with a surface of its own.
using PageDrawer = std::function<bool(int nPage, CDC* pDC)>;

// Draws every page of the output on up to nJobs threads, the calling one among
// them. The runs' sinks are made first, in run order; then each thread takes
// the next run not yet taken and draws its pages in turn into the run's sink,
// which makes its surfaces on that thread, and finishes the sink. BeginPage
// calls are made one at a time, and a run's first one as it is taken, so that
// files are reserved in page order when every page is a run. A page after
// one that failed is not drawn.
//
// False with rError when a page failed: the message of the lowest page that
// failed, which is the one drawing them in turn would have met, else of the
// first run whose sink failed to finish. What a thread throws (out of memory)
// is thrown again here once every thread has stopped. The output's own Finish
// is left to the caller.
//
// fnBeside, when given, is work of the caller's that needs no page: the
// calling thread does it once the other threads have begun drawing, and then
// draws too (alone, it does it first).
bool DrawPages(CPageOutput& output, int nJobs, const PageDrawer& fnDraw, CProgressLine& progress, std::string& rError,
               const std::function<void()>& fnBeside = {});

// Runs fnBeside on another thread while the calling thread runs fnHere, when
// nJobs allows two threads and one can be had; else fnBeside first. What
// fnBeside throws is thrown again here once fnHere is done.
void RunBeside(int nJobs, const std::function<void()>& fnBeside, const std::function<void()>& fnHere);

}  // namespace cli
}  // namespace vitalchart
