#include "tools/pdf/pdf_work.h"
#include "tools/pdf_module.h"

// The module's one exported symbol; everything else in it is hidden.
extern "C" __attribute__((visibility("default"))) const vitalchart::cli::PdfModule* vitalchart_pdf_module() {
    static const vitalchart::cli::PdfModule s_module = {vitalchart::cli::kPdfModuleInterface, vitalchart::pdf::Merge,
                                                        vitalchart::pdf::FinishFile, vitalchart::pdf::FinishBytes,
                                                        vitalchart::pdf::Combine};
    return &s_module;
}
