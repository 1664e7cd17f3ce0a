// The layout view: what each element of a template drew, against the trace
// of the same chart.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "render/chart_template.h"
#include "support/trace_parser.h"
#include "tools/chart_placement.h"
#include "tools/command_fixture.h"
#include "tools/layout/page_layout.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace test {
namespace {

using json = nlohmann::json;

const std::string kExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
const std::string kWeek = std::string(VITALCHART_EXAMPLES) + "/week.data";

// A quoted trace text as its bytes.
std::string Unquoted(const std::string& strQuoted) {
    std::string str;
    for (std::size_t i = 1; i + 1 < strQuoted.size(); ++i) {
        if (strQuoted[i] != '\\') {
            str += strQuoted[i];
        } else if (strQuoted[i + 1] == 'x') {
            str += static_cast<char>(std::stoi(strQuoted.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            str += strQuoted[++i];
        }
    }
    return str;
}

// Lines, figures and texts as a trace records them, or as the layout lists them.
struct Drawing {
    std::vector<std::vector<long>> lines, ellipses, polygons, hatches;
    std::vector<std::string> texts;
};

Drawing FromTrace(const std::string& strTrace) {
    Drawing d;
    long x = 0;
    long y = 0;
    for (const TraceOp& op : ParseTrace(strTrace)) {
        if (op.strOp == "moveto") {
            x = op.arrNums[0];
            y = op.arrNums[1];
        } else if (op.strOp == "lineto") {
            d.lines.push_back({x, y, op.arrNums[0], op.arrNums[1]});
            x = op.arrNums[0];
            y = op.arrNums[1];
        } else if (op.strOp == "ellipse") {
            d.ellipses.push_back(op.arrNums);
        } else if (op.strOp == "polygon") {
            d.polygons.push_back(op.arrNums);
        } else if (op.strOp == "hatch") {
            // "hatch SPACING rising|falling POINTS": the word reads as a 0.
            d.hatches.push_back(std::vector<long>(op.arrNums.begin() + 2, op.arrNums.end()));
        } else if (op.strOp == "drawtext" || op.strOp == "textout") {
            d.texts.push_back(Unquoted(op.strText));
        }
    }
    return d;
}

void Append(std::vector<std::vector<long>>& rTo, const json& list) {
    for (const json& item : list) rTo.push_back(item.get<std::vector<long>>());
}

// Every device coordinate pair of a list, into the box [l, t, r, b].
void Widen(std::vector<long>& rBox, const std::vector<long>& coords) {
    for (std::size_t i = 0; i + 1 < coords.size(); i += 2) {
        if (rBox.empty()) rBox = {coords[i], coords[i + 1], coords[i], coords[i + 1]};
        rBox = {std::min(rBox[0], coords[i]), std::min(rBox[1], coords[i + 1]), std::max(rBox[2], coords[i]),
                std::max(rBox[3], coords[i + 1])};
    }
}

TEST(LayoutTest, TheAttributingSurfaceLeavesTheTraceByteForByte) {
    std::string strTemplate;
    std::string strData;
    ASSERT_TRUE(ReadFileBytes(kExample, strTemplate));
    ASSERT_TRUE(ReadFileBytes(kWeek, strData));
    CChartTemplate chartTemplate;
    ASSERT_TRUE(chartTemplate.SetText(strTemplate, kExample));
    struct Row {
        const char* pszGolden;
        int nDpi;
        BOOL bPrinting;
    } rows[] = {{"nursing-example-screen-96", 96, 0}, {"nursing-example-print-600", 600, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszGolden);
        CRecordingDC surface(CP_UTF8, r.bPrinting);
        cli::PageLayout page;
        ASSERT_TRUE(cli::LayOutPage(surface, cli::PlaceChart(cli::CommandLine(), r.nDpi, chartTemplate), chartTemplate,
                                    strData, 0, page));
        EXPECT_EQ(surface.GetTrace(), ReadFileText(std::string(VITALCHART_GOLDEN) + "/" + r.pszGolden + ".trace"));
        EXPECT_FALSE(page.outside.DrewAnything());
    }
}

using LayoutCommandTest = CommandTest;

TEST_F(LayoutCommandTest, JsonGivesEveryElementsLineAndBoxAndWhatTheTraceDrew) {
    const CommandResult layout = Run("layout '" + kExample + "' --data '" + kWeek + "' --format json");
    ASSERT_EQ(layout.nExit, 0) << layout.strErr;
    const CommandResult render = Run("render '" + kExample + "' --data '" + kWeek + "' --format trace");
    ASSERT_EQ(render.nExit, 0) << render.strErr;
    const json doc = json::parse(layout.strOut);
    ASSERT_EQ(doc["pages"].size(), 1u);
    const json& elements = doc["pages"][0]["elements"];

    // One entry per element line of the template, in order.
    std::vector<int> expectedLines;
    const std::vector<std::string> templateLines = SplitLines(ReadFileText(kExample));
    for (std::size_t i = 0; i < templateLines.size(); ++i) {
        if (templateLines[i].rfind("<vital", 0) == 0 && templateLines[i].rfind("<vitalsign", 0) != 0) {
            expectedLines.push_back(static_cast<int>(i + 1));
        }
    }
    std::vector<int> lines;
    Drawing listed;
    for (const json& element : elements) {
        lines.push_back(element["line"].get<int>());
        if (element["box"].is_null()) continue;
        Append(listed.lines, element["lines"]);
        Append(listed.ellipses, element["ellipses"]);
        Append(listed.polygons, element["polygons"]);
        Append(listed.hatches, element["hatches"]);
        // The box is the one around everything the element drew, and the
        // millimetres are its distance from the chart's corner.
        std::vector<long> box;
        for (const char* pszList : {"lines", "ellipses", "polygons", "hatches", "fills"}) {
            for (const json& item : element[pszList]) Widen(box, item.get<std::vector<long>>());
        }
        for (const json& text : element["texts"]) {
            listed.texts.push_back(text["text"].get<std::string>());
            Widen(box, text["box"].get<std::vector<long>>());
        }
        EXPECT_EQ(element["box"].get<std::vector<long>>(), box) << element["line"];
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(element["mm"][i].get<double>(), box[i] * 25.4 / 96.0, 0.051) << element["line"];
        }
    }
    EXPECT_EQ(lines, expectedLines);

    // Concatenated in walk order, the elements' drawing is the trace's.
    const Drawing traced = FromTrace(render.strOut);
    EXPECT_EQ(listed.lines, traced.lines);
    EXPECT_EQ(listed.ellipses, traced.ellipses);
    EXPECT_EQ(listed.polygons, traced.polygons);
    EXPECT_EQ(listed.hatches, traced.hatches);
    EXPECT_EQ(listed.texts, traced.texts);
}

TEST_F(LayoutCommandTest, EachFormatNamesLinesPensFontsAndTextsInUtf8) {
    // GBK: 体温 is \xcc\xe5\xce\xc2. The caption is on line 4, column 1; the
    // line on line 5 is part of the form left out of a printed continuation page.
    const std::string strTemplate = Write("t.xml",
                                          "<vitalsize width=\"50\" height=\"40\"/>\n"
                                          "<vitalpen id=\"grid\" pen-width=\"2\" color=\"255,0,0\"/>\n"
                                          "<vitalfont id=\"big\" font-name=\"Arial\" font-size=\"20\"/>\n"
                                          "<vitaltext text=\"\xcc\xe5\xce\xc2\" left=\"+2\" top=\"+2\" right=\"20\" "
                                          "bottom=\"8\" font-id=\"big\"/>\n"
                                          "<vitalline left=\"+1\" top=\"+30\" right=\"+40\" bottom=\"+30\" "
                                          "pen-id=\"grid\"/>\n");
    const std::string strResume = Write("r.data", "<print resume=\"true\"/>\n");
    struct Row {
        std::string args;
        std::vector<std::string> expected;
    } rows[] = {
        {"--format text",
         {"2:1 vitalpen: declares grid\n", "4:1 vitaltext 8,8 48,37 ",
          "font big \"Arial\" 20 #000000: 1 text \"体温\"\n",
          "5:1 vitalline 4,113 151,113 (1.1,29.9 40.0,29.9 mm) pen grid solid 2 #ff0000: 1 line\n"}},
        {"--format json --dpi 192",
         {"\"scale\":{\"x\":[192,96],\"y\":[192,96]}", "{\"line\":4,\"column\":1,\"element\":\"vitaltext\"",
          "\"text\":\"体温\"", "\"lines\":[[8,226,302,226]]", "\"id\":\"grid\",\"style\":\"solid\",\"width\":4"}},
        {"--data '" + strResume + "' --print",
         {"4:1 vitaltext: left out on a continuation page in print\n",
          "5:1 vitalline: left out on a continuation page in print\n"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.args);
        const CommandResult result = Run("layout '" + strTemplate + "' --encoding gbk " + r.args);
        ASSERT_EQ(result.nExit, 0) << result.strErr;
        for (const std::string& strExpected : r.expected)
            EXPECT_NE(result.strOut.find(strExpected), std::string::npos) << strExpected << "\n" << result.strOut;
    }

    // The SVG drawing carries the chart, then one labelled frame per element that drew.
    const CommandResult svg = Run("layout '" + strTemplate + "' --format svg -o chart.svg");
    ASSERT_EQ(svg.nExit, 0) << svg.strErr;
    const std::string strSvg = ReadFileText(m_strDir + "/chart.svg");
    const std::size_t nOverlay = strSvg.find("<g id=\"layout\" transform=\"scale(0.75)\"");
    ASSERT_NE(nOverlay, std::string::npos);
    EXPECT_NE(strSvg.find("<title>line 4:1 vitaltext: 1 text &quot;体温&quot;</title>", nOverlay), std::string::npos);
    EXPECT_NE(strSvg.find("<title>line 5:1 vitalline: 1 line</title>", nOverlay), std::string::npos);
    EXPECT_EQ(strSvg.rfind("</svg>"), strSvg.size() - 7);
    EXPECT_EQ(Run("layout '" + strTemplate + "' --format svg").nExit, 2);
}

TEST_F(LayoutCommandTest, AFrameAtTheEndOfTheDeviceRangeDoesNotWrapAround) {
    // The line is at x = -2^31; its frame starts a stroke further left.
    Write("t.xml", "<vitalline left=\"+0\" top=\"+1\" right=\"+0\" bottom=\"+2\"/>\n");
    const CommandResult svg = Run("layout t.xml --format svg --rect=-2147483648,0,100,100 -o t.svg");
    ASSERT_EQ(svg.nExit, 0) << svg.strErr;
    EXPECT_NE(ReadFileText(m_strDir + "/t.svg").find("<rect x=\"-2147483649\" y=\"3\" width=\"2\" height=\"6\""),
              std::string::npos);
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
