#pragma once

#include <cstdint>
#include <string>

namespace vitalchart {
namespace cli {

// What a finished PDF says of itself. The texts are UTF-8; an empty one is
// left out. Nothing of a patient's goes in unless the user writes it here.
struct PdfMetadata {
    std::string strTitle;
    std::string strSubject;
    std::string strAuthor;
    std::string strCreator;     // the program that made the content: vitalchart and its version
    std::string strProducer;    // the library that wrote the PDF, as its Info dictionary names it
    std::int64_t nCreated = 0;  // seconds since 1970, UTC (DocumentTime)
    bool bPdfA2b = false;       // the document claims PDF/A-2b
};

// The document's XMP metadata packet: the Dublin Core title, creator and
// description, the creation, modification and metadata dates, the creator
// tool and producer (each the same as the Info dictionary's entry), and with
// bPdfA2b the PDF/A identification (part 2, conformance B).
std::string XmpPacket(const PdfMetadata& metadata);

// The metadata a document made now (or at SOURCE_DATE_EPOCH) by this program
// is written with; false with rError when SOURCE_DATE_EPOCH is malformed.
bool NewPdfMetadata(PdfMetadata& rMetadata, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
