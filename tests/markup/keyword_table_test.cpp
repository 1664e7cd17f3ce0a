#include "markup/keyword_table.h"

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
    PartRows, KeywordTableRowTest,
    ::testing::Values(KeywordRow{"vitalsign", 100}, KeywordRow{"vitalpen", 101}, KeywordRow{"vitalfont", 102},
                      KeywordRow{"vitalline", 103}, KeywordRow{"vitaltext", 104}, KeywordRow{"vitallineout", 105},
                      KeywordRow{"vitalsize", 107}, KeywordRow{"vitaltextout", 106},
                      KeywordRow{"vitallineblock", 108},
                      // Not in the table: exact bytes, case and length count.
                      KeywordRow{"VitalPen", -1}, KeywordRow{"VITALSIZE", -1}, KeywordRow{"vitalpen ", -1},
                      KeywordRow{" vitalpen", -1}, KeywordRow{"", -1}, KeywordRow{"vital", -1},
                      KeywordRow{"vitalsigns", -1}, KeywordRow{"vitalsize/", -1}, KeywordRow{"<vitalsize", -1},
                      KeywordRow{"d", -1}, KeywordRow{"print", -1},
                      KeywordRow{std::string("vitalpen\0", 9), -1}, KeywordRow{std::string("vital\0pen", 9), -1}));

TEST(KeywordTableTest, CodesMatchTheEnum) {
    const CKeywordTable table;
    EXPECT_EQ(table.FindKeyword("vitalsize"), kElementSize);
    EXPECT_EQ(table.FindKeyword("vitaltextout"), kElementTextOut);
    EXPECT_EQ(table.FindKeyword("nothing"), kElementUnknown);
}

TEST(KeywordTableTest, NamesInTableOrder) {
    const std::vector<std::string> expected = {"vitalsign", "vitalpen",     "vitalfont",
                                               "vitalline", "vitaltext",    "vitallineout",
                                               "vitalsize", "vitaltextout", "vitallineblock"};
    ASSERT_EQ(CKeywordTable::GetCount(), 9);
    for (int i = 0; i < CKeywordTable::GetCount(); ++i) {
        ASSERT_NE(CKeywordTable::GetName(i), nullptr);
        EXPECT_EQ(CKeywordTable::GetName(i), expected[static_cast<std::size_t>(i)]) << "entry " << i;
    }
    EXPECT_EQ(CKeywordTable::GetName(-1), nullptr);
    EXPECT_EQ(CKeywordTable::GetName(9), nullptr);
}

TEST(KeywordTableTest, EveryListedNameFindsItsOwnCode) {
    const CKeywordTable table;
    std::vector<int> codes;
    for (int i = 0; i < CKeywordTable::GetCount(); ++i) codes.push_back(table.FindKeyword(CKeywordTable::GetName(i)));
    // Codes 107 and 106 are swapped against the table order.
    EXPECT_EQ(codes, (std::vector<int>{100, 101, 102, 103, 104, 105, 107, 106, 108}));
}

}  // namespace
}  // namespace vitalchart
