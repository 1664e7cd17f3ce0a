#include "support/pdf_words.h"

#include <cstdio>
#include <locale>
#include <regex>
#include <sstream>

namespace vitalchart {
namespace test {

std::vector<PdfWord> PdfWords(const std::string& strPdf) {
    std::string strXml;
    if (FILE* pipe = ::popen(("pdftotext -bbox '" + strPdf + "' -").c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) strXml.append(buf, n);
        ::pclose(pipe);
    }
    const std::regex wordRe(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> arrWords;
    int nPage = 0;
    std::istringstream in(strXml);
    std::smatch m;
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.find("<page ") != std::string::npos) ++nPage;
        if (!std::regex_search(strLine, m, wordRe)) continue;
        // The figures are C-locale decimals, read so whatever the process locale.
        auto number = [&](int n) {
            std::istringstream is(m[n].str());
            is.imbue(std::locale::classic());
            double d = 0;
            is >> d;
            return d;
        };
        arrWords.push_back({m[5].str(), nPage, number(1), number(2), number(3), number(4)});
    }
    return arrWords;
}

bool WordInBox(const std::vector<PdfWord>& arrWords, const std::string& strText, int nPage, double dLeft, double dTop,
               double dRight, double dBottom) {
    const double kPointsPerMm = 72.0 / 25.4;
    const double kSlack = 2.5;
    for (const PdfWord& word : arrWords) {
        if (word.strText == strText && word.nPage == nPage && word.dLeft >= dLeft * kPointsPerMm - kSlack &&
            word.dRight <= dRight * kPointsPerMm + kSlack && word.dTop >= dTop * kPointsPerMm - kSlack &&
            word.dBottom <= dBottom * kPointsPerMm + kSlack) {
            return true;
        }
    }
    return false;
}

}  // namespace test
}  // namespace vitalchart
