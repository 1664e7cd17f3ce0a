// A whole chart page on the recording surface: the template walk with every
// painter, over the readings of the data text, on screen or in print, with
// hostile rectangles and scale pairs (layout in draw_case.h), the template
// kept in memory. The trace must keep its grammar and the host's surface
// state must come back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/draw_case.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/trace_grammar.h"
#include "vitalchart/surface/recording_dc.h"

using namespace vitalchart;
using vitalchart::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const fuzz::DrawCase c = fuzz::DecodeDrawCase(pData, nSize);
    CRecordingDC dc(c.nCodePage, c.bPrinting);
    fuzz::DrawCaseInMemory(c, dc);
    std::string strBadLine;
    Require(fuzz::IsWellFormedTrace(dc.GetTrace(), &strBadLine), "a trace line out of grammar", strBadLine);
    return 0;
}
