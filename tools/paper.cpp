#include "tools/paper.h"

#include <algorithm>
#include <cmath>

namespace vitalchart {
namespace cli {

namespace {

// A4, A3 and B5 as cut in China and Europe, the 16K sheet of Chinese printing paper
// (195 x 270 mm, cut from a 787 x 1092 mm sheet) and US letter.
constexpr PaperSize kPapers[] = {
    {"A4", 210.0, 297.0}, {"A3", 297.0, 420.0}, {"B5", 176.0, 250.0}, {"16K", 195.0, 270.0}, {"letter", 215.9, 279.4},
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Millimetres with one decimal at most, written without the process locale.
std::string Mm(double dMm) {
    const long nTenths = std::lround(dMm * 10.0);
    std::string str = std::to_string(nTenths / 10);
    if (nTenths % 10 != 0) str += "." + std::to_string(nTenths % 10);
    return str;
}

int MmToUnits(double dMm, int nDpi) {
    return static_cast<int>(std::lround(dMm * nDpi / 25.4));
}

}  // namespace

const PaperSize* FindPaper(const std::string& strName) {
    for (const PaperSize& paper : kPapers) {
        const std::string strPaper = paper.pszName;
        if (strPaper.size() != strName.size()) continue;
        if (std::equal(strName.begin(), strName.end(), strPaper.begin(),
                       [](char a, char b) { return Lower(a) == Lower(b); })) {
            return &paper;
        }
    }
    return nullptr;
}

std::string PaperNames() {
    std::string str;
    const std::size_t nCount = sizeof kPapers / sizeof kPapers[0];
    for (std::size_t i = 0; i < nCount; ++i) {
        str += (i == 0 ? "" : i + 1 == nCount ? " or " : ", ") + std::string(kPapers[i].pszName);
    }
    return str;
}

bool PlaceOnPaper(const PaperSize& paper, float fWidthMm, float fHeightMm, int nDpi, bool bFit, PaperPlacement& rOut,
                  std::string& rError) {
    if (!(fWidthMm > 0.0f) || !(fHeightMm > 0.0f)) {
        rError = "the chart has no size to place on " + std::string(paper.pszName) + " (its template declares " +
                 Mm(fWidthMm) + " x " + Mm(fHeightMm) + " mm)";
        return false;
    }
    const double dRoomWidth = paper.dWidthMm - 2.0 * kPaperMarginMm;
    const double dRoomHeight = paper.dHeightMm - 2.0 * kPaperMarginMm;
    const double dShrink = std::min({1.0, dRoomWidth / fWidthMm, dRoomHeight / fHeightMm});
    if (dShrink < 1.0 && !bFit) {
        // Tenths of a per cent, rounded down, so that what it names fits.
        const long nPermille = static_cast<long>(std::floor(dShrink * 1000.0));
        rError = "the chart is " + Mm(fWidthMm) + " x " + Mm(fHeightMm) + " mm and does not fit on " + paper.pszName +
                 " (" + Mm(paper.dWidthMm) + " x " + Mm(paper.dHeightMm) + " mm, " + Mm(dRoomWidth) + " x " +
                 Mm(dRoomHeight) + " mm inside its " + Mm(kPaperMarginMm) +
                 " mm margins) at full size; --fit shrinks it to " + std::to_string(nPermille / 10) + "." +
                 std::to_string(nPermille % 10) + " %";
        return false;
    }
    rOut = PaperPlacement();
    rOut.dShrink = dShrink;
    // A shrunk chart's scale pairs keep a thousandth of a device unit, rounded
    // down so that the chart stays inside the margins.
    const ScalePair scale = dShrink < 1.0 ? ScalePair{static_cast<int>(std::floor(nDpi * 1000.0 * dShrink)), 96 * 1000}
                                          : ScalePair{nDpi, 96};
    rOut.scaleX = scale;
    rOut.scaleY = scale;
    rOut.nPageWidth = MmToUnits(paper.dWidthMm, nDpi);
    rOut.nPageHeight = MmToUnits(paper.dHeightMm, nDpi);
    const CChartGeometry geometry(RECT{0, 0, 0, 0}, scale, scale);
    const int nChartWidth = geometry.MmToDeviceX(fWidthMm);
    const int nChartHeight = geometry.MmToDeviceY(fHeightMm);
    const int nLeft = (rOut.nPageWidth - nChartWidth) / 2;
    const int nTop = (rOut.nPageHeight - nChartHeight) / 2;
    rOut.rcChart = {nLeft, nTop, nLeft + nChartWidth, nTop + nChartHeight};
    return true;
}

}  // namespace cli
}  // namespace vitalchart
