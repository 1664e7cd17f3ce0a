#include "tools/pdf/pdf_work.h"

// This code uses the library's standard smart pointers only, none of its old
// pointer holder.
#define POINTERHOLDER_TRANSITION 4
#include <exception>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace vitalchart {
namespace pdf {

bool Merge(const std::vector<std::string>& arrParts, const std::string& strTarget, std::string& rError) {
    if (arrParts.empty()) {
        rError = "no pages to merge";
        return false;
    }
    try {
        // Every file stays open until the result is written: pages copied
        // from one are read from it then.
        std::vector<std::unique_ptr<QPDF>> documents;
        for (const std::string& strPart : arrParts) {
            documents.push_back(std::make_unique<QPDF>());
            // A message on standard error is the command's alone.
            documents.back()->setSuppressWarnings(true);
            documents.back()->processFile(strPart.c_str());
        }
        QPDFPageDocumentHelper merged(*documents.front());
        for (std::size_t i = 1; i < documents.size(); ++i) {
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*documents[i]).getAllPages()) {
                merged.addPage(page, false);
            }
        }
        QPDFWriter writer(*documents.front(), strTarget.c_str());
        writer.write();
        return true;
    } catch (const std::exception& error) {
        rError = error.what();
        return false;
    }
}

}  // namespace pdf
}  // namespace vitalchart
