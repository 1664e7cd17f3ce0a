#pragma once

#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// Writes the pages of the PDF files arrParts, in order, as one PDF file at
// strTarget: the first file's document with the other files' pages appended,
// each bringing the fonts and images it uses. False with rError saying why
// when a file cannot be read or the result cannot be written.
bool MergePdfFiles(const std::vector<std::string>& arrParts, const std::string& strTarget, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
