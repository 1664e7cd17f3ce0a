// The marks a ward is audited against, drawn from small templates on the
// recording surface: marker shapes and colours, rings where readings meet,
// deficit hatching, reasons, words and pins beyond a scale, staggered rows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/painter_util.h"
#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

// Curves 10 mm right and 50 mm down, columns 5 mm apart, 10 mm per unit of
// value over a base of 35: value 37 lies at y 113, column 1 at x 57.
std::string Curve(const std::string& strName, const std::string& strExtra) {
    return "<vitallineout name=\"" + strName +
           "\" x=\"+10\" y=\"+50\" cx=\"5\" cy=\"10\" scale=\"1\" base-value=\"35\" " + strExtra + "/>\n";
}

std::string Reading(const std::string& strName, int nCell, const std::string& strValue,
                    const std::string& strExtra = "") {
    return "<d vitalsigns=\"" + strName + "\" vitalsignsvalues=\"" + strValue + "\" cellindex=\"" +
           std::to_string(nCell) + "\"" + strExtra + "/>\n";
}

const std::string kFont = "<vitalfont id=\"f\" font-name=\"Serif\" font-size=\"9\"/>\n";
const std::string kPen = "<vitalpen id=\"red\" pen-width=\"1\" color=\"255,0,0\"/>\n";

struct MarkCase {
    const char* pszName;
    std::string strTemplate;
    std::string strData;
    std::vector<std::string> present;  // trace lines that must be drawn
    std::vector<std::string> absent;   // trace lines that must not be
    BOOL bPrinting = 0;
};

std::vector<MarkCase> MarkCases() {
    const std::string strMeet = Reading("T", 1, "37") + Reading("P", 1, "37");
    return {
        {"a shape and colour replace the kind's",
         Curve("T", "symbol=\"1\" symbol-shape=\"filled-triangle\" symbol-color=\"0,0,255\""),
         Reading("T", 1, "37"),
         {"pen 0 1 #0000ff", "brush #0000ff", "polygon 57 109 61 117 53 117"},
         {"moveto 53 109"}},
        {"a kind that draws nothing draws only the shape asked for",
         Curve("T", "symbol=\"0\" symbol-shape=\"circle\""),
         Reading("T", 1, "37"),
         {"pen 0 1 #000000", "brush #ffffff", "ellipse 53 109 61 117"},
         {}},
        {"a kind with no shape asked for still draws nothing",
         Curve("T", "symbol=\"0\" symbol-color=\"0,0,255\""),
         Reading("T", 1, "37"),
         {},
         {"ellipse 53 109 61 117", "pen 0 1 #0000ff"}},
        {"circle with a dot",
         Curve("T", "symbol=\"3\" symbol-shape=\"circle-dot\""),
         Reading("T", 1, "37"),
         {"ellipse 53 109 61 117", "ellipse 56 112 58 114"},
         {}},
        {"pulse on temperature: the temperature mark is drawn again and ringed",
         Curve("T", "symbol=\"1\"") + Curve("P", "symbol=\"2\"") + "<vitalring name=\"T\" over=\"P\"/>\n",
         strMeet,
         {"pen 0 1 #ff0000\nmoveto 63 113\nlineto 63 115"},
         {}},
        {"a hollow temperature mark gets a dot inside instead of a ring",
         Curve("T", "symbol=\"5\"") + Curve("P", "symbol=\"2\"") + "<vitalring name=\"T\" over=\"P\"/>\n",
         strMeet,
         {"brush #ff0000\nellipse 55 111 59 115"},
         {"moveto 63 113"}},
        {"readings in other columns or apart are not ringed",
         Curve("T", "symbol=\"1\"") + Curve("P", "symbol=\"2\"") + "<vitalring name=\"T\" over=\"P\"/>\n",
         Reading("T", 1, "37") + Reading("P", 2, "37") + Reading("T", 3, "37") + Reading("P", 3, "38"),
         {},
         {"moveto 63 113", "moveto 82 113", "moveto 101 113"}},
        {"print without colour: every mark and ring is black",
         "<vitalsize width=\"100\" height=\"100\" print-color=\"false\"/>\n" +
             Curve("T", "symbol=\"1\" symbol-color=\"0,0,255\" symbol-shape=\"dot\"") + Curve("P", "symbol=\"2\"") +
             "<vitalring name=\"T\" over=\"P\" ring-color=\"0,255,0\"/>\n",
         strMeet,
         {"ellipse 53 109 61 117", "moveto 63 113"},
         {"#0000ff", "#ff0000", "#00ff00"},
         1},
        {"a reason at the page's first and last column",
         kFont + "<vitalreason names=\"T|P\" x=\"+10\" y=\"+5\" cx=\"5\" cy=\"20\" spans=\"4\" font-id=\"f\"/>\n",
         Reading("T", 0, "", " reason=\"out\"") + Reading("P", 0, "", " reason=\"out\"") +
             Reading("T", 41, "", " reason=\"refused\""),
         {"drawtext 38 19 57 95 0x800 \"o\"\ndrawtext 38 34 57 110 0x800 \"u\"", "drawtext 817 19 836 95 0x800 \"r\""},
         {"drawtext 38 19 57 95 0x800 \"o\"\ndrawtext 38 34 57 110 0x800 \"u\"\ndrawtext 38 49 57 125 0x800 "
          "\"t\"\ndrawtext 38 19"}},
        {"a reason breaks the curve on both sides",
         Curve("T", "symbol=\"1\""),
         Reading("T", 0, "37") + Reading("T", 1, "", " reason=\"out\"") + Reading("T", 2, "37"),
         {},
         {"lineto 76 113"}},
        {"a value on the lower bound is plotted; one below it, or only known to be under it, is the word",
         kFont + Curve("T", "symbol=\"1\" min-value=\"35\" below-word=\"low\" offscale-font-id=\"f\""),
         Reading("T", 0, "35") + Reading("T", 1, "35", " comparator=\"<\"") + Reading("T", 2, "34.9"),
         {"moveto 34 185", "drawtext 55 190 59 199 0x800 \"l\"", "drawtext 74 190"},
         {"moveto 53 185", "moveto 72 185"}},
        {"a value above the bound is pinned with its figure beside it",
         Curve("P", "symbol=\"2\" max-value=\"37\" above-pin=\"true\""),
         Reading("P", 1, "37") + Reading("P", 2, "39"),
         {"ellipse 72 109 80 117", "\"39\""},
         {"ellipse 72 33 80 41"}},
        {"a deficit in one column between meeting curves is hatched up to the crossings",
         kPen + Curve("P", "symbol=\"2\"") + Curve("H", "symbol=\"3\"") +
             "<vitalhatch upper=\"H\" lower=\"P\" pen-id=\"red\" spacing=\"2\"/>\n",
         Reading("P", 0, "36") + Reading("H", 0, "36") + Reading("P", 1, "36") + Reading("H", 1, "37") +
             Reading("P", 2, "36") + Reading("H", 2, "36"),
         {"hatch 8 rising 38 151 57 113 76 151 57 151"},
         {}},
        {"a deficit in a column whose neighbours are not measured on both curves is one stroke",
         kPen + Curve("P", "symbol=\"2\"") + Curve("H", "symbol=\"3\"") +
             "<vitalhatch upper=\"H\" lower=\"P\" pen-id=\"red\"/>\n",
         Reading("P", 0, "36") + Reading("H", 0, "36") + Reading("P", 1, "36") + Reading("P", 2, "36") +
             Reading("H", 2, "37"),
         {"moveto 76 113\nlineto 76 151"},
         {"hatch"}},
        {"staggered figures alternate from the page's first, left to right",
         kFont + "<vitaltextout name=\"R\" x=\"+10\" y=\"+5\" cx=\"5\" cy=\"10\" align=\"center\" font-id=\"f\" "
                 "stagger=\"true\"/>\n",
         Reading("R", 5, "18") + Reading("R", 1, "20") + Reading("R", 3, "19"),
         {"drawtext 62 24 70 33 0x801 \"20\"", "drawtext 100 43 108 52 0x801 \"19\"",
          "drawtext 138 24 146 33 0x801 \"18\""},
         {}},
    };
}

TEST(NursingMarks, DrawnAsTheWardExpects) {
    for (const MarkCase& c : MarkCases()) {
        SCOPED_TRACE(c.pszName);
        test::TraceRun run;
        run.strTemplate = c.strTemplate;
        run.strData = c.strData;
        run.bPrinting = c.bPrinting;
        const std::string strTrace = test::RenderTrace(run);
        for (const std::string& strLine : c.present) {
            EXPECT_NE(strTrace.find(strLine), std::string::npos) << strLine << "\n---\n" << strTrace;
        }
        for (const std::string& strLine : c.absent) {
            EXPECT_EQ(strTrace.find(strLine), std::string::npos) << strLine << "\n---\n" << strTrace;
        }
    }
}

TEST(NursingMarks, MeetingIsMeasuredWithoutOverflowAtTheEndsOfTheRange) {
    struct {
        POINT a, b;
        std::int64_t nDistance;
        bool bCloser;
    } const cases[] = {
        {{0, 0}, {3, 4}, 6, true},
        {{0, 0}, {3, 4}, 5, false},
        {{0, 0}, {3, 4}, -6, true},
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, 8, false},
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, std::int64_t{1} << 32, false},
        {{INT_MIN, 0}, {INT_MIN + 1, 0}, std::int64_t{1} << 32, true},
        {{INT_MAX, INT_MAX}, {INT_MAX - 3, INT_MAX - 4}, std::int64_t{1} << 32, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CentresCloserThan(c.a, c.b, c.nDistance), c.bCloser) << c.a.x << "," << c.a.y << " " << c.nDistance;
    }
}

}  // namespace
}  // namespace vitalchart
