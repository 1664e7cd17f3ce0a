#pragma once

#include <string>

#include "tools/pdf_metadata.h"

class QPDF;
class QPDFWriter;

namespace vitalchart {
namespace cli {

// A PDF the drawing library wrote, finished where that library cannot: the
// Info dictionary and the XMP metadata stream (the same title, subject,
// author and dates in both), a document ID that the bytes determine, and for
// PDF/A-2b the sRGB output intent and the PDF/A identification, after making
// sure that the file is not encrypted and that every font it uses is
// embedded. The same document and metadata give the same bytes.

// Rewrites the PDF file at strPath: written beside it and renamed over it, so
// that it is the old file or the finished one, never a mix. False with rError
// saying why (the caller names the file).
bool FinishPdfFile(const std::string& strPath, const PdfMetadata& metadata, std::string& rError);

// The same for a PDF held in memory: the finished document in rOut.
bool FinishPdfBytes(const std::string& strPdf, const PdfMetadata& metadata, std::string& rOut, std::string& rError);

// The finishing itself, on a document that qpdf holds: sets its Info,
// metadata and (PDF/A) output intent. Throws std::runtime_error when PDF/A
// is asked of an encrypted document or of one with a font not embedded.
// metadata.strProducer, when empty, is taken from the document's Info.
void FinishDocument(QPDF& pdf, PdfMetadata metadata);

// Sets up a writer of a finished document: the document ID from its bytes.
void SetUpFinishedWriter(QPDFWriter& writer);

// The metadata a document made now (or at SOURCE_DATE_EPOCH) by this program
// is written with; false with rError when SOURCE_DATE_EPOCH is malformed.
bool NewPdfMetadata(PdfMetadata& rMetadata, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
