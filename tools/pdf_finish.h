#pragma once

#include <string>

#include "tools/pdf_metadata.h"

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

}  // namespace cli
}  // namespace vitalchart
