#include "tools/pdf/pdf_work.h"

// This code uses the library's standard smart pointers only, none of its old
// pointer holder.
#define POINTERHOLDER_TRANSITION 4
#include <algorithm>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>
#include <string>

namespace vitalchart {
namespace pdf {

void Merge(const std::vector<std::string>& arrPdfs, const std::vector<char>& arrReversed,
           const std::string& strTarget) {
    if (arrPdfs.empty() || arrReversed.size() != arrPdfs.size()) throw std::runtime_error("no pages to merge");
    // qpdf reads each document from the caller's bytes, which stay until
    // the result is written: pages copied from one are read from them then.
    std::vector<std::unique_ptr<QPDF>> documents;
    for (std::size_t i = 0; i < arrPdfs.size(); ++i) {
        const std::string strName = "part " + std::to_string(i + 1) + " of " + strTarget;
        documents.push_back(std::make_unique<QPDF>());
        // A message on standard error is the command's alone.
        documents.back()->setSuppressWarnings(true);
        documents.back()->processMemoryFile(strName.c_str(), arrPdfs[i].data(), arrPdfs[i].size());
    }
    QPDFPageDocumentHelper merged(*documents.front());
    if (arrReversed.front() != 0) {
        // The first file's own pages, last first.
        std::vector<QPDFPageObjectHelper> pages = merged.getAllPages();
        for (QPDFPageObjectHelper& page : pages) merged.removePage(page);
        for (auto it = pages.rbegin(); it != pages.rend(); ++it) merged.addPage(*it, false);
    }
    for (std::size_t i = 1; i < documents.size(); ++i) {
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(*documents[i]).getAllPages();
        if (arrReversed[i] != 0) std::reverse(pages.begin(), pages.end());
        for (QPDFPageObjectHelper& page : pages) merged.addPage(page, false);
    }
    QPDFWriter writer(*documents.front());
    WriteToFile(writer, strTarget);
}

}  // namespace pdf
}  // namespace vitalchart
