#include "tools/layout/layout_text.h"

#include <cstdlib>
#include <functional>
#include <string>

#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

std::function<std::string(const std::string&)> Terminal(UINT nCodePage) {
    return [nCodePage](const std::string& strText) { return ForTerminal(strText, nCodePage); };
}

std::string Count(std::size_t n, const char* pszOne, const char* pszMany) {
    return std::to_string(n) + " " + (n == 1 ? pszOne : pszMany);
}

std::string Box(const LayoutReport& report, const RECT& rect) {
    const MillimetreBox mm = ToMillimetres(report.geometry, rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + " (" + OneDecimal(mm.dLeft) + "," + OneDecimal(mm.dTop) + " " +
           OneDecimal(mm.dRight) + "," + OneDecimal(mm.dBottom) + " mm)";
}

std::string Id(const std::string& strId, UINT nCodePage) {
    return strId.empty() ? std::string("(the host's)") : ForTerminal(strId, nCodePage);
}

std::string Pen(const ElementLayout& element, UINT nCodePage) {
    return "pen " + Id(element.strPenId, nCodePage) + " " + PenStyleName(element.pen.m_nStyle) + " " +
           std::to_string(element.pen.m_nWidth) + " " + ColourName(element.pen.m_crColor);
}

std::string Font(const ElementLayout& element, UINT nCodePage) {
    const LOGFONT& lf = element.font.m_logFont;
    std::string str = "font " + Id(element.strFontId, nCodePage) + " \"" + ForTerminal(lf.lfFaceName, nCodePage) +
                      "\" " + std::to_string(std::labs(lf.lfHeight));
    if (lf.lfWeight >= FW_BOLD) str += " bold";
    if (lf.lfItalic != 0) str += " italic";
    if (lf.lfUnderline != 0) str += " underline";
    // The colour of the first text; a caption's colour goes back after it.
    return element.texts.empty() ? str : str + " " + ColourName(element.texts.front().crColor);
}

std::string ElementLine(const LayoutReport& report, const ElementLayout& element) {
    std::string str =
        std::to_string(element.nLine) + ":" + std::to_string(element.nColumn) + " " + element.pRule->pszName;
    if (!element.bActs) return str + ": left out on a continuation page in print\n";
    if (element.pRule->role == ElementRole::kDeclares) {
        return str +
               (element.strId.empty() ? ": declares nothing (no id)"
                                      : ": declares " + ForTerminal(element.strId, report.nCodePage)) +
               "\n";
    }
    if (!element.DrewAnything()) {
        return str + (element.pRule->role == ElementRole::kSetting ? "" : ": nothing drawn") + std::string("\n");
    }
    str += " " + Box(report, element.box.Get());
    if (element.DrewLines()) str += " " + Pen(element, report.nCodePage);
    if (!element.texts.empty()) str += " " + Font(element, report.nCodePage);
    return str + ": " + DescribeDrawing(element, Terminal(report.nCodePage)) + "\n";
}

}  // namespace

std::string LayoutText(const LayoutReport& report) {
    std::string str;
    const RECT chart = report.geometry.GetRect();
    for (const PageLayout& page : report.pages) {
        str += report.strTemplate + (page.strData.empty() ? "" : " with " + page.strData) + ": chart " +
               std::to_string(chart.left) + "," + std::to_string(chart.top) + " " + std::to_string(chart.right) + "," +
               std::to_string(chart.bottom) + ", " + Count(page.elements.size(), "element", "elements") + "\n";
        for (const ElementLayout& element : page.elements) str += ElementLine(report, element);
        if (page.outside.DrewAnything()) {
            str += "outside any element " + Box(report, page.outside.box.Get()) + ": " +
                   DescribeDrawing(page.outside, Terminal(report.nCodePage)) + "\n";
        }
    }
    return str;
}

}  // namespace cli
}  // namespace vitalchart
