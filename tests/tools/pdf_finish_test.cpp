// Finishing a PDF: a document with a font that is not embedded is refused as
// PDF/A rather than claimed as one; the metadata's texts and dates say the
// same in the Info dictionary and the XMP packet.

#include "tools/pdf_finish.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/document_time.h"

namespace vitalchart {
namespace cli {
namespace {

// A page that writes with the standard Helvetica, which no file carries.
// Without a cross-reference table: the reader rebuilds it.
const char kUnembedded[] =
    "%PDF-1.4\n"
    "1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
    "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
    "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R\n"
    "   /Resources << /Font << /F1 5 0 R >> >> >> endobj\n"
    "4 0 obj << /Length 33 >> stream\nBT /F1 12 Tf 20 20 Td (37) Tj ET\nendstream endobj\n"
    "5 0 obj << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> endobj\n"
    "trailer << /Root 1 0 R >>\n%%EOF\n";

TEST(PdfFinishTest, AFontNotEmbeddedIsNoPdfA) {
    PdfMetadata metadata;
    metadata.bPdfA2b = true;
    std::string strOut;
    std::string strError;
    EXPECT_FALSE(FinishPdfBytes(kUnembedded, metadata, strOut, strError));
    EXPECT_EQ(strError, "cannot be PDF/A: the font Helvetica is not embedded");

    metadata.bPdfA2b = false;
    EXPECT_TRUE(FinishPdfBytes(kUnembedded, metadata, strOut, strError)) << strError;
    EXPECT_EQ(strOut.find("pdfaid:part"), std::string::npos);
    EXPECT_NE(strOut.find("/Metadata"), std::string::npos);
}

TEST(PdfFinishTest, InfoAndXmpSayTheSame) {
    PdfMetadata metadata;
    metadata.strTitle = "Ward <5> & \"B\"";
    metadata.strAuthor = "Nurse";
    metadata.nCreated = 951782400;  // 2000-02-29T00:00:00Z
    metadata.bPdfA2b = true;
    const std::string strXmp = XmpPacket(metadata);
    EXPECT_NE(strXmp.find("<rdf:li xml:lang=\"x-default\">Ward &lt;5&gt; &amp; &quot;B&quot;</rdf:li>"),
              std::string::npos)
        << strXmp;
    EXPECT_NE(strXmp.find("<xmp:CreateDate>2000-02-29T00:00:00Z</xmp:CreateDate>"), std::string::npos);
    EXPECT_NE(strXmp.find("<pdfaid:part>2</pdfaid:part>"), std::string::npos);
    EXPECT_EQ(PdfDate(metadata.nCreated), "D:20000229000000Z");
    EXPECT_EQ(XmpDate(253402300799), "9999-12-31T23:59:59Z");
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
