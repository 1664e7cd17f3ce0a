#include <exception>

#include "tools/pdf/pdf_work.h"
#include "tools/pdf_module.h"

namespace vitalchart {
namespace pdf {

namespace {

// Runs one piece of the module's work; what it throws stays inside the
// module and comes back as rError.
template <typename Work>
bool Guarded(std::string& rError, Work&& fnWork) {
    try {
        fnWork();
        return true;
    } catch (const std::exception& error) {
        rError = error.what();
        return false;
    }
}

bool MergeEntry(const std::vector<std::string>& arrPdfs, const std::vector<char>& arrReversed,
                const std::string& strTarget, std::string& rError) {
    return Guarded(rError, [&] { Merge(arrPdfs, arrReversed, strTarget); });
}

bool FinishFileEntry(const std::string& strSource, const std::string& strTarget, const PdfMetadata& metadata,
                     std::string& rError) {
    return Guarded(rError, [&] { FinishFile(strSource, strTarget, metadata); });
}

bool FinishBytesEntry(const std::string& strPdf, const PdfMetadata& metadata, std::string& rOut, std::string& rError) {
    return Guarded(rError, [&] { rOut = FinishBytes(strPdf, metadata); });
}

bool CombineEntry(const std::vector<std::string>& arrNames, const std::vector<std::string>& arrBytes,
                  const std::vector<std::string>& arrLabels, const PdfMetadata& metadata, const std::string& strTarget,
                  std::string& rError) {
    return Guarded(rError, [&] { Combine(arrNames, arrBytes, arrLabels, metadata, strTarget); });
}

}  // namespace

}  // namespace pdf
}  // namespace vitalchart

// The module's one exported symbol; everything else in it is hidden.
extern "C" __attribute__((visibility("default"))) const vitalchart::cli::PdfModule* vitalchart_pdf_module() {
    using namespace vitalchart::pdf;
    static const vitalchart::cli::PdfModule s_module = {vitalchart::cli::kPdfModuleInterface, MergeEntry,
                                                        FinishFileEntry, FinishBytesEntry, CombineEntry};
    return &s_module;
}
