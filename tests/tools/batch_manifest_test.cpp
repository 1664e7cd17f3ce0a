// The manifest of a batch: a chart a line, its paths from the manifest's
// folder, every fault of a line found and only that line failing.

#include "tools/batch_manifest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vitalchart {
namespace cli {
namespace {

TEST(BatchManifestTest, PathsAreTakenFromTheManifestsFolder) {
    const std::vector<ManifestChart> charts = ReadManifest(
        "\xEF\xBB\xBF{\"template\":\"t.xml\",\"data\":[\"a.data\",\"/abs/b.data\"],\"output\":\"w/li.pdf\"}\n"
        "\n"
        "{\"template\":\"t.xml\",\"fhir\":\"b.json\",\"profile\":\"p.json\",\"output\":\"x.PDF\",\"label\":\"X\","
        "\"title\":\"Chart\"}\r\n",
        "/srv/in/m.jsonl");
    ASSERT_EQ(charts.size(), 2u);
    EXPECT_TRUE(charts[0].arrErrors.empty());
    EXPECT_EQ(charts[0].nLine, 1);
    EXPECT_EQ(charts[0].strTemplate, "/srv/in/t.xml");
    EXPECT_EQ(charts[0].dataFiles, (std::vector<std::string>{"/srv/in/a.data", "/abs/b.data"}));
    EXPECT_EQ(charts[0].strLabel, "w/li");
    EXPECT_TRUE(charts[1].arrErrors.empty());
    EXPECT_EQ(charts[1].nLine, 3);
    EXPECT_EQ(charts[1].strFhir, "/srv/in/b.json");
    EXPECT_EQ(charts[1].strLabel, "X");
    EXPECT_EQ(charts[1].title.value_or(""), "Chart");
}

TEST(BatchManifestTest, AFaultyLineIsAChartThatFails) {
    struct Row {
        const char* pszLine;
        const char* pszError;
    };
    const Row rows[] = {
        {"not json", "m.jsonl:1"},
        {R"({"template":"t.xml","output":"a.pdf","extra":1})", "/extra"},
        {R"({"output":"a.pdf"})", "/template: is missing"},
        {R"({"template":"t.xml"})", "/output: is missing"},
        {R"({"template":"t.xml","output":"../a.pdf"})", "without empty, '.' or '..' parts"},
        {R"({"template":"t.xml","output":"/tmp/a.pdf"})", "not an absolute one"},
        {R"({"template":"t.xml","output":"a//b.pdf"})", "without empty"},
        {R"({"template":"t.xml","output":"a.png"})", "must end in .pdf"},
        {R"({"template":"t.xml","readings":"r.json","output":"a.pdf"})", "readings need a profile"},
        {R"({"template":"t.xml","readings":"r.json","fhir":"b.json","profile":"p","output":"a.pdf"})", "not both"},
        {R"({"template":"t.xml","data":"d","readings":"r.json","profile":"p","output":"a.pdf"})", "give one of them"},
        {R"({"template":"t.xml","data":7,"output":"a.pdf"})", "/data"},
        {R"({"template":"t.xml","output":"a.pdf","title":"a\tb"})", "/title: holds a control character"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszLine);
        const std::vector<ManifestChart> charts = ReadManifest(row.pszLine, "m.jsonl");
        ASSERT_EQ(charts.size(), 1u);
        ASSERT_FALSE(charts[0].arrErrors.empty());
        std::string strAll;
        for (const std::string& str : charts[0].arrErrors) strAll += str + "\n";
        EXPECT_NE(strAll.find(row.pszError), std::string::npos) << strAll;
    }
}

TEST(BatchManifestTest, TheSecondLineWritingAnOutputFails) {
    const std::vector<ManifestChart> charts = ReadManifest(
        "{\"template\":\"t.xml\",\"output\":\"a.pdf\"}\n{\"template\":\"u.xml\",\"output\":\"a.pdf\"}\n", "m.jsonl");
    ASSERT_EQ(charts.size(), 2u);
    EXPECT_TRUE(charts[0].arrErrors.empty());
    ASSERT_EQ(charts[1].arrErrors.size(), 1u);
    EXPECT_NE(charts[1].arrErrors[0].find("line 1's output too"), std::string::npos) << charts[1].arrErrors[0];
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
