#pragma once

#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// A PDF held in memory whose pages go into a merged one: in its order, or
// last first.
struct PdfPart {
    std::string strPdf;
    bool bReversed = false;
};

// Writes the pages of the PDFs, in order, as one PDF file at strTarget: the
// first one's document with the others' pages appended, each bringing the
// fonts and images it uses. The parts' bytes are taken. False with rError
// saying why when a part cannot be read as a PDF or the result cannot be
// written.
bool MergePdfs(std::vector<PdfPart> parts, const std::string& strTarget, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
