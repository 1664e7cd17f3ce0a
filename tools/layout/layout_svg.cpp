#include "tools/layout/layout_svg.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "tools/text_encoding.h"
#include "tools/xml_text.h"

namespace vitalchart {
namespace cli {

namespace {

// Frame colours, taken in turn, so that neighbouring elements differ.
const char* const kColours[] = {"#e6194b", "#3cb44b", "#4363d8", "#f58231", "#911eb4", "#008080", "#9a6324", "#f032e6"};

// A frame or label in device units, in 64 bits: a box at the ends of the
// 32-bit device range still has a frame a stroke wider all round.
struct Frame {
    long long left;
    long long top;
    long long right;
    long long bottom;
};

bool Overlaps(const Frame& a, const Frame& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Places labels at the top-left corners of their frames, moving each to the
// right past the labels already placed that it would cover.
class CLabelPlaces {
public:
    Frame Place(long long x, long long y, long long nWidth, long long nHeight) {
        Frame rect = {x, y, x + nWidth, y + nHeight};
        for (int nTry = 0; nTry < 8; ++nTry) {
            auto it = std::find_if(m_placed.begin(), m_placed.end(),
                                   [&rect](const Frame& placed) { return Overlaps(rect, placed); });
            if (it == m_placed.end()) break;
            rect = {it->right + 1, rect.top, it->right + 1 + nWidth, rect.bottom};
        }
        m_placed.push_back(rect);
        return rect;
    }

private:
    std::vector<Frame> m_placed;
};

// The shortest decimal that reads back as the number, whatever the locale.
std::string Shortest(double dValue) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, dValue);
    return std::string(buf, result.ptr);
}

std::string Attr(const char* pszName, long long nValue) {
    return std::string(" ") + pszName + "=\"" + std::to_string(nValue) + "\"";
}

}  // namespace

std::string OverlayLayout(const std::string& strSvg, const PageLayout& page, const LayoutReport& report, int nDpi) {
    const std::size_t nClose = strSvg.rfind("</svg>");
    if (nClose == std::string::npos || nDpi <= 0) return strSvg;

    // Frames and labels are laid out in device units; a point is 1/72 inch.
    const int nStroke = std::max(1, nDpi / 96);
    const int nFontSize = std::max(8, nDpi / 12);
    std::string str = "<g id=\"layout\" transform=\"scale(" + Shortest(72.0 / nDpi) +
                      ")\" fill=\"none\" font-family=\"sans-serif\"" + Attr("font-size", nFontSize) + ">\n";
    CLabelPlaces labels;
    std::size_t nColour = 0;
    for (const ElementLayout& element : page.elements) {
        if (!element.DrewAnything()) continue;
        const char* pszColour = kColours[nColour++ % (sizeof kColours / sizeof kColours[0])];
        const RECT& rect = element.box.Get();
        const Frame box = {rect.left, rect.top, rect.right, rect.bottom};
        const std::string strLine = std::to_string(element.nLine);
        const std::string strTitle =
            "line " + strLine + ":" + std::to_string(element.nColumn) + " " + element.pRule->pszName + ": " +
            DescribeDrawing(element, [&report](const std::string& s) { return ToUtf8(s, report.nCodePage); });
        // A frame a stroke wider than the box all round, so that a single
        // line's frame has a width and the frame does not hide the line.
        str += "<g><title>" + XmlText(strTitle) + "</title><rect" + Attr("x", box.left - nStroke) +
               Attr("y", box.top - nStroke) + Attr("width", box.right - box.left + 2 * nStroke) +
               Attr("height", box.bottom - box.top + 2 * nStroke) + " stroke=\"" + pszColour + "\"" +
               Attr("stroke-width", nStroke) + "/>";
        const long long nLabelWidth = static_cast<long long>(strLine.size()) * nFontSize * 6 / 10 + 2 * nStroke;
        const Frame label = labels.Place(box.left - nStroke, box.top - nStroke, nLabelWidth, nFontSize);
        str += "<rect" + Attr("x", label.left) + Attr("y", label.top) + Attr("width", label.right - label.left) +
               Attr("height", label.bottom - label.top) + " fill=\"" + pszColour + "\" fill-opacity=\"0.85\"/>";
        str += "<text" + Attr("x", label.left + nStroke) + Attr("y", label.bottom - nFontSize / 5) +
               " fill=\"#ffffff\">" + strLine + "</text></g>\n";
    }
    str += "</g>\n";
    return strSvg.substr(0, nClose) + str + strSvg.substr(nClose);
}

}  // namespace cli
}  // namespace vitalchart
