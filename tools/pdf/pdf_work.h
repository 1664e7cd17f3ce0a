#pragma once

#include <string>
#include <vector>

#include "tools/pdf_metadata.h"

class QPDF;
class QPDFWriter;

// The PDF module's work, done with qpdf (tools/pdf_module.h says what each
// entry does for the program).
namespace vitalchart {
namespace pdf {

using cli::PdfMetadata;

// Each throws std::runtime_error (qpdf's errors among them) saying what
// went wrong; the module's entries turn that into the caller's message.
void Merge(const std::vector<std::string>& arrPdfs, const std::vector<char>& arrReversed, const std::string& strTarget);

void FinishFile(const std::string& strSource, const std::string& strTarget, const PdfMetadata& metadata);

std::string FinishBytes(const std::string& strPdf, const PdfMetadata& metadata);

void Combine(const std::vector<std::string>& arrNames, const std::vector<std::string>& arrBytes,
             const std::vector<std::string>& arrLabels, const PdfMetadata& metadata, const std::string& strTarget);

// The finishing itself, on a document that qpdf holds: sets its Info,
// metadata and (PDF/A) output intent. Throws std::runtime_error when PDF/A
// is asked of an encrypted document or of one with a font not embedded.
// metadata.strProducer, when empty, is taken from the document's Info.
void FinishDocument(QPDF& pdf, PdfMetadata metadata);

// Sets up a writer of a finished document: the document ID from its bytes.
void SetUpFinishedWriter(QPDFWriter& writer);

// Writes the document writer is set up for to strTarget (created or
// truncated) in one go rather than a few kilobytes at a time. Throws
// std::runtime_error naming the file.
void WriteToFile(QPDFWriter& writer, const std::string& strTarget);

}  // namespace pdf
}  // namespace vitalchart
