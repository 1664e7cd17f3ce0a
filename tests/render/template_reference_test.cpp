// The template reference's attribute tables are the element grammar's rows:
// each table in docs/template-reference.md between the markers
//   <!-- attributes of NAME -->  ...  <!-- end of attributes -->
// is what this test makes of the grammar. After changing the grammar,
// rewrite the tables with
//   VITALCHART_REFRESH_GOLDEN=1 build/gcc/tests/vitalchart_tests --gtest_filter='TemplateReference*'

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "render/element_grammar.h"
#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

std::string KindReading(const AttributeRule& rule) {
    switch (rule.kind) {
        case AttributeKind::kPosition:
            return rule.axis == Axis::kY ? "y position" : "x position";
        case AttributeKind::kLength:
            return rule.axis == Axis::kY ? "vertical length" : "horizontal length";
        case AttributeKind::kInteger:
            return "integer";
        case AttributeKind::kDecimal:
            return "decimal";
        case AttributeKind::kColor:
            return "colour";
        case AttributeKind::kText:
            return "text";
        case AttributeKind::kSymbol:
            return "marker kind";
        case AttributeKind::kPenId:
            return "pen id";
        case AttributeKind::kFontId:
            return "font id";
        case AttributeKind::kWord: {
            const std::string strWords = rule.pszWords != nullptr ? rule.pszWords : "";
            return strWords.find('|') == std::string::npos ? "word `" + strWords + "`" : "word";
        }
    }
    return std::string();
}

std::string Reading(const AttributeRule& rule) {
    const std::string strKind = KindReading(rule);
    return rule.use == AttributeUse::kChecking ? strKind + ", for `vitalchart check` only" : strKind;
}

std::string Required(const AttributeRule& rule) {
    switch (rule.need) {
        case AttributeNeed::kDeclares:
        case AttributeNeed::kDraws:
            return "yes";
        case AttributeNeed::kCoordinate:
            return "give it";
        case AttributeNeed::kOptional:
            return "no";
    }
    return std::string();
}

std::string Table(const ElementRule& element) {
    std::string out = "| Attribute | Reading | Required | When absent | Meaning |\n|---|---|---|---|---|\n";
    for (const AttributeRule& rule : element) {
        out += std::string("| `") + rule.pszName + "` | " + Reading(rule) + " | " + Required(rule) + " | " +
               rule.pszAbsent + " | " + rule.pszMeaning + " |\n";
    }
    return out;
}

TEST(TemplateReference, AttributeTablesAreTheGrammar) {
    const std::string strPath = std::string(VITALCHART_DOCS) + "/template-reference.md";
    std::string strDoc = test::ReadFileText(strPath);
    ASSERT_FALSE(strDoc.empty()) << strPath;
    std::string strExpected = strDoc;
    auto update = [&](const ElementRule& element) {
        const std::string strOpen = std::string("<!-- attributes of ") + element.pszName + " -->\n";
        const std::string strClose = "<!-- end of attributes -->";
        const std::size_t nOpen = strExpected.find(strOpen);
        if (element.nAttributes == 0) {
            EXPECT_EQ(nOpen, std::string::npos) << element.pszName << " reads no attributes";
            return;
        }
        ASSERT_NE(nOpen, std::string::npos) << "no attribute table for " << element.pszName;
        const std::size_t nStart = nOpen + strOpen.size();
        const std::size_t nEnd = strExpected.find(strClose, nStart);
        ASSERT_NE(nEnd, std::string::npos) << "the table of " << element.pszName << " has no end marker";
        strExpected.replace(nStart, nEnd - nStart, Table(element));
    };
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) update(*p);
    for (const ElementRule* p = DataTagsBegin(); p != DataTagsEnd(); ++p) update(*p);

    const char* pszRefresh = std::getenv("VITALCHART_REFRESH_GOLDEN");
    if (pszRefresh != nullptr && *pszRefresh == '1') {
        std::ofstream(strPath, std::ios::binary) << strExpected;
        return;
    }
    EXPECT_TRUE(strDoc == strExpected) << "the attribute tables of " << strPath
                                       << " differ from the element grammar; refresh them (see this test's file)";
}

}  // namespace
}  // namespace vitalchart
