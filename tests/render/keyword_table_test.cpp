#include "render/keyword_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vitalchart {
namespace {

struct KeywordRow {
    std::string strName;
    int nCode;
};

class KeywordTableRowTest : public ::testing::TestWithParam<KeywordRow> {};

TEST_P(KeywordTableRowTest, FindKeyword) {
    const CKeywordTable table;
    EXPECT_EQ(table.FindKeyword(GetParam().strName), GetParam().nCode) << "name: " << GetParam().strName;
}

INSTANTIATE_TEST_SUITE_P(
    Names, KeywordTableRowTest,
    ::testing::Values(KeywordRow{"vitalsign", 100}, KeywordRow{"vitalpen", 101}, KeywordRow{"vitalfont", 102},
                      KeywordRow{"vitalline", 103}, KeywordRow{"vitaltext", 104}, KeywordRow{"vitallineout", 105},
                      KeywordRow{"vitalsize", 107}, KeywordRow{"vitaltextout", 106}, KeywordRow{"vitallineblock", 108},
                      // Not in the table: exact bytes, case and length count.
                      KeywordRow{"VitalPen", -1}, KeywordRow{"VITALSIZE", -1}, KeywordRow{"vitalpen ", -1},
                      KeywordRow{" vitalpen", -1}, KeywordRow{"", -1}, KeywordRow{"vital", -1},
                      KeywordRow{"vitalsigns", -1}, KeywordRow{"vitalsize/", -1}, KeywordRow{"<vitalsize", -1},
                      KeywordRow{"d", -1}, KeywordRow{"print", -1}, KeywordRow{std::string("vitalpen\0", 9), -1},
                      KeywordRow{std::string("vital\0pen", 9), -1}));

TEST(KeywordTableTest, TheGrammarListsTheElementsInSearchOrder) {
    std::vector<std::string> names;
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) names.push_back(p->pszName);
    EXPECT_EQ(names, (std::vector<std::string>{"vitalsign", "vitalpen", "vitalfont", "vitalline", "vitaltext",
                                               "vitallineout", "vitalsize", "vitaltextout", "vitallineblock",
                                               "vitalring", "vitalhatch", "vitalreason"}));
}

}  // namespace
}  // namespace vitalchart
