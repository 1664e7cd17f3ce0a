#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/file_text.h"

namespace vitalchart {
namespace test {

// What one run of the command gave.
struct CommandResult {
    int nExit;
    std::string strOut;
    std::string strErr;
};

// Runs the vitalchart command in a scratch folder of its own, removed afterwards.
class CommandTest : public testing::Test {
protected:
    void SetUp() override {
        char szDir[] = "/tmp/vitalchart-cmd-XXXXXX";
        ASSERT_NE(::mkdtemp(szDir), nullptr);
        m_strDir = szDir;
    }
    void TearDown() override { std::system(("rm -rf '" + m_strDir + "'").c_str()); }

    // Writes a file into the scratch folder and returns its path.
    std::string Write(const std::string& strName, const std::string& strContent) {
        std::string strPath = m_strDir + "/" + strName;
        std::ofstream(strPath, std::ios::binary) << strContent;
        return strPath;
    }

    // Runs `vitalchart ARGS` from the scratch folder (arguments as a shell
    // would split them) and collects its exit code and output.
    CommandResult Run(const std::string& strArgs) {
        const std::string strOut = m_strDir + "/stdout";
        const std::string strErr = m_strDir + "/stderr";
        const std::string strCommand =
            "cd '" + m_strDir + "' && '" + VITALCHART_CLI + "' " + strArgs + " >'" + strOut + "' 2>'" + strErr + "'";
        const int nStatus = std::system(strCommand.c_str());
        return {WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1, ReadFileText(strOut), ReadFileText(strErr)};
    }

    std::string m_strDir;
};

}  // namespace test
}  // namespace vitalchart
