#include "tools/pdf_module.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>

#include "tools/combined_pdf.h"
#include "tools/output_files.h"
#include "tools/pdf_finish.h"
#include "tools/pdf_merge.h"

namespace vitalchart {
namespace cli {

namespace {

struct LoadedModule {
    const PdfModule* pModule = nullptr;
    std::string strError;
};

LoadedModule Load() {
    LoadedModule loaded;
    // Found as a library is, through the program's run path: beside the
    // project's libraries in the build tree and where they are installed.
    // It stays loaded for the life of the process.
    void* pHandle = ::dlopen(kPdfModuleFile, RTLD_NOW | RTLD_LOCAL);
    if (pHandle == nullptr) {
        const char* pszWhy = ::dlerror();
        loaded.strError = std::string("cannot load the PDF module ") + kPdfModuleFile + ": " +
                          (pszWhy != nullptr ? pszWhy : "not found");
        return loaded;
    }
    const auto pEntry = reinterpret_cast<PdfModuleEntry>(::dlsym(pHandle, kPdfModuleEntry));
    const PdfModule* pModule = pEntry != nullptr ? pEntry() : nullptr;
    if (pModule == nullptr || pModule->nInterface != kPdfModuleInterface) {
        loaded.strError = std::string("the PDF module ") + kPdfModuleFile + " is of another build of vitalchart";
        return loaded;
    }
    loaded.pModule = pModule;
    return loaded;
}

}  // namespace

const PdfModule* LoadPdfModule(std::string& rError) {
    // Loaded once, by whichever thread asks first.
    static const LoadedModule s_loaded = Load();
    if (s_loaded.pModule == nullptr) rError = s_loaded.strError;
    return s_loaded.pModule;
}

std::future<void> LoadPdfModuleBeside() {
    try {
        return std::async(std::launch::async, [] {
            // A failure is reported by the call that needs the module.
            std::string strWhy;
            LoadPdfModule(strWhy);
        });
    } catch (const std::system_error&) {
        return {};
    }
}

bool MergePdfs(std::vector<PdfPart> parts, const std::string& strTarget, std::string& rError) {
    const PdfModule* pModule = LoadPdfModule(rError);
    if (pModule == nullptr) return false;
    std::vector<std::string> arrPdfs;
    std::vector<char> arrReversed;
    for (PdfPart& part : parts) {
        arrPdfs.push_back(std::move(part.strPdf));
        arrReversed.push_back(part.bReversed ? 1 : 0);
    }
    return pModule->pMerge(arrPdfs, arrReversed, strTarget, rError);
}

bool FinishPdfFile(const std::string& strPath, const PdfMetadata& metadata, std::string& rError) {
    const PdfModule* pModule = LoadPdfModule(rError);
    if (pModule == nullptr) return false;
    COutputFiles finished;
    const std::string strTemp = finished.Reserve(strPath, rError);
    if (strTemp.empty() || !pModule->pFinishFile(strPath, strTemp, metadata, rError)) return false;
    return finished.Commit(rError);
}

bool FinishPdfBytes(const std::string& strPdf, const PdfMetadata& metadata, std::string& rOut, std::string& rError) {
    const PdfModule* pModule = LoadPdfModule(rError);
    return pModule != nullptr && pModule->pFinishBytes(strPdf, metadata, rOut, rError);
}

bool WriteCombinedPdf(const std::vector<CombinedChart>& charts, const PdfMetadata& metadata,
                      const std::string& strTarget, std::string& rError) {
    const PdfModule* pModule = LoadPdfModule(rError);
    if (pModule == nullptr) return false;
    std::vector<std::string> arrNames, arrBytes(charts.size()), arrLabels;
    for (std::size_t i = 0; i < charts.size(); ++i) {
        if (!ReadWholeFile(charts[i].strPath, arrBytes[i], rError)) return false;
        arrNames.push_back(charts[i].strPath);
        arrLabels.push_back(charts[i].strLabel);
    }
    return pModule->pCombine(arrNames, arrBytes, arrLabels, metadata, strTarget, rError);
}

}  // namespace cli
}  // namespace vitalchart
