#pragma once

#include <future>
#include <string>
#include <vector>

#include "tools/pdf_metadata.h"

namespace vitalchart {
namespace cli {

// The PDF work done with qpdf (merging the files of a PDF drawn on several
// threads, finishing a document's metadata and PDF/A identification,
// combining a batch's charts) lives in a module of its own, loaded the first
// time a command needs it: qpdf and the TLS and crypto libraries it brings
// then cost nothing to a render to PNG, a trace or a check. The program and
// the module come from one build; kPdfModuleInterface tells a module of
// another build apart.
struct PdfModule {
    unsigned nInterface;
    // The pages of the PDFs held in arrPdfs, in order (of one marked in
    // arrReversed, last first), as one PDF file at strTarget.
    bool (*pMerge)(const std::vector<std::string>& arrPdfs, const std::vector<char>& arrReversed,
                   const std::string& strTarget, std::string& rError);
    // The PDF file at strSource, finished, written to strTarget.
    bool (*pFinishFile)(const std::string& strSource, const std::string& strTarget, const PdfMetadata& metadata,
                        std::string& rError);
    // The PDF held in strPdf, finished, in rOut.
    bool (*pFinishBytes)(const std::string& strPdf, const PdfMetadata& metadata, std::string& rOut,
                         std::string& rError);
    // The charts' PDFs (arrNames to name them, arrBytes their contents), each
    // with an outline entry and page labels from arrLabels, finished, written
    // to strTarget.
    bool (*pCombine)(const std::vector<std::string>& arrNames, const std::vector<std::string>& arrBytes,
                     const std::vector<std::string>& arrLabels, const PdfMetadata& metadata,
                     const std::string& strTarget, std::string& rError);
};

constexpr unsigned kPdfModuleInterface = 3;

// The module's file, looked for where the program's libraries are.
constexpr char kPdfModuleFile[] = "libvitalchart-pdf.so";

// Its one exported function, which returns the module's table.
constexpr char kPdfModuleEntry[] = "vitalchart_pdf_module";

// The module, loaded on the first call; null with rError saying why when it
// cannot be loaded or is of another build.
const PdfModule* LoadPdfModule(std::string& rError);

// Starts loading the module on a thread of its own, for a render that needs
// it only once its pages are drawn: loading qpdf and its libraries then goes
// beside the drawing instead of after it. LoadPdfModule waits for a load
// under way. The future is waited for when destroyed; it is empty where no
// thread could be had, and the module is then loaded when first needed.
std::future<void> LoadPdfModuleBeside();

}  // namespace cli
}  // namespace vitalchart
