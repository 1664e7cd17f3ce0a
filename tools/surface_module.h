#pragma once

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// The Cairo surface (PNG, PDF and SVG) is a module the command loads when a
// render first needs it, not a library the program links: Cairo, Pango,
// fontconfig, HarfBuzz, FreeType, GLib and the X libraries Cairo brings are
// forty libraries, and loading them costs more than drawing a trace, a size
// or a check does. The program and the module come from one build;
// kSurfaceModuleInterface tells a module of another build apart. The
// functions of CCairoDC the command calls, as the module gives them: the
// command holds its surfaces as CDC, so that nothing of it needs the
// CCairoDC class itself.
struct SurfaceModule {
    unsigned nInterface;
    bool (*pShareFontsWithProcess)();
    std::unique_ptr<CDC> (*pCreatePng)(int nWidth, int nHeight, UINT nCodePage, BOOL bPrinting);
    std::unique_ptr<CDC> (*pCreatePdf)(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                       BOOL bPrinting);
    std::unique_ptr<CDC> (*pCreateSvg)(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                       BOOL bPrinting);
    std::unique_ptr<CDC> (*pCreatePdfInMemory)(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting);
    std::unique_ptr<CDC> (*pCreateSvgInMemory)(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting);
    bool (*pShowPage)(CDC& rDC);
    bool (*pFinish)(CDC& rDC);
    bool (*pWritePng)(CDC& rDC, const std::string& strPath, int nCompression);
    bool (*pEncodePng)(CDC& rDC, std::vector<unsigned char>& arrBytes, int nCompression);
    std::string (*pTakeDocument)(CDC& rDC);
    const std::string& (*pGetError)(const CDC& rDC);
};

constexpr unsigned kSurfaceModuleInterface = 1;

// The module's file, looked for where the program's libraries are, and its
// one exported function, which returns the module's table.
constexpr char kSurfaceModuleFile[] = "libvitalchart-surfaces.so";
constexpr char kSurfaceModuleEntry[] = "vitalchart_surface_module";

// The surface's font configuration is a library of its own that needs only
// fontconfig. It is loaded first and starts reading the system's
// configuration on a thread of its own, which then goes on while the
// drawing libraries load, instead of after them.
constexpr char kFontsLibraryFile[] = "libvitalchart-fonts.so.0";
constexpr char kFontsLibraryEntry[] = "vitalchart_begin_shared_fonts";

// The module, loaded on the first call; null with rError saying why when it
// cannot be loaded or is of another build.
const SurfaceModule* LoadSurfaceModule(std::string& rError);

// Starts loading the module on a thread of its own, so that the libraries
// load while the command reads its inputs. LoadSurfaceModule waits for a
// load under way. The future is waited for when destroyed; it is empty
// where no thread could be had, and the module is then loaded when first
// needed.
std::future<void> LoadSurfaceModuleBeside();

// CCairoDC's factories through the module: null, with rError saying why,
// when the module cannot be loaded.
std::unique_ptr<CDC> CreatePngSurface(int nWidth, int nHeight, UINT nCodePage, BOOL bPrinting, std::string& rError);
std::unique_ptr<CDC> CreatePdfSurface(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                      BOOL bPrinting, std::string& rError);
std::unique_ptr<CDC> CreateSvgSurface(const std::string& strPath, int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                      BOOL bPrinting, std::string& rError);
std::unique_ptr<CDC> CreatePdfSurfaceInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting,
                                              std::string& rError);
std::unique_ptr<CDC> CreateSvgSurfaceInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage, BOOL bPrinting,
                                              std::string& rError);

// CCairoDC::ShareFontsWithProcess through the module; false when the module
// cannot be loaded.
bool ShareSurfaceFontsWithProcess();

// The members of CCairoDC for a surface the module made.
bool ShowSurfacePage(CDC& rDC);
bool FinishSurface(CDC& rDC);
bool WriteSurfacePng(CDC& rDC, const std::string& strPath, int nCompression);
bool EncodeSurfacePng(CDC& rDC, std::vector<unsigned char>& arrBytes, int nCompression);
std::string TakeSurfaceDocument(CDC& rDC);
const std::string& SurfaceError(const CDC& rDC);

}  // namespace cli
}  // namespace vitalchart
