// Golden traces: the bundled example and small templates rendered by the
// command to the recording surface's trace, compared byte for byte with
// tests/golden/NAME.trace. A mismatch writes NAME.actual beside the golden
// file. After a reviewed change of output, refresh every golden file with
//   VITALCHART_REFRESH_GOLDEN=1 build/gcc/tests/vitalchart_cli_test --gtest_filter='Golden*'

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>

#include "tools/command_fixture.h"

namespace vitalchart {
namespace test {
namespace {

struct GoldenCase {
    const char* pszName;
    const char* pszTemplate;  // under tests/golden, or examples/ when it starts with "examples/"
    const char* pszData;      // the same; null: no data text
    const char* pszOptions;
};

const GoldenCase kCases[] = {
    {"example-screen-96", "first-example/vitalsign.xml", "first-example/week.data", "--screen --dpi 96"},
    {"example-print-96", "first-example/vitalsign.xml", "first-example/week.data", "--print --dpi 96"},
    {"example-screen-600", "first-example/vitalsign.xml", "first-example/week.data", "--screen --dpi 600 --fill"},
    {"example-print-600", "first-example/vitalsign.xml", "first-example/week.data", "--print --dpi 600"},
    // The bundled example as it stands, with the ward's marks.
    {"nursing-example-screen-96", "examples/vitalsign.xml", "examples/week.data", "--screen --dpi 96"},
    {"nursing-example-print-600", "examples/vitalsign.xml", "examples/week.data", "--print --dpi 600"},
    {"newborn-screen-96", "examples/newborn.xml", "examples/newborn.data", "--screen --dpi 96"},
    // Made with vitalchart init and finished by hand.
    {"a4-three-times-screen-96", "examples/a4-three-times.xml", "examples/a4-three-times.data", "--screen --dpi 96"},
    {"english-print-600", "examples/english.xml", "examples/english.data", "--print --dpi 600"},
    {"example-gbk-screen-96", "example-gbk.xml", "example-gbk.data", "--screen --dpi 96 --encoding gbk"},
    {"example-gbk-print-600", "example-gbk.xml", "example-gbk.data", "--print --dpi 600 --encoding gbk"},
    {"pens-fonts-screen", "pens-fonts.xml", nullptr, "--screen"},
    {"pens-fonts-print", "pens-fonts.xml", nullptr, "--print --dpi 300"},
    {"grid", "grid.xml", nullptr, "--screen --scale-x 3/2 --scale-y 5/4"},
    {"captions", "captions.xml", nullptr, "--screen"},
    {"curves-screen", "curves.xml", "curves.data", "--screen"},
    {"curves-print-600", "curves.xml", "curves.data", "--print --dpi 600"},
    {"rows-screen", "rows.xml", "rows.data", "--screen --rect 10,20,500,300"},
    {"rows-continuation-print", "rows.xml", "rows.data", "--print"},
};

void PrintTo(const GoldenCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

std::string SourcePath(const char* pszName) {
    const std::string strName = pszName;
    if (strName.rfind("examples/", 0) == 0) return std::string(VITALCHART_EXAMPLES) + strName.substr(8);
    return std::string(VITALCHART_GOLDEN) + "/" + strName;
}

class Golden : public CommandTest, public testing::WithParamInterface<GoldenCase> {};

TEST_P(Golden, TraceIsByteIdentical) {
    const GoldenCase& c = GetParam();
    std::string strArgs = "render '" + SourcePath(c.pszTemplate) + "'";
    if (c.pszData != nullptr) strArgs += " --data '" + SourcePath(c.pszData) + "'";
    strArgs += std::string(" --format trace ") + c.pszOptions;
    const CommandResult result = Run(strArgs);
    ASSERT_EQ(result.nExit, 0) << result.strErr;

    const std::string strGolden = std::string(VITALCHART_GOLDEN) + "/" + c.pszName + ".trace";
    const std::string strActual = std::string(VITALCHART_GOLDEN) + "/" + c.pszName + ".actual";
    const char* pszRefresh = std::getenv("VITALCHART_REFRESH_GOLDEN");
    if (pszRefresh != nullptr && *pszRefresh == '1') {
        std::ofstream(strGolden, std::ios::binary) << result.strOut;
        return;
    }
    if (ReadFileText(strGolden) == result.strOut) {
        std::remove(strActual.c_str());
        return;
    }
    std::ofstream(strActual, std::ios::binary) << result.strOut;
    ADD_FAILURE() << "the trace differs from " << strGolden << "; diff it with " << strActual;
}

INSTANTIATE_TEST_SUITE_P(Traces, Golden, testing::ValuesIn(kCases), [](const testing::TestParamInfo<GoldenCase>& info) {
    std::string strName = info.param.pszName;
    for (char& c : strName) {
        if (c == '-') c = '_';
    }
    return strName;
});

}  // namespace
}  // namespace test
}  // namespace vitalchart
