#include "tools/pdf_module.h"

#include <utility>

#include "tools/combined_pdf.h"
#include "tools/module_loading.h"
#include "tools/output_files.h"
#include "tools/pdf_finish.h"
#include "tools/pdf_merge.h"

namespace vitalchart {
namespace cli {

const PdfModule* LoadPdfModule(std::string& rError) {
    // Loaded once, by whichever thread asks first.
    static const LoadedModule<PdfModule> s_loaded =
        LoadModule<PdfModule>(kPdfModuleFile, kPdfModuleEntry, kPdfModuleInterface, "PDF module");
    if (s_loaded.pModule == nullptr) rError = s_loaded.strError;
    return s_loaded.pModule;
}

std::future<void> LoadPdfModuleBeside() {
    return LoadBeside([] {
        // A failure is reported by the call that needs the module.
        std::string strWhy;
        LoadPdfModule(strWhy);
    });
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
