// What the command sets up for fonts: the system's fontconfig configuration
// read once for a picture, nothing at all for a trace. fontconfig reports
// each configuration file it loads on standard output under FC_DEBUG=1024.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/command_fixture.h"

namespace {

using Result = vitalchart::test::CommandResult;

const std::string kExample = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
const std::string kWeek = std::string(VITALCHART_EXAMPLES) + "/week.data";

class FontSetupTest : public vitalchart::test::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        ::setenv("FC_DEBUG", "1024", 1);
    }
    void TearDown() override {
        ::unsetenv("FC_DEBUG");
        CommandTest::TearDown();
    }
};

// The configuration files loaded, other than the chart's font map.
int SystemConfigurationsLoaded(const std::string& strOut) {
    std::istringstream in(strOut);
    std::string strLine;
    int n = 0;
    while (std::getline(in, strLine)) {
        if (strLine.find("Loading config file from") == std::string::npos) continue;
        if (strLine.find("vitalchart-fonts.conf") != std::string::npos) continue;
        if (strLine.size() >= 11 && strLine.compare(strLine.size() - 11, 11, "/fonts.conf") == 0) ++n;
    }
    return n;
}

TEST_F(FontSetupTest, APageReadsTheSystemsConfigurationOnce) {
    for (const char* pFormat : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(pFormat);
        const Result r = Run("render '" + kExample + "' --data '" + kWeek + "' -o chart." + pFormat);
        ASSERT_EQ(r.nExit, 0) << r.strErr;
        EXPECT_EQ(SystemConfigurationsLoaded(r.strOut), 1) << r.strOut;
    }
}

TEST_F(FontSetupTest, ATraceSetsUpNoFonts) {
    const Result r = Run("render '" + kExample + "' --data '" + kWeek + "' --format trace -o chart.trace");
    ASSERT_EQ(r.nExit, 0) << r.strErr;
    EXPECT_EQ(r.strOut, "");
}

}  // namespace
