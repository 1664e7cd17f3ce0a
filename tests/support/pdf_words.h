#pragma once

#include <string>
#include <vector>

namespace vitalchart {
namespace test {

// One word of `pdftotext -bbox`: its text, the page it stands on (from 1)
// and its box in points from the page's top-left.
struct PdfWord {
    std::string strText;
    int nPage;
    double dLeft, dTop, dRight, dBottom;
};

// Every word of the PDF, page by page.
std::vector<PdfWord> PdfWords(const std::string& strPdf);

// True when the text stands as one word on the page inside the box given in
// millimetres from the page's top-left (glyph boxes reach a little beyond
// the ink, so 2.5 points of slack).
bool WordInBox(const std::vector<PdfWord>& arrWords, const std::string& strText, int nPage, double dLeft, double dTop,
               double dRight, double dBottom);

}  // namespace test
}  // namespace vitalchart
