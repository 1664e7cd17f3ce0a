#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "render/painter_fixture.h"
#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

using test::PainterRig;

// The host's pen and brush before a marker; the marker must put them back.
constexpr const char* kHostPen = "pen 2 1 #010203\n";
constexpr const char* kHostBrush = "brush #0a0b0c\n";

// Draws one marker on a surface that holds the host's pen and brush and
// returns what the marker alone wrote.
std::string MarkerTrace(PainterRig& rig, int x, int y, int nKind) {
    CPen pen;
    pen.CreatePen(PS_DOT, 1, RGB(1, 2, 3));
    rig.dc.SelectObject(&pen);
    CBrush brush;
    brush.CreateSolidBrush(RGB(10, 11, 12));
    rig.dc.SelectObject(&brush);
    std::size_t nBefore = rig.Trace().size();
    rig.renderer.DrawSymbol(x, y, nKind);
    return rig.Trace().substr(nBefore);
}

TEST(Symbol, ShapesOfEachKind) {
    // At 1:1 one millimetre, the marker unit, is 4 device units.
    const std::string rows[] = {
        "",
        "pen 0 1 #0000ff\nbrush #0000ff\nmoveto 96 96\nlineto 104 104\nmoveto 96 104\nlineto 104 96\n",
        "pen 0 1 #ff0000\nbrush #ff0000\nellipse 96 96 104 104\n",
        "pen 0 1 #ff0000\nellipse 96 96 104 104\n",
        "pen 0 1 #000000\nbrush #000000\nellipse 96 96 104 104\n",
        "pen 0 1 #000000\nellipse 96 96 104 104\n",
        "pen 0 1 #ff0000\nellipse 92 92 108 108\n"
        "moveto 96 96\nlineto 96 104\nmoveto 96 100\nlineto 104 100\nmoveto 104 96\nlineto 104 104\n",
        "pen 0 1 #0000ff\nbrush #0000ff\nmoveto 96 96\nlineto 104 104\nmoveto 96 104\nlineto 104 96\n"
        "polygon 108 100 106 96 110 96\nmoveto 108 100\nlineto 108 88\n",
        "pen 0 1 #ff0000\nbrush #ff0000\nellipse 96 96 104 104\n"
        "polygon 108 100 106 104 110 104\nmoveto 108 100\nlineto 108 112\n",
    };
    for (int nKind = 1; nKind <= 8; ++nKind) {
        SCOPED_TRACE(nKind);
        PainterRig rig;
        std::string strExpected = rows[nKind];
        // Own brushes go back before own pens.
        if (strExpected.find("brush") != std::string::npos) strExpected += kHostBrush;
        strExpected += kHostPen;
        EXPECT_EQ(MarkerTrace(rig, 100, 100, nKind), strExpected);
        EXPECT_TRUE(rig.dc.GetPen().SameAs([] {
            CPen pen;
            pen.CreatePen(PS_DOT, 1, RGB(1, 2, 3));
            return pen;
        }()));
        EXPECT_EQ(rig.dc.GetBrush().m_crColor, RGB(10, 11, 12));
    }
}

TEST(Symbol, KindsOutsideOneToEightDrawNothing) {
    for (int nKind : {0, 9, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(nKind);
        PainterRig rig;
        rig.dc.MoveTo(7, 7);
        EXPECT_EQ(MarkerTrace(rig, 100, 100, nKind), "");
        EXPECT_EQ(rig.dc.GetCurrentPosition().x, 7);
        EXPECT_EQ(rig.dc.GetCurrentPosition().y, 7);
    }
}

TEST(Symbol, ColoursAndWidthsOnScreenAndInPrint) {
    struct Row {
        int nKind;
        const char* pszColour;
        bool bBrush;
    };
    const Row rows[] = {{1, "#0000ff", true},  {2, "#ff0000", true},  {3, "#ff0000", false}, {4, "#000000", true},
                        {5, "#000000", false}, {6, "#ff0000", false}, {7, "#0000ff", true},  {8, "#ff0000", true}};
    struct Mode {
        const char* pszName;
        BOOL bPrinting;
        BOOL bPrintColor;
    };
    const Mode modes[] = {
        {"screen", 0, 1}, {"screen, print colour off", 0, 0}, {"print", 1, 1}, {"print, print colour off", 1, 0}};
    for (const Mode& mode : modes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(mode.pszName) + ", kind " + std::to_string(row.nKind));
            // At 192/96 the print pen width is 2.
            PainterRig rig(CP_UTF8, mode.bPrinting, 192, 96);
            if (!mode.bPrintColor) rig.Paint(&CChartRenderer::ApplySize, test::Attributes({{"print-color", "false"}}));
            std::string strColour = (mode.bPrinting && !mode.bPrintColor) ? "#000000" : row.pszColour;
            // Black markers always take the print width.
            bool bBlackKind = row.nKind == 4 || row.nKind == 5;
            std::string strWidth = (mode.bPrinting || bBlackKind) ? "2" : "1";
            std::string strExpected = "pen 0 " + strWidth + " " + strColour + "\n";
            if (row.bBrush) strExpected += "brush " + strColour + "\n";
            std::string strTrace = MarkerTrace(rig, 100, 100, row.nKind);
            EXPECT_EQ(strTrace.substr(0, strExpected.size()), strExpected);
            EXPECT_EQ(test::GrepTrace(strTrace, "brush"), row.bBrush ? "brush " + strColour + "\n" + kHostBrush : "");
        }
    }
}

TEST(Symbol, MarkerUnitFollowsTheHorizontalScale) {
    struct Row {
        const char* pszName;
        int nNum;
        int x;
        int nKind;
        std::string strExpected;
    };
    const Row rows[] = {
        {"192/96: unit 8", 192, 100, 7,
         std::string("pen 0 1 #0000ff\nbrush #0000ff\n"
                     "moveto 92 92\nlineto 108 108\nmoveto 92 108\nlineto 108 92\n"
                     "polygon 116 100 110 92 122 92\nmoveto 116 100\nlineto 116 76\n") +
             kHostBrush + kHostPen},
        // A unit of 2 leaves the arrowhead no base; it is drawn all the same.
        {"48/96: unit 2", 48, 100, 8,
         std::string("pen 0 1 #ff0000\nbrush #ff0000\nellipse 98 98 102 102\n"
                     "polygon 104 100 104 102 104 102\nmoveto 104 100\nlineto 104 106\n") +
             kHostBrush + kHostPen},
        {"wraps at the int range", 96, INT_MAX, 3,
         std::string("pen 0 1 #ff0000\nellipse 2147483643 96 -2147483645 104\n") + kHostPen},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        PainterRig rig(CP_UTF8, 0, row.nNum, 96);
        EXPECT_EQ(MarkerTrace(rig, row.x, 100, row.nKind), row.strExpected);
    }
}

TEST(Symbol, PrintColourClearedEarlierInTheTemplate) {
    const char* pszCurve =
        "<vitallineout name=\"T\" x=\"10\" y=\"50\" cx=\"5\" cy=\"2\" scale=\"0.2\" base-value=\"35\" symbol=\"8\"/>\n";
    const char* pszNoColour = "<vitalsize print-color=\"false\"/>\n";
    struct Row {
        const char* pszName;
        std::string strTemplate;
        BOOL bPrinting;
        const char* pszMarker;
    };
    const Row rows[] = {
        {"print", pszCurve, 1, "pen 0 2 #ff0000\nbrush #ff0000\n"},
        {"print after print-color false", std::string(pszNoColour) + pszCurve, 1, "pen 0 2 #000000\nbrush #000000\n"},
        {"print before print-color false", std::string(pszCurve) + pszNoColour, 1, "pen 0 2 #ff0000\nbrush #ff0000\n"},
        {"screen after print-color false", std::string(pszNoColour) + pszCurve, 0, "pen 0 1 #ff0000\nbrush #ff0000\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        test::TraceRun run;
        run.strTemplate = row.strTemplate;
        run.strData = "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"0\"/>\n";
        run.bPrinting = row.bPrinting;
        run.nNumX = 192;
        std::string strTrace = test::RenderTrace(run);
        EXPECT_NE(strTrace.find(row.pszMarker), std::string::npos) << strTrace;
    }
}

}  // namespace
}  // namespace vitalchart
