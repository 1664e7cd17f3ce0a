#include "tools/init/template_writer.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tools/init/chart_wording.h"
#include "tools/init/exact_millimetres.h"

namespace vitalchart {
namespace cli {

namespace {

using Attributes = std::vector<std::pair<const char*, std::string>>;

// A position from the chart's edge.
std::string At(int nReference) {
    return "+" + ExactMillimetres(nReference);
}

// A length.
std::string Len(int nReference) {
    return ExactMillimetres(nReference);
}

// A rough width of a caption in a 12-unit font, for the patient's header:
// a Chinese character (its full-width colon holds the gap after it) is as
// wide as the font is high, a Latin letter two thirds of that, and a Latin
// caption gets a gap of 4 units. Rounded up to whole steps of 4 units.
int CaptionWidth(const std::string& strText) {
    int nWidth = 0;
    bool bLatin = false;
    for (unsigned char c : strText) {
        if (c < 0x80) {
            nWidth += 8;
            bLatin = true;
        } else if (c >= 0xC0) {
            nWidth += 12;
        }
    }
    return (nWidth + (bLatin ? 4 : 0) + 3) / 4 * 4;
}

class CTemplateText {
public:
    CTemplateText(const ChartRequest& request, const ChartPlan& plan) : m_request(request), m_plan(plan) {}

    void Comment(const std::string& strText) { m_str += "<!-- " + strText + " -->\n"; }
    void Tag(const char* pszName, const Attributes& attributes) {
        m_str += "<";
        m_str += pszName;
        for (const auto& attribute : attributes)
            m_str += std::string(" ") + attribute.first + "=\"" + attribute.second + "\"";
        m_str += "/>\n";
    }
    const char* W(Word word) const { return WordOf(m_request.language, word); }
    const std::string& Text() const { return m_str; }

    // A single line from one point to another.
    void Line(int x1, int y1, int x2, int y2, const char* pszPen) {
        Tag("vitalline",
            {{"left", At(x1)}, {"top", At(y1)}, {"right", At(x2)}, {"bottom", At(y2)}, {"pen-id", pszPen}});
    }
    // nCells cells of nHeight from y downwards between x1 and x2: their inner
    // separators (none for a single cell, which a family would not draw).
    void Rows(int x1, int y, int x2, int nHeight, int nCells, const char* pszPen) {
        if (nCells < 2) return;
        Tag("vitalline", {{"left", At(x1)},
                          {"top", At(y)},
                          {"right", At(x2)},
                          {"bottom", Len(nHeight)},
                          {"times", std::to_string(nCells)},
                          {"direction", "y"},
                          {"pen-id", pszPen}});
    }
    // nCells cells of nWidth from x rightwards between y1 and y2 (none for a single cell).
    void Columns(int x, int y1, int nWidth, int y2, int nCells, const char* pszPen, int nMultiple = 1) {
        if (nCells < 2) return;
        Attributes attributes = {{"left", At(x)},
                                 {"top", At(y1)},
                                 {"right", Len(nWidth)},
                                 {"bottom", At(y2)},
                                 {"times", std::to_string(nCells)}};
        if (nMultiple != 1) attributes.emplace_back("multiple", std::to_string(nMultiple));
        attributes.emplace_back("pen-id", pszPen);
        Tag("vitalline", attributes);
    }
    // A caption in a box, centred unless another alignment is asked for
    // (none: at the left).
    void Caption(const std::string& strText, int x, int y, int nWidth, int nHeight, const char* pszFont,
                 const char* pszAlign = "center") {
        Attributes attributes = {
            {"text", strText}, {"left", At(x)}, {"top", At(y)}, {"right", Len(nWidth)}, {"bottom", Len(nHeight)}};
        if (*pszAlign != '\0') attributes.emplace_back("align", pszAlign);
        attributes.emplace_back("font-id", pszFont);
        Tag("vitaltext", attributes);
    }
    // A row of cells that the readings of one vital sign fill.
    void Cells(const char* pszName, int x, int y, int nWidth, int nHeight, const char* pszFont,
               const char* pszAlign = "center") {
        Attributes attributes = {
            {"name", pszName}, {"x", At(x)}, {"y", At(y)}, {"cx", Len(nWidth)}, {"cy", Len(nHeight)}};
        if (*pszAlign != '\0') attributes.emplace_back("align", pszAlign);
        attributes.emplace_back("font-id", pszFont);
        Tag("vitaltextout", attributes);
    }

    void Head();
    void PensAndFonts();
    void PatientHeader();
    void Ruling();
    void HeaderRows();
    void Scales();
    void EventsAndCurves();
    void RowsUnderTheGrid();
    void PageNumber();

private:
    bool HasRow(ChartRow row) const {
        return std::find(m_request.rows.begin(), m_request.rows.end(), row) != m_request.rows.end();
    }
    const RowPlace* Place(ChartRow row) const {
        for (const RowPlace& place : m_plan.rows) {
            if (place.row == row) return &place;
        }
        return nullptr;
    }
    int FrameWidth() const { return m_plan.xRight - m_plan.xLeft; }
    int LabelWidth() const { return m_plan.xGrid - m_plan.xLeft; }
    int HalfLabel() const { return m_plan.xScaleSplit - m_plan.xLeft; }
    // A scale's heading and unit in the band above its top degree, then its
    // figures down the column at x, one a degree line from nTop down by
    // nStep, each just above its line.
    void ScaleColumn(const std::string& strHeading, const std::string& strUnit, int x, int nHeadingTop, int nTop,
                     int nFigures, int nStep, const char* pszFont) {
        const ChartPlan& p = m_plan;
        Caption(strHeading, x, nHeadingTop, HalfLabel(), p.nTextRow, "label");
        Caption(strUnit, x, nHeadingTop + p.nTextRow, HalfLabel(), p.nTextRow, "cell");
        Tag("vitaltext", {{"text", std::to_string(nTop)},
                          {"left", At(x)},
                          {"top", At(p.DegreeY(p.nTopDegree) - p.nGridRow)},
                          {"right", Len(HalfLabel())},
                          {"bottom", Len(p.nGridRow)},
                          {"times", std::to_string(nFigures)},
                          {"direction", "y"},
                          {"spans", Len(p.nDegree)},
                          {"step", std::to_string(-nStep)},
                          {"align", "center"},
                          {"font-id", pszFont}});
    }
    int Times() const { return static_cast<int>(m_request.hours.size()); }
    bool HasPulse() const { return m_request.pulse.has_value(); }
    bool HasHeartRate() const { return m_request.heartRate.has_value(); }
    // The y of pain 0 and the height of 10 points on the pain band.
    int PainZero(const RowPlace& pain) const { return pain.y + pain.nHeight - 4; }

    const ChartRequest& m_request;
    const ChartPlan& m_plan;
    std::string m_str;
};

void CTemplateText::Head() {
    const ChartPlan& p = m_plan;
    m_str += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Comment("Temperature chart template: " + m_request.strPaper + " (" + TenthsFigure(m_request.nPaperWidthTenths) +
            " x " + TenthsFigure(m_request.nPaperHeightTenths) + " mm), " + std::to_string(m_request.nDays) +
            " days of " + std::to_string(Times()) + " time points, made by vitalchart init.");
    Comment("Positions with \"+\" are millimetres from the chart rectangle; plain figures are lengths.");
    Comment("Every figure is one the renderer reads as a whole number of 1/96 inch, a multiple of 4 wherever lines");
    Comment("meet, so single lines and families of lines end on the same device unit at 96 and at 600 dpi:");
    Comment("columns " + Len(p.nColumn) + " mm (" + std::to_string(p.nColumn) + "/96 inch), grid rows of 0.2 degree " +
            Len(p.nGridRow) + " mm (" + std::to_string(p.nGridRow) + "/96), rows " + Len(p.nTextRow) + " mm (" +
            std::to_string(p.nTextRow) + "/96).");
    m_str += "<vitalsign version=\"1.0\">\n";
    Tag("vitalsize", {{"width", TenthsFigure(m_request.nPaperWidthTenths)},
                      {"height", TenthsFigure(m_request.nPaperHeightTenths)},
                      {"print-color", "true"}});
}

void CTemplateText::PensAndFonts() {
    Comment("Pens: frame and rules of the form, the fine 0.2 degree grid, red heavy lines, curve pens.");
    Tag("vitalpen", {{"id", "frame"}, {"pen-width", "2"}, {"color", "0,0,0"}});
    Tag("vitalpen", {{"id", "rule"}, {"pen-width", "1"}, {"color", "0,0,0"}});
    Tag("vitalpen", {{"id", "fine"}, {"pen-width", "1"}, {"color", "170,170,170"}});
    Tag("vitalpen", {{"id", "heavy-red"}, {"pen-width", "2"}, {"color", "255,0,0"}});
    Tag("vitalpen", {{"id", "temp-line"}, {"pen-width", "1"}, {"color", "0,0,255"}});
    Tag("vitalpen", {{"id", "pulse-line"}, {"pen-width", "1"}, {"color", "255,0,0"}});
    Tag("vitalpen", {{"id", "cool-link"}, {"pen-width", "1"}, {"color", "255,0,0"}, {"pen-style", "1"}});
    if (HasPulse() && HasHeartRate()) Tag("vitalpen", {{"id", "deficit"}, {"pen-width", "1"}, {"color", "255,0,0"}});
    if (HasRow(ChartRow::kPain)) {
        Tag("vitalpen", {{"id", "pain-4"}, {"pen-width", "1"}, {"color", "0,0,255"}});
        Tag("vitalpen", {{"id", "pain-7"}, {"pen-width", "1"}, {"color", "255,0,0"}});
    }
    Comment("Fonts: sizes are character heights in 1/96 inch; each brings its colour, so none tints the next.");
    struct Font {
        const char* pszId;
        const char* pszSize;
        bool bBold;
        const char* pszColour;
    } fonts[] = {{"hospital", "16", true, "0,0,0"},       {"title", "20", true, "0,0,0"},
                 {"label", "12", false, "0,0,0"},         {"row-label", "11", false, "0,0,0"},
                 {"cell", "10", false, "0,0,0"},          {"narrow", "9", false, "0,0,0"},
                 {"pulse-scale", "10", false, "255,0,0"}, {"temp-scale", "10", false, "0,0,255"},
                 {"event", "11", false, "255,0,0"},       {"temp-word", "11", false, "0,0,255"},
                 {"pulse-figure", "9", false, "255,0,0"}, {"cell-red", "10", false, "255,0,0"},
                 {"cell-blue", "10", false, "0,0,255"}};
    for (const Font& font : fonts) {
        Attributes attributes = {{"id", font.pszId}, {"font-name", W(Word::kFace)}, {"font-size", font.pszSize}};
        if (font.bBold) attributes.emplace_back("font-bold", "true");
        attributes.emplace_back("text-color", font.pszColour);
        Tag("vitalfont", attributes);
    }
}

void CTemplateText::PatientHeader() {
    const ChartPlan& p = m_plan;
    Comment("Hospital name (from the readings), title and the patient's header.");
    Cells(W(Word::kHospital), p.xLeft, p.yHospital, FrameWidth(), p.yTitle - p.yHospital, "hospital");
    Caption(W(Word::kTitle), p.xLeft, p.yTitle, FrameWidth(), p.yPatient - p.yTitle, "title");
    // Four fields a line at the quarters of the frame; the second line
    // leaves the third quarter to the admission date.
    const int nQuarter = FrameWidth() / 16 * 4;
    struct Field {
        Word caption;
        Word name;
        int nQuarter;
        int nLine;
    } fields[] = {{Word::kNameCaption, Word::kName, 0, 0},    {Word::kSexCaption, Word::kSex, 1, 0},
                  {Word::kAgeCaption, Word::kAge, 2, 0},      {Word::kDepartmentCaption, Word::kDepartment, 3, 0},
                  {Word::kBedCaption, Word::kBed, 0, 1},      {Word::kAdmittedCaption, Word::kAdmitted, 1, 1},
                  {Word::kRecordCaption, Word::kRecord, 3, 1}};
    const int nLine = p.nTextRow;
    for (std::size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i) {
        const Field& field = fields[i];
        const int x = p.xLeft + field.nQuarter * nQuarter;
        const int y = p.yPatient + field.nLine * nLine;
        const int nCaption = CaptionWidth(W(field.caption));
        Caption(W(field.caption), x, y, nCaption, nLine, "label", "");
        const bool bLastOfLine = i + 1 == sizeof fields / sizeof fields[0] || fields[i + 1].nLine != field.nLine;
        const int xEnd = bLastOfLine ? p.xRight : p.xLeft + fields[i + 1].nQuarter * nQuarter - 4;
        Cells(W(field.name), x + nCaption, y, std::max(4, xEnd - x - nCaption), nLine, "label", "");
    }
}

void CTemplateText::Ruling() {
    const ChartPlan& p = m_plan;
    const int nDegrees = p.nTopDegree - p.nBottomDegree;
    Comment("Ruling: the fine grid first, heavier lines over it.");
    Rows(p.xGrid, p.yGrid, p.xRight, p.nGridRow, (nDegrees + 1) * 5, "fine");
    Columns(p.xGrid, p.yGrid, p.nColumn, p.yGridBottom, p.nColumns, "fine");
    Comment("A rule at every degree, across the scales as well; the header rows; the columns of the time points.");
    Rows(p.xLeft, p.yGrid, p.xRight, p.nDegree, nDegrees + 1, "rule");
    Rows(p.xLeft, p.yFrameTop, p.xRight, p.nTextRow, 4, "rule");
    Columns(p.xGrid, p.yTimes, p.nColumn, p.yGrid, p.nColumns, "rule");
    if (!p.rows.empty())
        Comment("The rows under the grid, with columns where a row has a cell per time point or half day.");
    // Rows of one height are a family; a boundary at the pain band, which is
    // taller, is a single line.
    std::size_t i = 0;
    while (i < p.rows.size()) {
        std::size_t j = i;
        while (j + 1 < p.rows.size() && p.rows[j + 1].nHeight == p.rows[i].nHeight) ++j;
        if (j > i) Rows(p.xLeft, p.rows[i].y, p.xRight, p.rows[i].nHeight, static_cast<int>(j - i + 1), "rule");
        if (j + 1 < p.rows.size()) Line(p.xLeft, p.rows[j + 1].y, p.xRight, p.rows[j + 1].y, "rule");
        i = j + 1;
    }
    for (const RowPlace& place : p.rows) {
        if (place.row == ChartRow::kRespiration) {
            Columns(p.xGrid, place.y, p.nColumn, place.y + place.nHeight, p.nColumns, "rule");
        } else if (place.row == ChartRow::kBloodPressure) {
            Columns(p.xGrid, place.y, p.nHalfDay, place.y + place.nHeight, 2 * m_request.nDays, "rule");
        }
    }
    Comment("The scales' columns and the grid's left edge.");
    Line(p.xScaleSplit, p.yGrid, p.xScaleSplit, p.yGridBottom, "rule");
    Line(p.xGrid, p.yFrameTop, p.xGrid, p.yFrameBottom, "rule");
    if (p.nBottomDegree < 37 && 37 < p.nTopDegree) {
        Comment("37 degrees in heavy red.");
        Line(p.xGrid, p.DegreeY(37), p.xRight, p.DegreeY(37), "heavy-red");
    }
    if (m_request.nDays > 1) Comment("Days in heavy red, every " + std::to_string(Times()) + " columns.");
    Columns(p.xGrid, p.yFrameTop, p.nColumn, p.yFrameBottom, m_request.nDays, "heavy-red", Times());
    Comment("The frame, and the grid's top and bottom.");
    Line(p.xLeft, p.yFrameTop, p.xRight, p.yFrameTop, "frame");
    Line(p.xLeft, p.yGrid, p.xRight, p.yGrid, "frame");
    Line(p.xLeft, p.yGridBottom, p.xRight, p.yGridBottom, "frame");
    Line(p.xLeft, p.yFrameBottom, p.xRight, p.yFrameBottom, "frame");
    Line(p.xLeft, p.yFrameTop, p.xLeft, p.yFrameBottom, "frame");
    Line(p.xRight, p.yFrameTop, p.xRight, p.yFrameBottom, "frame");
    if (const RowPlace* pPain = Place(ChartRow::kPain)) {
        Comment("Pain: threshold lines at 4 and 7 on the pain curve's own scale.");
        Line(p.xGrid, PainZero(*pPain) - 16, p.xRight, PainZero(*pPain) - 16, "pain-4");
        Line(p.xGrid, PainZero(*pPain) - 28, p.xRight, PainZero(*pPain) - 28, "pain-7");
    }
}

void CTemplateText::HeaderRows() {
    const ChartPlan& p = m_plan;
    Comment("Header rows: captions on the left, dates and day counts from the readings, day by day.");
    const Word captions[] = {Word::kDateCaption, Word::kStayCaption, Word::kAfterSurgeryCaption, Word::kTimeCaption};
    for (int i = 0; i < 4; ++i) {
        Caption(W(captions[i]), p.xLeft, p.yFrameTop + i * p.nTextRow, LabelWidth(), p.nTextRow, "label");
    }
    const Word names[] = {Word::kDate, Word::kStay, Word::kAfterSurgery};
    for (int i = 0; i < 3; ++i) Cells(W(names[i]), p.xGrid, p.yFrameTop + i * p.nTextRow, p.nDay, p.nTextRow, "cell");
    Comment("The time points, each repeated day after day.");
    for (int j = 0; j < Times(); ++j) {
        Tag("vitaltext", {{"text", std::to_string(m_request.hours[static_cast<std::size_t>(j)])},
                          {"left", At(p.xGrid + j * p.nColumn)},
                          {"top", At(p.yTimes)},
                          {"right", Len(p.nColumn)},
                          {"bottom", Len(p.nTextRow)},
                          {"times", std::to_string(m_request.nDays)},
                          {"spans", Len(p.nDay)},
                          {"align", "center"},
                          {"font-id", "narrow"}});
    }
}

void CTemplateText::Scales() {
    const ChartPlan& p = m_plan;
    // The headings in the band above the top degree, clear of the top figures
    // in its last grid row.
    const int nHeadingTop = p.yGrid + std::max(0, (p.nDegree - p.nGridRow - 2 * p.nTextRow) / 2);
    const int nTemperatures = m_request.temperature.nHigh - m_request.temperature.nLow + 1;
    if (p.bPulseScale) {
        const int nDegrees = p.nTopDegree - p.nBottomDegree;
        const int nRates = std::min(nDegrees + 1, p.nPulseTop / p.nBeatsPerDegree + 1);
        Comment("Scales: rates " + std::to_string(p.nPulseTop - (nRates - 1) * p.nBeatsPerDegree) + " to " +
                std::to_string(p.nPulseTop) + " a minute, " + std::to_string(p.nBeatsPerDegree) +
                " to the degree, and temperature " + std::to_string(m_request.temperature.nLow) + " to " +
                std::to_string(m_request.temperature.nHigh) + ", each figure just above its line.");
        ScaleColumn(W(Word::kPulseHeading), W(Word::kPulseUnit), p.xLeft, nHeadingTop, p.nPulseTop, nRates,
                    p.nBeatsPerDegree, "pulse-scale");
    } else {
        Comment("Scale: temperature " + std::to_string(m_request.temperature.nLow) + " to " +
                std::to_string(m_request.temperature.nHigh) + ", each figure just above its line.");
    }
    ScaleColumn(W(Word::kTemperatureHeading), W(Word::kTemperatureUnit), p.xScaleSplit, nHeadingTop, p.nTopDegree,
                nTemperatures, 1, "temp-scale");
}

void CTemplateText::EventsAndCurves() {
    const ChartPlan& p = m_plan;
    const int nBand = std::min(2, p.nTopDegree - p.nBottomDegree) * p.nDegree;
    const int xEvents = p.xGrid + std::max(0, (p.nColumn - 12) / 2);
    std::string strReasons = W(Word::kTemperature);
    if (HasPulse()) strReasons += std::string("|") + W(Word::kPulse);
    if (HasHeartRate()) strReasons += std::string("|") + W(Word::kHeartRate);
    Comment("Events, and why a reading was not taken, written down the band under the top degree in red.");
    Tag("vitaltextout", {{"name", W(Word::kEvents)},
                         {"x", At(xEvents)},
                         {"y", At(p.DegreeY(p.nTopDegree))},
                         {"cx", Len(p.nColumn)},
                         {"cy", Len(nBand)},
                         {"spans", Len(12)},
                         {"align", "vertical"},
                         {"font-id", "event"}});
    Tag("vitalreason", {{"names", strReasons},
                        {"x", At(xEvents)},
                        {"y", At(p.DegreeY(p.nTopDegree))},
                        {"cx", Len(p.nColumn)},
                        {"cy", Len(nBand)},
                        {"spans", Len(12)},
                        {"font-id", "event"}});

    const int x = p.xGrid + p.nColumn / 2;
    const std::string strLow = std::to_string(m_request.temperature.nLow);
    Comment(
        "Curves, markers in the middle of their columns. Temperature: axillary blue cross, oral (flag 1) blue dot,");
    Comment("rectal (flag 2) blue circle; below " + strLow + " the word " + W(Word::kBelowScale) +
            " under the line. A cooling re-measurement is a red circle linked to the fever it follows.");
    Tag("vitallineblock", {{"name", W(Word::kCooling)},
                           {"x", At(x)},
                           {"y", At(p.DegreeY(m_request.temperature.nLow))},
                           {"cx", Len(p.nColumn)},
                           {"cy", Len(p.nDegree)},
                           {"scale", "1"},
                           {"base-value", strLow},
                           {"symbol", "3"},
                           {"pen-id", "cool-link"}});
    Tag("vitallineout", {{"name", W(Word::kTemperature)},
                         {"x", At(x)},
                         {"y", At(p.DegreeY(m_request.temperature.nLow))},
                         {"cx", Len(p.nColumn)},
                         {"cy", Len(p.nDegree)},
                         {"scale", "1"},
                         {"base-value", strLow},
                         {"symbol", "1"},
                         {"special-symbol", "4"},
                         {"special-symbol-color", "0,0,255"},
                         {"special-symbol2", "5"},
                         {"special-symbol2-color", "0,0,255"},
                         {"pen-id", "temp-line"},
                         {"min-value", strLow},
                         {"below-word", W(Word::kBelowScale)},
                         {"offscale-font-id", "temp-word"}});
    if (!p.bPulseScale) return;
    const int nDegrees = p.nTopDegree - p.nBottomDegree;
    const std::string strBase = std::to_string(p.nPulseTop - nDegrees * p.nBeatsPerDegree);
    const std::string strTop = std::to_string(p.nPulseTop);
    Comment("Rates on their own scale from the grid's bottom; a rate above " + strTop +
            " is pinned at the top with its figure.");
    if (HasHeartRate()) Comment("Heart rate red circle under the pulse's red dot, so an equal pulse shows inside it.");
    for (Word rate : {Word::kHeartRate, Word::kPulse}) {
        if ((rate == Word::kHeartRate && !HasHeartRate()) || (rate == Word::kPulse && !HasPulse())) continue;
        Tag("vitallineout", {{"name", W(rate)},
                             {"x", At(x)},
                             {"y", At(p.yGridBottom)},
                             {"cx", Len(p.nColumn)},
                             {"cy", Len(p.nDegree)},
                             {"scale", std::to_string(p.nBeatsPerDegree)},
                             {"base-value", strBase},
                             {"symbol", rate == Word::kPulse ? "2" : "3"},
                             {"pen-id", "pulse-line"},
                             {"max-value", strTop},
                             {"above-pin", "true"},
                             {"offscale-font-id", "pulse-figure"}});
    }
    if (HasPulse() && HasHeartRate()) {
        Comment("A pulse deficit (heart rate above pulse) is hatched in red.");
        Tag("vitalhatch", {{"upper", W(Word::kHeartRate)},
                           {"lower", W(Word::kPulse)},
                           {"pen-id", "deficit"},
                           {"spacing", "1"},
                           {"direction", "rising"}});
    }
    Comment("Where a rate meets a temperature, the temperature mark stays on top, ringed in red.");
    std::string strOver = HasPulse() ? W(Word::kPulse) : "";
    if (HasHeartRate()) strOver += std::string(strOver.empty() ? "" : "|") + W(Word::kHeartRate);
    Tag("vitalring",
        {{"name", W(Word::kTemperature)}, {"over", strOver}, {"ring-color", "255,0,0"}, {"ring-radius", "1.6"}});
}

void CTemplateText::RowsUnderTheGrid() {
    const ChartPlan& p = m_plan;
    if (p.rows.empty()) return;
    Comment(
        "Rows under the grid: a cell per time point (respiration, staggered), per half day (blood pressure)"
        " or per day.");
    for (const RowPlace& place : p.rows) {
        if (place.row == ChartRow::kPain) {
            Caption(W(Word::kPainCaption), p.xLeft, place.y + 4, HalfLabel(), p.nTextRow, "row-label");
            Caption(W(Word::kPainCaptionSecond), p.xLeft, place.y + 4 + p.nTextRow, HalfLabel(), p.nTextRow,
                    "row-label");
            Caption("7", p.xScaleSplit, PainZero(place) - 28 - 8, HalfLabel(), 16, "cell-red");
            Caption("4", p.xScaleSplit, PainZero(place) - 16 - 8, HalfLabel(), 16, "cell-blue");
            continue;
        }
        Caption(W(RowCaption(place.row)), p.xLeft, place.y, LabelWidth(), place.nHeight, "row-label");
    }
    for (const RowPlace& place : p.rows) {
        const char* pszName = W(RowReadings(place.row));
        switch (place.row) {
            case ChartRow::kRespiration:
                Tag("vitaltextout", {{"name", pszName},
                                     {"x", At(p.xGrid)},
                                     {"y", At(place.y)},
                                     {"cx", Len(p.nColumn)},
                                     {"cy", Len(place.nHeight)},
                                     {"align", "center"},
                                     {"font-id", "narrow"},
                                     {"stagger", "true"}});
                break;
            case ChartRow::kBloodPressure:
                Cells(pszName, p.xGrid, place.y, p.nHalfDay, place.nHeight, "cell");
                break;
            case ChartRow::kSkinTest:
                Comment("Skin tests: positive in red, negative in blue.");
                Cells(W(Word::kSkinPositive), p.xGrid, place.y, p.nDay, place.nHeight, "cell-red");
                Cells(pszName, p.xGrid, place.y, p.nDay, place.nHeight, "cell-blue");
                break;
            case ChartRow::kPain:
                Comment("Pain score 0 to 10, 1 mm clear of its frame lines, a red triangle per score.");
                Tag("vitallineout", {{"name", pszName},
                                     {"x", At(p.xGrid + p.nColumn / 2)},
                                     {"y", At(PainZero(place))},
                                     {"cx", Len(p.nColumn)},
                                     {"cy", Len(40)},
                                     {"scale", "10"},
                                     {"base-value", "0"},
                                     {"symbol", "0"},
                                     {"symbol-shape", "filled-triangle"},
                                     {"symbol-color", "255,0,0"},
                                     {"pen-id", "pulse-line"}});
                break;
            default:
                Cells(pszName, p.xGrid, place.y, p.nDay, place.nHeight, "cell");
        }
    }
}

void CTemplateText::PageNumber() {
    const ChartPlan& p = m_plan;
    Comment("Page number.");
    if (m_request.language == ChartLanguage::kChinese) {
        Caption(W(Word::kPageCaption), p.xLeft, p.yPage, FrameWidth(), p.nTextRow, "label");
        Cells(W(Word::kPage), p.xLeft, p.yPage, FrameWidth(), p.nTextRow, "label");
    } else {
        const int nHalf = FrameWidth() / 2;
        Caption(W(Word::kPageCaption), p.xLeft, p.yPage, nHalf - 4, p.nTextRow, "label", "right");
        Cells(W(Word::kPage), p.xLeft + nHalf + 4, p.yPage, nHalf - 4, p.nTextRow, "label", "");
    }
    m_str += "</vitalsign>\n";
}

}  // namespace

std::string WriteChartTemplate(const ChartRequest& request, const ChartPlan& plan) {
    CTemplateText text(request, plan);
    text.Head();
    text.PensAndFonts();
    text.PatientHeader();
    text.Ruling();
    text.HeaderRows();
    text.Scales();
    text.EventsAndCurves();
    text.RowsUnderTheGrid();
    text.PageNumber();
    return text.Text();
}

}  // namespace cli
}  // namespace vitalchart
