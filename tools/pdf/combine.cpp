#include "tools/pdf/pdf_work.h"

// This code uses the library's standard smart pointers only, none of its old
// pointer holder.
#define POINTERHOLDER_TRANSITION 4
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>

namespace vitalchart {
namespace pdf {

namespace {

using Handle = QPDFObjectHandle;

// An outline entry showing the whole of a page.
Handle OutlineItem(QPDF& pdf, const std::string& strTitle, Handle parent, const Handle& page) {
    Handle item = pdf.makeIndirectObject(Handle::newDictionary());
    item.replaceKey("/Title", Handle::newUnicodeString(strTitle));
    item.replaceKey("/Parent", parent);
    item.replaceKey("/Dest", Handle::newArray({page, Handle::newName("/Fit")}));
    return item;
}

// Links the items as the children of parent, in order.
void Link(Handle parent, std::vector<Handle> items) {
    if (items.empty()) return;
    parent.replaceKey("/First", items.front());
    parent.replaceKey("/Last", items.back());
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        items[i].replaceKey("/Next", items[i + 1]);
        items[i + 1].replaceKey("/Prev", items[i]);
    }
}

}  // namespace

void Combine(const std::vector<std::string>& arrNames, const std::vector<std::string>& arrBytes,
             const std::vector<std::string>& arrLabels, const PdfMetadata& metadata, const std::string& strTarget) {
    if (arrNames.empty()) throw std::runtime_error("no charts to combine");
    QPDF combined;
    combined.emptyPDF();
    QPDFPageDocumentHelper pages(combined);
    // Every chart's document stays until the result is written: pages
    // copied from one are read from it then. Each is held in memory, so
    // that a batch of thousands of charts does not hold thousands of
    // files open.
    std::vector<std::unique_ptr<QPDF>> documents;
    std::vector<std::size_t> pageCounts;
    std::string strVersion = "1.4";
    for (std::size_t i = 0; i < arrNames.size(); ++i) {
        documents.push_back(std::make_unique<QPDF>());
        documents.back()->setSuppressWarnings(true);
        documents.back()->processMemoryFile(arrNames[i].c_str(), arrBytes[i].data(), arrBytes[i].size());
        if (documents.back()->getPDFVersion() > strVersion) strVersion = documents.back()->getPDFVersion();
        std::vector<QPDFPageObjectHelper> chartPages = QPDFPageDocumentHelper(*documents.back()).getAllPages();
        for (QPDFPageObjectHelper& page : chartPages) pages.addPage(page, false);
        pageCounts.push_back(chartPages.size());
    }

    // A chart's entry opens on its first page and holds its weeks,
    // folded; its pages' labels count from 1 after its label.
    const std::vector<QPDFPageObjectHelper> all = pages.getAllPages();
    Handle outlines = combined.makeIndirectObject(Handle::newDictionary());
    outlines.replaceKey("/Type", Handle::newName("/Outlines"));
    Handle labels = Handle::newArray();
    std::vector<Handle> chartItems;
    std::size_t nFirst = 0;
    for (std::size_t i = 0; i < arrNames.size(); ++i) {
        if (pageCounts[i] == 0) continue;
        Handle item = OutlineItem(combined, arrLabels[i], outlines, all[nFirst].getObjectHandle());
        std::vector<Handle> weeks;
        for (std::size_t nPage = 0; nPage < pageCounts[i]; ++nPage) {
            weeks.push_back(OutlineItem(combined, "Week " + std::to_string(nPage + 1), item,
                                        all[nFirst + nPage].getObjectHandle()));
        }
        Link(item, weeks);
        item.replaceKey("/Count", Handle::newInteger(-static_cast<long long>(weeks.size())));
        chartItems.push_back(item);
        Handle label = Handle::newDictionary();
        label.replaceKey("/S", Handle::newName("/D"));
        label.replaceKey("/P", Handle::newUnicodeString(arrLabels[i] + " "));
        labels.appendItem(Handle::newInteger(static_cast<long long>(nFirst)));
        labels.appendItem(label);
        nFirst += pageCounts[i];
    }
    Link(outlines, chartItems);
    outlines.replaceKey("/Count", Handle::newInteger(static_cast<long long>(chartItems.size())));
    Handle root = combined.getRoot();
    root.replaceKey("/Outlines", outlines);
    root.replaceKey("/PageMode", Handle::newName("/UseOutlines"));
    Handle pageLabels = Handle::newDictionary();
    pageLabels.replaceKey("/Nums", labels);
    root.replaceKey("/PageLabels", pageLabels);

    FinishDocument(combined, metadata);
    QPDFWriter writer(combined);
    writer.setMinimumPDFVersion(strVersion);
    SetUpFinishedWriter(writer);
    WriteToFile(writer, strTarget);
}

}  // namespace pdf
}  // namespace vitalchart
