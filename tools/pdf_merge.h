#pragma once

#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// A PDF file whose pages go into a merged one: in its order, or last first.
struct PdfPart {
    std::string strPath;
    bool bReversed = false;
};

// Writes the pages of the PDF files, in order, as one PDF file at strTarget:
// the first file's document with the other files' pages appended, each
// bringing the fonts and images it uses. False with rError saying why when a
// file cannot be read or the result cannot be written.
bool MergePdfFiles(const std::vector<PdfPart>& parts, const std::string& strTarget, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
