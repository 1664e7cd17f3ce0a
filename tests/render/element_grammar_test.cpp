// The element grammar against the painters: every attribute a rule lists for
// drawing is read, and changes what is drawn (or the declared size); one it
// lists for the checker alone is never read and changes nothing; no painter
// reads an attribute its rule lacks; and attributes a rule does not list
// change nothing.

#include "render/element_grammar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "render/chart_renderer.h"
#include "render/chart_template.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

const std::string kLine = R"(<vitalline left="+1" top="+1" right="+9" bottom="+9"/>)";
const std::string kBox = R"(left="+1" top="+1" right="20" bottom="5")";

// One element (or data tag) with every attribute its rule lists, and the
// template lines or readings around it under which each attribute shows.
struct ElementSample {
    int nCode;
    std::string strBefore;  // template lines before the element
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string strAfter;  // template lines after it
    std::string strData;   // the readings (for d and print: the template)
    BOOL bPrinting = 0;
    // While one attribute (first) is tested, another one takes a value under which the first one shows.
    std::vector<std::pair<std::string, std::pair<std::string, std::string>>> setting = {};
};

std::string Tag(const ElementSample& s, const std::string& strSkip, const std::string& strExtra) {
    std::string out = "<" + std::string(FindElementRule(s.nCode)->pszName);
    for (const auto& a : s.attributes) {
        if (a.first != strSkip) out += " " + a.first + "=\"" + a.second + "\"";
    }
    return out + strExtra + "/>";
}

// What a renderer drew for the sample and the size it declared, and which
// attributes its painters read.
struct Drawing {
    std::string strDrawn;
    CGrammarUse use;
};

// The sample drawn by a renderer on a recording surface, without one
// attribute or with one more, then asked for the template's size.
Drawing Draw(const ElementSample& s, const std::string& strSkip = "", const std::string& strExtra = "") {
    const bool bData = s.nCode == kDataReading || s.nCode == kDataPrint;
    const std::string strTag = Tag(s, strSkip, strExtra);
    const std::string strTemplate = bData ? s.strData : s.strBefore + strTag + "\n" + s.strAfter;
    const std::string strData = bData ? s.strBefore + strTag + "\n" : s.strData;
    CRecordingDC dc(CP_UTF8, s.bPrinting);
    CChartRenderer renderer(&dc, CChartGeometry({0, 0, 600, 800}, {96, 96}, {96, 96}), "sample.xml");
    CChartTemplate chartTemplate;
    EXPECT_TRUE(chartTemplate.SetText(strTemplate, "sample.xml"));
    renderer.ReadVitalRecords(strData.data(), static_cast<std::int32_t>(strData.size()));
    renderer.DrawChart(chartTemplate, 0);
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    renderer.GetSizeByTemplet(&fWidth, &fHeight, chartTemplate);
    return {dc.GetTrace() + "size " + std::to_string(fWidth) + " " + std::to_string(fHeight), renderer.GetGrammarUse()};
}

std::vector<ElementSample> ElementSamples() {
    const std::string strPen = "<vitalpen id=\"p\" pen-width=\"3\"/>\n";
    const std::string strFont = "<vitalfont id=\"f\" font-name=\"Serif\" font-size=\"12\"/>\n";
    const std::string strReadings =
        "<d vitalsigns=\"T\" vitalsignsvalues=\"36\" cellindex=\"0\"/>\n"
        "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"1\" specialSymbolFlag=\"1\"/>\n"
        "<d vitalsigns=\"T\" vitalsignsvalues=\"38\" cellindex=\"2\" specialSymbolFlag=\"2\"/>\n"
        "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"3\" "
        "vitalsignsoriginalvalues=\"39\"/>\n"
        "<d vitalsigns=\"T\" vitalsignsvalues=\"ab\" cellindex=\"1\"/>\n";
    const std::string strCurves =
        "<vitallineout name=\"T\" x=\"+1\" y=\"+50\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" symbol=\"2\" "
        "special-symbol=\"4\" min-value=\"37\" below-word=\"low\" below-pin=\"true\"/>\n"
        "<vitallineblock name=\"T\" x=\"+1\" y=\"+50\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" "
        "symbol=\"3\"/>\n"
        "<vitalreason names=\"T\" x=\"+1\" y=\"+5\" cx=\"3\" cy=\"10\"/>\n";
    // Heart rate above pulse in columns 1 and 2, temperature met by pulse in column 0.
    const std::string strMeeting =
        "<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"0\"/>\n"
        "<d vitalsigns=\"P\" vitalsignsvalues=\"37\" cellindex=\"0\"/>\n"
        "<d vitalsigns=\"P\" vitalsignsvalues=\"36\" cellindex=\"1\"/>\n"
        "<d vitalsigns=\"H\" vitalsignsvalues=\"38\" cellindex=\"1\"/>\n"
        "<d vitalsigns=\"P\" vitalsignsvalues=\"37\" cellindex=\"2\"/>\n"
        "<d vitalsigns=\"H\" vitalsignsvalues=\"39\" cellindex=\"2\"/>\n"
        "<d vitalsigns=\"T\" vitalsignsvalues=\"\" reason=\"out\" cellindex=\"3\"/>\n";
    auto curve = [](const char* pszName, const char* pszSymbol) {
        return std::string("<vitallineout name=\"") + pszName +
               "\" x=\"+1\" y=\"+50\" cx=\"10\" cy=\"10\" scale=\"1\" base-value=\"35\" symbol=\"" + pszSymbol +
               "\"/>\n";
    };
    const std::string strMeetingCurves = strPen + curve("T", "1") + curve("P", "2") + curve("H", "3");
    return {
        {kElementSize,
         "",
         {{"width", "100"}, {"height", "50"}, {"print-color", "false"}},
         "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>\n" + kLine.substr(0, kLine.size() - 2) +
             " pen-id=\"p\"/>\n",
         "",
         1},
        {kElementPen,
         "",
         {{"id", "p"}, {"pen-width", "3"}, {"color", "255,0,0"}, {"pen-style", "1"}},
         kLine.substr(0, kLine.size() - 2) + " pen-id=\"p\"/>\n",
         ""},
        {kElementFont,
         "",
         {{"id", "f"},
          {"font-name", "Serif"},
          {"font-size", "12"},
          {"font-bold", "true"},
          {"font-underline", "true"},
          {"font-inital", "true"},
          {"text-color", "255,0,0"}},
         "<vitaltext text=\"x\" " + kBox + " font-id=\"f\"/>\n",
         ""},
        {kElementLine,
         strPen,
         {{"left", "+1"},
          {"top", "+2"},
          {"right", "5"},
          {"bottom", "3"},
          {"pen-id", "p"},
          {"times", "3"},
          {"multiple", "2"},
          {"direction", "y"}},
         "",
         ""},
        {kElementText,
         strFont,
         {{"text", "5"},
          {"left", "+1"},
          {"top", "+2"},
          {"right", "10"},
          {"bottom", "6"},
          {"multiple", "2"},
          {"spans", "4"},
          {"times", "3"},
          {"direction", "y"},
          {"step", "1"},
          {"align", "right"},
          {"font-id", "f"}},
         "",
         ""},
        {kElementLineOut,
         strPen + strFont,
         {{"name", "T"},
          {"x", "+1"},
          {"y", "+50"},
          {"cx", "3"},
          {"cy", "10"},
          {"scale", "1"},
          {"base-value", "35"},
          {"symbol", "2"},
          {"special-symbol", "1"},
          {"special-symbol2", "5"},
          {"pen-id", "p"},
          {"symbol-color", "0,0,255"},
          {"special-symbol-color", "0,255,0"},
          {"special-symbol2-color", "0,255,255"},
          {"symbol-shape", "triangle"},
          {"special-symbol-shape", "circle-dot"},
          {"special-symbol2-shape", "filled-triangle"},
          {"min-value", "36.5"},
          {"max-value", "37.5"},
          {"below-word", "low"},
          {"above-word", "high"},
          {"below-pin", "true"},
          {"above-pin", "true"},
          {"offscale-font-id", "f"},
          {"columns", "4"}},
         "",
         strReadings,
         0,
         // A marker with its own shape and colour takes nothing from its kind.
         {{"special-symbol", {"special-symbol-shape", "kind"}},
          {"special-symbol2", {"special-symbol2-shape", "kind"}}}},
        {kElementLineBlock,
         strPen,
         {{"name", "T"},
          {"x", "+1"},
          {"y", "+50"},
          {"cx", "3"},
          {"cy", "10"},
          {"scale", "1"},
          {"base-value", "35"},
          {"symbol", "3"},
          {"pen-id", "p"},
          {"symbol-color", "0,0,255"},
          {"symbol-shape", "dot"},
          {"columns", "4"}},
         "",
         strReadings},
        {kElementTextOut,
         strFont,
         {{"name", "T"},
          {"x", "+1"},
          {"y", "+2"},
          {"cx", "10"},
          {"cy", "6"},
          {"spans", "3"},
          {"align", "vertical"},
          {"font-id", "f"},
          {"stagger", "true"},
          {"columns", "4"}},
         "",
         strReadings,
         0,
         // Vertical text starts at the cell's top-left: the cell's height shows in placed text only.
         {{"cy", {"align", "center"}}}},
        {kElementRing,
         strMeetingCurves,
         {{"name", "T"}, {"over", "P|H"}, {"ring-color", "0,255,0"}, {"ring-radius", "3"}},
         "",
         strMeeting},
        {kElementHatch,
         strMeetingCurves,
         {{"upper", "H"}, {"lower", "P"}, {"pen-id", "p"}, {"spacing", "2"}, {"direction", "falling"}},
         "",
         strMeeting},
        {kElementReason,
         strFont,
         {{"names", "T"}, {"x", "+1"}, {"y", "+2"}, {"cx", "10"}, {"cy", "6"}, {"spans", "3"}, {"font-id", "f"}},
         "",
         strMeeting},
        {kDataReading,
         "",
         {{"vitalsigns", "T"},
          {"vitalsignsvalues", "37"},
          {"vitalsignsoriginalvalues", "39"},
          {"cellindex", "2"},
          {"originalCellIndex", "1"},
          {"specialSymbolFlag", "1"},
          {"reason", "out"},
          {"comparator", "<"}},
         "",
         strCurves},
        {kDataPrint, "", {{"resume", "true"}}, "", kLine + "\n" + strCurves, 1},
    };
}

// Every rule of the grammar, template elements and data tags, but the root
// element, which runs no operation and reads no attribute.
std::vector<const ElementRule*> ActedOnRules() {
    std::vector<const ElementRule*> rules;
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
        if (p->pfnAction != nullptr) rules.push_back(p);
    }
    for (const ElementRule* p = DataTagsBegin(); p != DataTagsEnd(); ++p) rules.push_back(p);
    return rules;
}

const ElementSample* SampleOf(const std::vector<ElementSample>& samples, int nCode) {
    for (const ElementSample& s : samples) {
        if (s.nCode == nCode) return &s;
    }
    return nullptr;
}

TEST(ElementGrammarTest, EveryListedAttributeIsReadAndChangesWhatIsDrawn) {
    const std::vector<ElementSample> samples = ElementSamples();
    for (const ElementRule* pRule : ActedOnRules()) {
        SCOPED_TRACE(pRule->pszName);
        const ElementSample* pSample = SampleOf(samples, pRule->nCode);
        ASSERT_NE(pSample, nullptr) << "every element and data tag has a sample";
        std::vector<std::string> listed;
        for (const AttributeRule& attr : *pRule) listed.push_back(attr.pszName);
        std::vector<std::string> sampled;
        for (const auto& a : pSample->attributes) sampled.push_back(a.first);
        EXPECT_EQ(sampled, listed) << "the sample must give every listed attribute, in the order it is read";

        const Drawing full = Draw(*pSample);
        EXPECT_EQ(full.use.GetUnknown(), "") << "a painter reads an attribute that the grammar lacks";
        for (std::size_t i = 0; i < pRule->nAttributes; ++i) {
            // An attribute for the checker alone is never read, and is the only kind that changes nothing.
            const bool bDrawing = pRule->pAttributes[i].use == AttributeUse::kDrawing;
            EXPECT_EQ(full.use.WasRead(ElementRuleIndex(pRule->nCode), static_cast<int>(i)), bDrawing)
                << "'" << pRule->pAttributes[i].pszName << "' is read by a painter: " << bDrawing;
            if (!bDrawing) {
                EXPECT_EQ(Draw(*pSample, listed[i]).strDrawn, full.strDrawn) << listed[i];
            }
        }
        for (const std::string& strName : listed) {
            if (pRule->Find(strName)->use == AttributeUse::kChecking) continue;
            SCOPED_TRACE("without " + strName);
            ElementSample tested = *pSample;
            for (const auto& setting : pSample->setting) {
                if (setting.first != strName) continue;
                for (auto& a : tested.attributes) {
                    if (a.first == setting.second.first) a.second = setting.second.second;
                }
            }
            EXPECT_NE(Draw(tested, strName).strDrawn, Draw(tested).strDrawn);
        }
    }
}

TEST(ElementGrammarTest, AttributesNotListedChangeNothing) {
    const std::vector<ElementSample> samples = ElementSamples();
    std::vector<std::pair<std::string, std::string>> everyName;
    for (const ElementSample& s : samples) {
        for (const auto& a : s.attributes) {
            auto same = [&](const auto& e) { return e.first == a.first; };
            if (std::none_of(everyName.begin(), everyName.end(), same)) everyName.push_back(a);
        }
    }
    for (const ElementSample& s : samples) {
        SCOPED_TRACE(Tag(s, "", ""));
        const std::string strFull = Draw(s).strDrawn;
        for (const auto& extra : everyName) {
            auto same = [&](const auto& a) { return a.first == extra.first; };
            if (std::any_of(s.attributes.begin(), s.attributes.end(), same)) continue;
            SCOPED_TRACE("with " + extra.first);
            const Drawing drawn = Draw(s, "", " " + extra.first + "=\"" + extra.second + "\"");
            EXPECT_EQ(drawn.strDrawn, strFull);
            EXPECT_EQ(drawn.use.GetUnknown(), "");
        }
    }
}

}  // namespace
}  // namespace vitalchart
