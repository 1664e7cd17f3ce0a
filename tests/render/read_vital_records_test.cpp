#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/chart_renderer.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

struct Reading {
    std::string name;
    int cell;
    std::string values;
    std::string original;
    int originalCell;
    int flag;
};

constexpr int kWhole = -2147483647 - 1;

std::vector<Reading> Read(const std::string& strData, int nLength = kWhole, BOOL* pResume = nullptr,
                          BOOL* pResult = nullptr) {
    CRecordingDC dc;
    CChartRenderer renderer(&dc, CChartGeometry());
    BOOL bResult =
        renderer.ReadVitalRecords(strData.data(), nLength == kWhole ? static_cast<int>(strData.size()) : nLength);
    if (pResult != nullptr) *pResult = bResult;
    if (pResume != nullptr) *pResume = renderer.IsResumePrint();
    std::vector<Reading> out;
    for (int i = 0; i < renderer.GetRecordCount(); ++i) {
        const CVitalRecord* p = renderer.GetRecord(i);
        out.push_back({std::string(p->m_strName), p->m_nCellIndex, std::string(p->m_strValues),
                       std::string(p->m_strOriginalValues), p->m_nOriginalCellIndex, p->m_nSpecialSymbolFlag});
    }
    return out;
}

TEST(ReadVitalRecordsTest, ReadsEveryAttributeOfADTag) {
    auto records = Read(
        "<d vitalsigns=\"T\" vitalsignsvalues=\"37.2\" cellindex=\"4\" vitalsignsoriginalvalues=\"39\" "
        "originalCellIndex=\"3\" specialSymbolFlag=\"2\"/>\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, "T");
    EXPECT_EQ(records[0].values, "37.2");
    EXPECT_EQ(records[0].cell, 4);
    EXPECT_EQ(records[0].original, "39");
    EXPECT_EQ(records[0].originalCell, 3);
    EXPECT_EQ(records[0].flag, 2);
}

TEST(ReadVitalRecordsTest, CellIndexReadsAsAtoi) {
    struct Row {
        const char* value;
        int cell;
    } rows[] = {{"7", 7}, {" 7", 7}, {"3.9", 3}, {"-2", -2}, {"abc", 0}, {"", 0}, {"99999999999", 2147483647}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        auto records = Read(std::string("<d cellindex=\"") + r.value + "\"/>");
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].cell, r.cell);
    }
}

TEST(ReadVitalRecordsTest, WhichTagsMakeRecords) {
    struct Row {
        const char* data;
        std::vector<std::string> names;
    } rows[] = {
        {"<d vitalsigns=\"A\"/>\n<d vitalsigns=\"B\"/>\n<d vitalsigns=\"C\"/>\n", {"A", "B", "C"}},
        {"<D vitalsigns=\"A\" cellindex=\"2\"/>", {"A"}},
        {"<d />", {""}},
        {"</d>", {""}},
        {"<d/><d vitalsigns=\"A\"/>\n<d vitalsigns=\"B\"/>", {"B"}},
        {"<x/><d vitalsigns=\"A\"/>\n<d vitalsigns=\"B\"/>", {"B"}},
        {" <d vitalsigns=\"A\"/>\n<d vitalsigns=\"B\"/>", {"B"}},
        {"<d vitalsigns=\"A\"/><d vitalsigns=\"B\"/>", {"A", "B"}},
        {"<d vitalsigns=\"A\"/> <d vitalsigns=\"B\"/>", {"A"}},
        {"<d vitalsigns=\"A\"/>\r\n\r\n\n<d vitalsigns=\"B\"/>\r\n", {"A", "B"}},
        {"no tags at all", {}},
        {"\n", {}},
        {"<d vitalsigns=\"A\"/><print resume=\"true\"/><d vitalsigns=\"B\"/>", {"A", "B"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.data);
        auto records = Read(r.data);
        std::vector<std::string> names;
        for (const auto& rec : records) names.push_back(rec.name);
        EXPECT_EQ(names, r.names);
    }
}

TEST(ReadVitalRecordsTest, DefaultsAndExactAttributeNames) {
    auto records = Read("<d vitalsigns=\"A\" CellIndex=\"3\" originalcellindex=\"5\" vitalsignsvalues=\"\"/>");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].cell, 0);
    EXPECT_EQ(records[0].originalCell, -1);
    EXPECT_EQ(records[0].flag, 0);
    EXPECT_EQ(records[0].values, "");
    // A value is cut at a semicolon.
    records = Read("<d vitalsigns=\"A\" vitalsignsvalues=\"120;80\"/>");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values, "120");
}

TEST(ReadVitalRecordsTest, ContinuationFlag) {
    struct Row {
        const char* data;
        BOOL resume;
    } rows[] = {
        {"<print resume=\"true\"/>", 1},
        {"<print resume=\"TRUE\"/>", 1},
        {"<PRINT resume=\"True\"/>", 1},
        {"<print resume=\"false\"/>", 0},
        {"<print/>", 0},
        {"<print />", 0},
        {"<print resume=\"yes\"/>", 0},
        {"<print resume=\"true\"/>\n<print resume=\"false\"/>", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.data);
        BOOL bResume = 0;
        Read(r.data, kWhole, &bResume);
        EXPECT_EQ(bResume, r.resume);
    }
}

TEST(ReadVitalRecordsTest, ReadsExactlyTheGivenLength) {
    BOOL bResult = 1;
    EXPECT_TRUE(Read("<d vitalsigns=\"A\"/>", 0, nullptr, &bResult).empty());
    EXPECT_FALSE(bResult);
    EXPECT_TRUE(Read("<d vitalsigns=\"A\"/>", -5, nullptr, &bResult).empty());
    EXPECT_FALSE(bResult);
    Read("\n", kWhole, nullptr, &bResult);
    EXPECT_TRUE(bResult);
    // The second tag is cut off by the length inside its value: the value
    // is not kept, so no name or reading is made of its first bytes.
    const std::string strData = "<d vitalsigns=\"A\"/>\n<d vitalsigns=\"BCD\"/>";
    auto records = Read(strData, static_cast<int>(strData.find("CD")));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].name, "");
    // The text need not end in a zero byte.
    std::vector<char> unterminated(strData.begin(), strData.end());
    CRecordingDC dc;
    CChartRenderer renderer(&dc, CChartGeometry());
    EXPECT_TRUE(renderer.ReadVitalRecords(unterminated.data(), static_cast<int>(unterminated.size())));
    EXPECT_EQ(renderer.GetRecordCount(), 2);
    EXPECT_FALSE(renderer.ReadVitalRecords(nullptr, 10));
}

TEST(ReadVitalRecordsTest, KeepsDuplicatesInTextOrder) {
    auto records = Read(
        "<d vitalsigns=\"T\" cellindex=\"1\" vitalsignsvalues=\"37\"/>\n"
        "<d vitalsigns=\"T\" cellindex=\"1\" vitalsignsvalues=\"38\"/>\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].values, "37");
    EXPECT_EQ(records[1].values, "38");
}

}  // namespace
}  // namespace vitalchart
