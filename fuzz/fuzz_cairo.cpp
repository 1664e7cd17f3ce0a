// A whole chart page on the Cairo surface, into an image in memory of at most
// kMaxFuzzImageSide pixels a side, the template kept in memory; the input is
// split as for the recording surface (draw_case.h). The surface must not fail
// and the host's state must come back. Every surface is made on the fuzzing
// thread, so that what the surface keeps for its thread (fonts) is reused
// from one input to the next, and every image is drawn on one lent buffer:
// mapping, faulting in and unmapping a new image took a third of each run.

#include <fontconfig/fontconfig.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/draw_case.h"
#include "fuzz/fuzz_support.h"
#include "vitalchart/surface/cairo_dc.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VITALCHART_FUZZ_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VITALCHART_FUZZ_LEAK_CHECK 1
#endif
#ifdef VITALCHART_FUZZ_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

using namespace vitalchart;
using vitalchart::fuzz::Require;

namespace {
unsigned char g_pixels[4 * fuzz::kMaxFuzzImageSide * fuzz::kMaxFuzzImageSide];
}  // namespace

// Reads the font configurations and loads a font once, before the first
// input, with leak checking off: fontconfig loses a few blocks when it parses
// a configuration, once per process, and its frames cannot be unwound cheaply
// enough to suppress them by name. (Fuzzing runs this target without leak
// checks for the same reason, since the text library's matching thread loses
// patterns too; the corpus replay of the sanitizer build checks leaks with
// full unwinding and the third-party suppressions.)
extern "C" int LLVMFuzzerInitialize(int*, char***) {
#ifdef VITALCHART_FUZZ_LEAK_CHECK
    __lsan::ScopedDisabler disabler;
#endif
    FcInit();
    auto pDC = CCairoDC::CreatePng(8, 8);
    RECT rc = {0, 0, 8, 8};
    pDC->DrawText("\xe4\xbd\x93 37", -1, &rc, DT_NOPREFIX);
    pDC->Finish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const fuzz::DrawCase c = fuzz::DecodeDrawCase(pData, nSize);
    Require(c.nImageWidth <= fuzz::kMaxFuzzImageSide && c.nImageHeight <= fuzz::kMaxFuzzImageSide,
            "an image larger than the buffer");
    auto pDC =
        CCairoDC::CreatePngOn(g_pixels, 4 * c.nImageWidth, c.nImageWidth, c.nImageHeight, c.nCodePage, c.bPrinting);
    Require(pDC->GetError().empty(), "the image could not be made", pDC->GetError());
    fuzz::DrawCaseInMemory(c, *pDC);
    // A failed drawing status would silently stop everything drawn after it.
    Require(pDC->GetError().empty(), "the surface failed", pDC->GetError());
    // One input in four is encoded too. The encoder reads only the image's
    // size and pixels, and encoding an image under the sanitizers costs as
    // much as drawing it: every second input took a fifth of the run.
    if (nSize > 0 && (pData[0] & 0x30) == 0x30) {
        std::vector<unsigned char> png;
        Require(pDC->EncodePng(png) && !png.empty(), "the image could not be encoded");
    }
    Require(pDC->Finish(), "the surface failed to finish", pDC->GetError());
    return 0;
}
