#include "tools/surface_module.h"

#include <dlfcn.h>

#include "tools/module_loading.h"

namespace vitalchart {
namespace cli {

namespace {

// Loads the font configuration's library and starts it reading the
// system's configuration. A library that cannot be loaded is left to the
// module's own load, which needs it and says so.
void BeginReadingFonts() {
    void* pHandle = ::dlopen(kFontsLibraryFile, RTLD_LAZY | RTLD_LOCAL);
    if (pHandle == nullptr) return;
    using BeginFn = void (*)();
    const auto pBegin = reinterpret_cast<BeginFn>(::dlsym(pHandle, kFontsLibraryEntry));
    if (pBegin != nullptr) pBegin();
}

LoadedModule<SurfaceModule> Load() {
    BeginReadingFonts();
    return LoadModule<SurfaceModule>(kSurfaceModuleFile, kSurfaceModuleEntry, kSurfaceModuleInterface,
                                     "drawing module");
}

// The module of a surface that exists: it was made through the module.
const SurfaceModule& Loaded() {
    std::string strUnused;
    return *LoadSurfaceModule(strUnused);
}

}  // namespace

const SurfaceModule* LoadSurfaceModule(std::string& rError) {
    // Loaded once, by whichever thread asks first.
    static const LoadedModule<SurfaceModule> s_loaded = Load();
    if (s_loaded.pModule == nullptr) rError = s_loaded.strError;
    return s_loaded.pModule;
}

std::future<void> LoadSurfaceModuleBeside() {
    return LoadBeside([] {
        // A failure is reported by the call that needs the module.
        std::string strWhy;
        LoadSurfaceModule(strWhy);
    });
}

std::unique_ptr<CDC> CreatePngSurface(int nWidth, int nHeight, UINT nCodePage, BOOL bPrinting, std::string& rError) {
    const SurfaceModule* pModule = LoadSurfaceModule(rError);
    return pModule != nullptr ? pModule->pCreatePng(nWidth, nHeight, nCodePage, bPrinting) : nullptr;
}

std::unique_ptr<CDC> CreatePdfSurface(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                      BOOL bPrinting, std::string& rError) {
    const SurfaceModule* pModule = LoadSurfaceModule(rError);
    return pModule != nullptr ? pModule->pCreatePdf(strPath, nWidth, nHeight, nDpi, nCodePage, bPrinting) : nullptr;
}

std::unique_ptr<CDC> CreateSvgSurface(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                      BOOL bPrinting, std::string& rError) {
    const SurfaceModule* pModule = LoadSurfaceModule(rError);
    return pModule != nullptr ? pModule->pCreateSvg(strPath, nWidth, nHeight, nDpi, nCodePage, bPrinting) : nullptr;
}

std::unique_ptr<CDC> CreatePdfSurfaceInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting,
                                              std::string& rError) {
    const SurfaceModule* pModule = LoadSurfaceModule(rError);
    return pModule != nullptr ? pModule->pCreatePdfInMemory(nWidth, nHeight, nDpi, nCodePage, bPrinting) : nullptr;
}

std::unique_ptr<CDC> CreateSvgSurfaceInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting,
                                              std::string& rError) {
    const SurfaceModule* pModule = LoadSurfaceModule(rError);
    return pModule != nullptr ? pModule->pCreateSvgInMemory(nWidth, nHeight, nDpi, nCodePage, bPrinting) : nullptr;
}

bool ShareSurfaceFontsWithProcess() {
    std::string strUnused;
    const SurfaceModule* pModule = LoadSurfaceModule(strUnused);
    return pModule != nullptr && pModule->pShareFontsWithProcess();
}

bool ShowSurfacePage(CDC& rDC) {
    return Loaded().pShowPage(rDC);
}

bool FinishSurface(CDC& rDC) {
    return Loaded().pFinish(rDC);
}

bool WriteSurfacePng(CDC& rDC, const std::string& strPath, int nCompression) {
    return Loaded().pWritePng(rDC, strPath, nCompression);
}

bool EncodeSurfacePng(CDC& rDC, std::vector<unsigned char>& arrBytes, int nCompression) {
    return Loaded().pEncodePng(rDC, arrBytes, nCompression);
}

std::string TakeSurfaceDocument(CDC& rDC) {
    return Loaded().pTakeDocument(rDC);
}

const std::string& SurfaceError(const CDC& rDC) {
    return Loaded().pGetError(rDC);
}

}  // namespace cli
}  // namespace vitalchart
