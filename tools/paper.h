#pragma once

#include <string>

#include "render/chart_geometry.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// A sheet of paper a chart is printed on, portrait.
struct PaperSize {
    const char* pszName;  // as the user writes it: A4, A3, B5, 16K, letter
    double dWidthMm;
    double dHeightMm;
};

// The paper of that name, whatever its case; null when there is none.
const PaperSize* FindPaper(const std::string& strName);

// "A4, A3, B5, 16K or letter", for messages.
std::string PaperNames();

// Printers leave this much of every edge blank: a chart placed on paper keeps
// at least this far from each edge.
constexpr double kPaperMarginMm = 5.0;

// Where a chart lies on a sheet of paper, in device units.
struct PaperPlacement {
    int nPageWidth = 1;  // the sheet
    int nPageHeight = 1;
    RECT rcChart = {0, 0, 0, 0};  // the chart rectangle, centred on the sheet
    ScalePair scaleX;             // dpi/96 at full size; less when shrunk to fit
    ScalePair scaleY;
    double dShrink = 1.0;  // 1 at full size
};

// Places a chart of fWidthMm by fHeightMm (its declared size) in the middle of
// the paper, at nDpi device units an inch and full size, so that every
// millimetre of the template is a millimetre on the sheet. A chart that does
// not fit inside the margins is refused (false, rError says by how much)
// unless bFit, which shrinks it, evenly on both axes, just enough to fit.
// A chart that fits is never enlarged.
bool PlaceOnPaper(const PaperSize& paper, float fWidthMm, float fHeightMm, int nDpi, bool bFit, PaperPlacement& rOut,
                  std::string& rError);

}  // namespace cli
}  // namespace vitalchart
