// The drawing module: the Cairo surface's factories and the members the
// command calls, as one table (tools/surface_module.h).

#include <memory>

#include "tools/surface_module.h"
#include "vitalchart/surface/cairo_dc.h"

namespace {

using vitalchart::BOOL;
using vitalchart::CCairoDC;
using vitalchart::CDC;
using vitalchart::UINT;

// Every surface the command holds was made by this module.
CCairoDC& Cairo(CDC& rDC) {
    return static_cast<CCairoDC&>(rDC);
}

std::unique_ptr<CDC> CreatePngEntry(int nWidth, int nHeight, UINT nCodePage, BOOL bPrinting) {
    return CCairoDC::CreatePng(nWidth, nHeight, nCodePage, bPrinting);
}

std::unique_ptr<CDC> CreatePdfEntry(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                    BOOL bPrinting) {
    return CCairoDC::CreatePdf(strPath, nWidth, nHeight, nDpi, nCodePage, bPrinting);
}

std::unique_ptr<CDC> CreateSvgEntry(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                    BOOL bPrinting) {
    return CCairoDC::CreateSvg(strPath, nWidth, nHeight, nDpi, nCodePage, bPrinting);
}

std::unique_ptr<CDC> CreatePdfInMemoryEntry(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting) {
    return CCairoDC::CreatePdfInMemory(nWidth, nHeight, nDpi, nCodePage, bPrinting);
}

std::unique_ptr<CDC> CreateSvgInMemoryEntry(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting) {
    return CCairoDC::CreateSvgInMemory(nWidth, nHeight, nDpi, nCodePage, bPrinting);
}

bool ShowPageEntry(CDC& rDC) {
    return Cairo(rDC).ShowPage();
}

bool FinishEntry(CDC& rDC) {
    return Cairo(rDC).Finish();
}

bool WritePngEntry(CDC& rDC, const std::string& strPath, int nCompression) {
    return Cairo(rDC).WritePng(strPath, nCompression);
}

bool EncodePngEntry(CDC& rDC, std::vector<unsigned char>& arrBytes, int nCompression) {
    return Cairo(rDC).EncodePng(arrBytes, nCompression);
}

std::string TakeDocumentEntry(CDC& rDC) {
    return Cairo(rDC).TakeDocument();
}

const std::string& GetErrorEntry(const CDC& rDC) {
    return static_cast<const CCairoDC&>(rDC).GetError();
}

}  // namespace

// The module's one exported symbol; everything else in it is hidden.
extern "C" __attribute__((visibility("default"))) const vitalchart::cli::SurfaceModule* vitalchart_surface_module() {
    static const vitalchart::cli::SurfaceModule s_module = {vitalchart::cli::kSurfaceModuleInterface,
                                                            CCairoDC::ShareFontsWithProcess,
                                                            CreatePngEntry,
                                                            CreatePdfEntry,
                                                            CreateSvgEntry,
                                                            CreatePdfInMemoryEntry,
                                                            CreateSvgInMemoryEntry,
                                                            ShowPageEntry,
                                                            FinishEntry,
                                                            WritePngEntry,
                                                            EncodePngEntry,
                                                            TakeDocumentEntry,
                                                            GetErrorEntry};
    return &s_module;
}
