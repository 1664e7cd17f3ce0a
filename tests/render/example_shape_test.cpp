// The bundled example chart (examples/vitalsign.xml with examples/week.data):
// every element of the template draws, the chart follows the host's rectangle,
// and the curves sit on the scales that the form prints.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/mul_div.h"
#include "support/shape_log.h"
#include "support/trace_fixture.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace test {
namespace {

const std::string kTemplatePath = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
const std::string kDataPath = std::string(VITALCHART_EXAMPLES) + "/week.data";

// The chart's size in device units at 96 per inch, as a host sizes the rectangle.
int ChartUnits(int nMm) {
    return MulDiv(nMm * 10, 96, 254);
}
const int kWidth = ChartUnits(167);
const int kHeight = ChartUnits(253);

std::string RenderFile(const std::string& strPath, const std::string& strData, int nTop = 0, int nLeft = 0) {
    CRecordingDC dc(CP_UTF8, FALSE);
    DrawPlugin(&dc, nTop, nLeft, nTop + kHeight, nLeft + kWidth, 96, 96, 96, 96, strPath.c_str(), strData.data(),
               static_cast<int>(strData.size()), "", 0);
    return dc.GetTrace();
}

std::string RenderText(const std::string& strTemplate, const std::string& strData) {
    TempFile file(strTemplate);
    return RenderFile(file.Path(), strData);
}

// The element name of a template line, read as the renderer reads it: after
// '<' and an optional '/', up to a blank or '>' (so "<vitalsize/>" names
// "vitalsize/", which is no element).
std::string ElementName(const std::string& strLine) {
    if (strLine.empty() || strLine[0] != '<') return std::string();
    std::size_t nStart = strLine.size() > 1 && strLine[1] == '/' ? 2 : 1;
    std::size_t nEnd = strLine.find_first_of(" >", nStart);
    return strLine.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
}

bool IsDeclaration(const std::string& strName) {
    return strName == "vitalpen" || strName == "vitalfont" || strName == "vitalsize";
}

bool IsDrawing(const std::string& strName) {
    return strName == "vitalline" || strName == "vitaltext" || strName == "vitallineout" ||
           strName == "vitallineblock" || strName == "vitaltextout" || strName == "vitalring" ||
           strName == "vitalhatch" || strName == "vitalreason";
}

// Elements that draw over the curves drawn before them.
bool IsOverCurves(const std::string& strName) {
    return strName == "vitalring" || strName == "vitalhatch";
}

bool IsDrawingOp(const std::string& strOp) {
    return strOp == "moveto" || strOp == "lineto" || strOp == "ellipse" || strOp == "polygon" || strOp == "drawtext" ||
           strOp == "textout" || strOp == "fillrect" || strOp == "hatch";
}

struct Counts {
    int nLines = 0;     // lineto
    int nEllipses = 0;  // ellipse
    int nTexts = 0;     // drawtext of a non-empty text
    int nOther = 0;     // any other drawing operation
};

Counts CountOps(const std::string& strTrace) {
    Counts counts;
    for (const TraceOp& op : ParseTrace(strTrace)) {
        if (op.strOp == "lineto") {
            ++counts.nLines;
        } else if (op.strOp == "ellipse") {
            ++counts.nEllipses;
        } else if (op.strOp == "drawtext" && op.strText != "\"\"") {
            ++counts.nTexts;
        } else if (op.strOp != "moveto" && IsDrawingOp(op.strOp) && op.strOp != "drawtext") {
            ++counts.nOther;
        }
    }
    return counts;
}

// The trace with every coordinate moved by (dx, dy).
std::string ShiftTrace(const std::string& strTrace, long dx, long dy) {
    std::string out;
    for (const std::string& line : SplitLines(strTrace)) {
        TraceOp op = ParseOp(line);
        bool bPoints = op.strOp == "moveto" || op.strOp == "lineto" || op.strOp == "polygon" || op.strOp == "ellipse" ||
                       op.strOp == "textout";
        if (op.strOp == "drawtext") {
            // left top right bottom, then the format and the text
            std::ostringstream s;
            s << "drawtext " << op.arrNums[0] + dx << ' ' << op.arrNums[1] + dy << ' ' << op.arrNums[2] + dx << ' '
              << op.arrNums[3] + dy << line.substr(line.find(" 0x"));
            out += s.str() + "\n";
        } else if (op.strOp == "hatch") {
            // hatch SPACING DIRECTION, then the points
            std::istringstream in(line);
            std::string strWord;
            std::ostringstream s;
            in >> strWord >> strWord;
            s << "hatch " << strWord;
            in >> strWord;
            s << ' ' << strWord;
            long x = 0;
            long y = 0;
            while (in >> x >> y) s << ' ' << x + dx << ' ' << y + dy;
            out += s.str() + "\n";
        } else if (bPoints) {
            std::ostringstream s;
            s << op.strOp;
            for (std::size_t i = 0; i < op.arrNums.size(); ++i) s << ' ' << op.arrNums[i] + (i % 2 == 0 ? dx : dy);
            if (!op.strText.empty()) s << ' ' << op.strText;
            out += s.str() + "\n";
        } else {
            out += line + "\n";
        }
    }
    return out;
}

// The lines of the trace with data that the trace without data lacks: the
// data text only adds drawing, so a walk in step finds them.
std::vector<TraceOp> AddedOps(const std::string& strBase, const std::string& strWithData) {
    std::vector<std::string> base = SplitLines(strBase);
    std::vector<std::string> more = SplitLines(strWithData);
    std::vector<TraceOp> added;
    std::size_t i = 0;
    for (const std::string& line : more) {
        if (i < base.size() && base[i] == line) {
            ++i;
        } else {
            added.push_back(ParseOp(line));
        }
    }
    EXPECT_EQ(i, base.size()) << "the data text removed drawing from the form";
    return added;
}

struct Point {
    long x = 0;
    long y = 0;
};

// Where the example puts the marker of one reading: the centre of its circle,
// or the middle of the first stroke of its cross.
Point MarkerCentre(const std::string& strForm, const std::string& strRecord) {
    Point p{-1, -1};
    std::vector<TraceOp> added = AddedOps(strForm, RenderFile(kTemplatePath, strRecord));
    for (std::size_t i = 0; i < added.size(); ++i) {
        const TraceOp& op = added[i];
        if (op.strOp == "ellipse") {
            p.x = (op.arrNums[0] + op.arrNums[2]) / 2;
            p.y = (op.arrNums[1] + op.arrNums[3]) / 2;
            return p;
        }
        if (op.strOp == "moveto" && i + 1 < added.size() && added[i + 1].strOp == "lineto") {
            p.x = (op.arrNums[0] + added[i + 1].arrNums[0]) / 2;
            p.y = (op.arrNums[1] + added[i + 1].arrNums[1]) / 2;
            return p;
        }
    }
    ADD_FAILURE() << "no marker for " << strRecord;
    return p;
}

std::string Reading(const std::string& strName, const std::string& strValue, int nCell) {
    return "<d vitalsigns=\"" + strName + "\" vitalsignsvalues=\"" + strValue + "\" cellindex=\"" +
           std::to_string(nCell) + "\"/>\n";
}

std::string Quoted(const std::string& strText) {
    return QuoteTraceText(strText.data(), strText.size());
}

// The box a caption of the form was drawn in; fails when the caption is not
// drawn exactly once.
TraceOp CaptionOp(const std::vector<TraceOp>& ops, const std::string& strText) {
    TraceOp found;
    int nFound = 0;
    for (const TraceOp& op : ops) {
        if (op.strOp == "drawtext" && op.strText == Quoted(strText)) {
            found = op;
            ++nFound;
        }
    }
    EXPECT_EQ(nFound, 1) << "caption " << strText;
    if (nFound == 0) found.arrNums.assign(4, 0);
    return found;
}

class ExampleShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_strTemplate = ReadFileText(kTemplatePath);
        m_strData = ReadFileText(kDataPath);
        ASSERT_FALSE(m_strTemplate.empty()) << kTemplatePath;
        ASSERT_FALSE(m_strData.empty()) << kDataPath;
        for (const std::string& line : SplitLines(m_strTemplate)) {
            if (IsDeclaration(ElementName(line))) m_strPrelude += line + "\n";
        }
    }

    std::string m_strTemplate;
    std::string m_strData;
    std::string m_strPrelude;  // the pens, fonts and size of the example
};

TEST_F(ExampleShapeTest, EveryLineIsAnElementOrAComment) {
    // A misspelt or indented element is skipped without a word; here it fails.
    int nElements = 0;
    for (const std::string& line : SplitLines(m_strTemplate)) {
        if (line.empty()) continue;
        SCOPED_TRACE(line);
        std::string strName = ElementName(line);
        bool bFrame = line.compare(0, 4, "<!--") == 0 || line.compare(0, 5, "<?xml") == 0 || strName == "vitalsign";
        // A closing tag is read as its element without attributes.
        EXPECT_TRUE(line.compare(0, 2, "</") != 0 || strName == "vitalsign");
        EXPECT_TRUE(bFrame || IsDeclaration(strName) || IsDrawing(strName));
        if (IsDrawing(strName)) ++nElements;
    }
    EXPECT_GE(nElements, 60);
}

TEST_F(ExampleShapeTest, DeclarationsAloneDrawNothing) {
    Counts counts = CountOps(RenderText(m_strPrelude, m_strData));
    EXPECT_EQ(counts.nLines + counts.nEllipses + counts.nTexts + counts.nOther, 0);
}

TEST_F(ExampleShapeTest, EveryElementDrawsInsideTheChart) {
    std::string strCurves;  // the curves before the element, which rings and hatching draw over
    for (const std::string& line : SplitLines(m_strTemplate)) {
        std::string strName = ElementName(line);
        if (!IsDrawing(strName)) continue;
        SCOPED_TRACE(line);
        const std::string strBefore = IsOverCurves(strName) ? strCurves : std::string();
        if (strName == "vitallineout") strCurves += line + "\n";
        const std::string strAlone = IsOverCurves(strName) ? RenderText(m_strPrelude + strBefore, m_strData) : "";
        std::string strTrace = RenderText(m_strPrelude + strBefore + line + "\n", m_strData);
        Counts counts = CountOps(strTrace);
        if (IsOverCurves(strName)) {
            const Counts curves = CountOps(strAlone);
            EXPECT_GT(counts.nLines + counts.nOther, curves.nLines + curves.nOther);
        } else if (strName == "vitalline") {
            EXPECT_GT(counts.nLines, 0);
        } else if (strName == "vitaltext" || strName == "vitaltextout" || strName == "vitalreason") {
            EXPECT_GT(counts.nTexts, 0);
        } else {
            EXPECT_GT(counts.nLines + counts.nEllipses, 0);
        }
        for (const TraceOp& op : ParseTrace(strTrace)) {
            if (op.strOp != "moveto" && op.strOp != "lineto" && op.strOp != "ellipse" && op.strOp != "drawtext" &&
                op.strOp != "hatch") {
                continue;
            }
            // Points for lines, circles and hatched areas (after the spacing
            // and the direction);
            // the top-left corner for texts.
            std::size_t nCount = op.strOp == "drawtext" ? 2 : op.arrNums.size();
            for (std::size_t i = op.strOp == "hatch" ? 2 : 0; i + 1 < nCount; i += 2) {
                EXPECT_GE(op.arrNums[i], 0);
                EXPECT_LE(op.arrNums[i], kWidth);
                EXPECT_GE(op.arrNums[i + 1], 0);
                EXPECT_LE(op.arrNums[i + 1], kHeight);
            }
        }
    }
}

TEST_F(ExampleShapeTest, ChartFollowsTheHostRectangle) {
    std::string strAtOrigin = RenderFile(kTemplatePath, m_strData);
    std::string strMoved = RenderFile(kTemplatePath, m_strData, 53, 37);
    EXPECT_EQ(ShiftTrace(strAtOrigin, 37, 53), strMoved);
}

TEST_F(ExampleShapeTest, WeekTotalsArePlausible) {
    // Without its rings, which draw met temperature marks again.
    std::string strUnringed;
    for (const std::string& line : SplitLines(m_strTemplate)) {
        if (ElementName(line) != "vitalring") strUnringed += line + "\n";
    }
    Counts counts = CountOps(RenderText(strUnringed, m_strData));
    // Captions are counted on the form alone: readings may hold the same numbers.
    std::vector<TraceOp> ops = ParseTrace(RenderFile(kTemplatePath, ""));
    // Grid rules alone: 44 rows, 41 columns, 8 degree lines, 6 day lines.
    EXPECT_GE(counts.nLines, 44 + 41 + 8 + 6);
    // Hours 2 6 10 14 18 22 under each of the seven days.
    for (const char* pszHour : {"2", "6", "10", "14", "18", "22"}) {
        int nHour = 0;
        for (const TraceOp& op : ops) {
            if (op.strOp == "drawtext" && op.strText == Quoted(pszHour)) ++nHour;
        }
        EXPECT_EQ(nHour, 7) << "hour " << pszHour;
    }
    // The scales: 42 down to 35, and 180 down to 20 in steps of 20.
    // (40 is on both scales.)
    for (int t = 35; t <= 42; ++t) {
        if (t != 40) CaptionOp(ops, std::to_string(t));
    }
    for (int n = 20; n <= 180; n += 20) {
        if (n != 40) CaptionOp(ops, std::to_string(n));
    }
    // One circle per pulse, heart-rate, oral, rectal and cooled reading of the week.
    int nCircles = 0;
    for (const std::string& line : SplitLines(m_strData)) {
        bool bEmpty = line.find("vitalsignsvalues=\"\"") != std::string::npos;
        if (bEmpty) continue;
        if (line.find("\"脉搏\"") != std::string::npos || line.find("\"心率\"") != std::string::npos ||
            line.find("\"物理降温\"") != std::string::npos ||
            (line.find("\"体温\"") != std::string::npos && line.find("specialSymbolFlag") != std::string::npos)) {
            ++nCircles;
        }
    }
    EXPECT_GE(nCircles, 30);
    EXPECT_EQ(counts.nEllipses, nCircles);
    // Text rows and header rows: at least one text per time point of the week.
    EXPECT_GE(counts.nTexts, 42 * 2);
}

TEST_F(ExampleShapeTest, WordsAreWrittenInBlack) {
    // A text row leaves its font's colour in force (the red events, say), so
    // a caption or value whose font brings no colour would take it over.
    // Every centred text with words in it is a caption or a value: black,
    // but for the skin tests, red when positive and blue when negative.
    std::vector<std::string> skinTests;
    for (const std::string& line : SplitLines(m_strData)) {
        if (line.find("\"皮试") == std::string::npos) continue;
        const std::size_t nValue = line.find("vitalsignsvalues=\"") + 18;
        skinTests.push_back(Quoted(line.substr(nValue, line.find('"', nValue) - nValue)));
    }
    EXPECT_EQ(skinTests.size(), 2u);
    std::string strColour = "#000000";
    int nChecked = 0;
    for (const std::string& line : SplitLines(RenderFile(kTemplatePath, m_strData))) {
        TraceOp op = ParseOp(line);
        if (op.strOp == "textcolor") strColour = line.substr(line.find('#'));
        if (op.strOp != "drawtext" || line.find(" 0x801 ") == std::string::npos) continue;
        if (op.strText.find("\\x") == std::string::npos) continue;  // numbers: the scales are coloured
        if (std::find(skinTests.begin(), skinTests.end(), op.strText) != skinTests.end()) {
            EXPECT_NE(strColour, "#000000") << op.strText;
            continue;
        }
        SCOPED_TRACE(line);
        EXPECT_EQ(strColour, "#000000");
        ++nChecked;
    }
    EXPECT_GE(nChecked, 15);
}

TEST_F(ExampleShapeTest, CurvesSitOnTheirScales) {
    std::string strForm = RenderFile(kTemplatePath, "");
    std::vector<std::string> lines = SplitLines(strForm);
    std::vector<TraceOp> ops = ParseTrace(strForm);

    // The 37 degree line is the one horizontal rule in heavy red; the grid
    // columns are the vertical rules of the fine grey pen.
    std::vector<long> arrRedRows;
    std::vector<long> arrColumns;
    std::string strPen;
    for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
        if (ops[i].strOp == "pen") strPen = lines[i];
        if (ops[i].strOp != "moveto" || ops[i + 1].strOp != "lineto") continue;
        const TraceOp& from = ops[i];
        const TraceOp& to = ops[i + 1];
        if (strPen == "pen 0 2 #ff0000" && from.arrNums[1] == to.arrNums[1]) arrRedRows.push_back(from.arrNums[1]);
        if (strPen == "pen 0 1 #aaaaaa" && from.arrNums[0] == to.arrNums[0]) arrColumns.push_back(from.arrNums[0]);
    }
    ASSERT_EQ(arrRedRows.size(), 1u);
    ASSERT_EQ(arrColumns.size(), 41u);
    std::sort(arrColumns.begin(), arrColumns.end());
    long y37 = arrRedRows[0];

    auto MarkerOf = [&](const std::string& strName, const std::string& strValue, int nCell) {
        SCOPED_TRACE(strName + " " + strValue);
        return MarkerCentre(strForm, Reading(strName, strValue, nCell));
    };
    // 37 degrees and a pulse of 80 on the red line; 20 beats to one degree.
    EXPECT_NEAR(MarkerOf("体温", "37.0", 5).y, y37, 1);
    EXPECT_NEAR(MarkerOf("脉搏", "80", 5).y, y37, 1);
    EXPECT_NEAR(MarkerOf("心率", "80", 5).y, y37, 1);
    EXPECT_NEAR(MarkerOf("体温", "42", 5).y, MarkerOf("脉搏", "180", 5).y, 1);
    EXPECT_NEAR(MarkerOf("体温", "35", 5).y, MarkerOf("脉搏", "40", 5).y, 1);

    // Each scale caption sits in the row just above its own line.
    struct Caption {
        const char* pszText;
        const char* pszName;
        const char* pszValue;
    };
    const Caption captions[] = {{"42", "体温", "42"},   {"37", "体温", "37"}, {"35", "体温", "35"},
                                {"180", "脉搏", "180"}, {"80", "脉搏", "80"}, {"20", "脉搏", "20"}};
    long nRow = (MarkerOf("体温", "35", 0).y - MarkerOf("体温", "36", 0).y) / 5;
    EXPECT_GT(nRow, 0);
    for (const Caption& c : captions) {
        SCOPED_TRACE(c.pszText);
        long y = MarkerOf(c.pszName, c.pszValue, 0).y;
        TraceOp op = CaptionOp(ops, c.pszText);
        EXPECT_GE(op.arrNums[1], y - nRow);
        EXPECT_LE(op.arrNums[3], y);
    }

    // A reading's marker lies inside its own column.
    for (int nCell : {1, 17, 40}) {
        SCOPED_TRACE(nCell);
        long x = MarkerOf("体温", "38.0", nCell).x;
        EXPECT_GT(x, arrColumns[static_cast<std::size_t>(nCell) - 1]);
        EXPECT_LT(x, arrColumns[static_cast<std::size_t>(nCell)]);
    }

    // Events are written down the band between 42 and 40 degrees.
    long y40 = MarkerOf("体温", "40", 0).y;
    long y42 = MarkerOf("体温", "42", 0).y;
    std::vector<TraceOp> added = AddedOps(strForm, RenderFile(kTemplatePath, Reading("事件", "入院", 2)));
    int nChars = 0;
    for (const TraceOp& op : added) {
        if (op.strOp != "drawtext") continue;
        ++nChars;
        EXPECT_GE(op.arrNums[1], y42);
        EXPECT_LT(op.arrNums[1], y40);
        EXPECT_GT(op.arrNums[0], arrColumns[1]);
        EXPECT_LT(op.arrNums[0], arrColumns[2]);
    }
    EXPECT_EQ(nChars, 2);
}

// What the example draws, shape by shape, with the recording surface's metric
// for texts.
std::vector<LoggedShape> Shapes(const std::string& strData) {
    CShapeLog log(CP_UTF8, FALSE);
    DrawPlugin(&log, 0, 0, kHeight, kWidth, 96, 96, 96, 96, kTemplatePath.c_str(), strData.data(),
               static_cast<int>(strData.size()), "", 0);
    return log.GetShapes();
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST_F(ExampleShapeTest, TextsOfTheEventBandAndTheRespirationRowStandApart) {
    const std::string strForm = RenderFile(kTemplatePath, "");
    const long y40 = MarkerCentre(strForm, Reading("体温", "40", 0)).y;
    const long y42 = MarkerCentre(strForm, Reading("体温", "42", 0)).y;
    const TraceOp caption = CaptionOp(ParseTrace(strForm), "呼吸(次/分)");
    const long yRow = (caption.arrNums[1] + caption.arrNums[3]) / 2;
    const long xGrid = caption.arrNums[2];
    std::vector<RECT> band;
    std::vector<RECT> row;
    for (const LoggedShape& s : Shapes(m_strData)) {
        if (s.nKind != LoggedShape::kText || s.extent.left < xGrid) continue;
        if (s.extent.top >= y42 && s.extent.top < y40) band.push_back(s.extent);
        if (std::abs((s.extent.top + s.extent.bottom) / 2 - yRow) <= 9) row.push_back(s.extent);
    }
    // 入院｜十时二十分, 手术, 出院｜十四时 and the two reasons; a figure per respiration.
    EXPECT_GE(band.size(), 20u);
    EXPECT_GE(row.size(), 20u);
    for (const std::vector<RECT>* pTexts : {&band, &row}) {
        for (std::size_t i = 0; i < pTexts->size(); ++i) {
            for (std::size_t j = i + 1; j < pTexts->size(); ++j) {
                const RECT& a = (*pTexts)[i];
                const RECT& b = (*pTexts)[j];
                EXPECT_FALSE(Overlap(a, b)) << a.left << "," << a.top << " and " << b.left << "," << b.top;
            }
        }
    }
}

TEST_F(ExampleShapeTest, DeficitHatchingStaysWhereHeartRateExceedsPulse) {
    // The columns where both were taken and the heart rate is higher.
    std::vector<int> arrDeficit;
    const std::vector<std::string> lines = SplitLines(m_strData);
    auto value = [&](const char* pszName, int nCell) {
        const std::string strName = std::string("vitalsigns=\"") + pszName + "\"";
        const std::string strCell = "cellindex=\"" + std::to_string(nCell) + "\"";
        for (const std::string& line : lines) {
            if (line.find(strName) == std::string::npos || line.find(strCell) == std::string::npos) continue;
            const std::size_t n = line.find("vitalsignsvalues=\"") + 18;
            return std::atof(line.substr(n, line.find('"', n) - n).c_str());
        }
        return 0.0;
    };
    for (int nCell = 0; nCell < 42; ++nCell) {
        if (value("心率", nCell) > 0 && value("心率", nCell) > value("脉搏", nCell)) arrDeficit.push_back(nCell);
    }
    ASSERT_FALSE(arrDeficit.empty());
    const std::string strForm = RenderFile(kTemplatePath, "");
    const long xFirst = MarkerCentre(strForm, Reading("脉搏", "80", arrDeficit.front())).x;
    const long xLast = MarkerCentre(strForm, Reading("脉搏", "80", arrDeficit.back())).x;
    int nHatched = 0;
    for (const TraceOp& op : ParseTrace(RenderFile(kTemplatePath, m_strData))) {
        if (op.strOp != "hatch") continue;
        ++nHatched;
        // hatch SPACING DIRECTION X Y ...: the direction word reads as 0.
        for (std::size_t i = 2; i + 1 < op.arrNums.size(); i += 2) {
            EXPECT_GE(op.arrNums[i], xFirst);
            EXPECT_LE(op.arrNums[i], xLast);
        }
    }
    EXPECT_EQ(nHatched, 1);
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
