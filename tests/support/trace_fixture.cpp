#include "support/trace_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "vitalchart/plugin.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace test {

TempFile::TempFile(const std::string& strContent, const std::string& strSuffix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vitalchart-XXXXXX" + strSuffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemps(name.data(), static_cast<int>(strSuffix.size()));
    if (fd < 0) {
        ADD_FAILURE() << "cannot create a temporary file";
        return;
    }
    m_strPath = name.data();
    std::size_t nDone = 0;
    while (nDone < strContent.size()) {
        ssize_t n = ::write(fd, strContent.data() + nDone, strContent.size() - nDone);
        if (n <= 0) break;
        nDone += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

TempFile::~TempFile() {
    if (!m_strPath.empty()) std::remove(m_strPath.c_str());
}

std::string RenderTrace(const TraceRun& run) {
    TempFile templ(run.strTemplate);
    CRecordingDC dc(run.nCodePage, run.bPrinting);
    DrawPlugin(&dc, run.nTop, run.nLeft, run.nBottom, run.nRight, run.nDenY, run.nDenX, run.nNumY, run.nNumX,
               templ.Path().c_str(), run.strData.data(), static_cast<int>(run.strData.size()), "", run.bFillBackground);
    return dc.GetTrace();
}

void ExpectGoldenTrace(const std::string& strName, const std::string& strTrace) {
    std::string strPath = std::string(VITALCHART_TEST_DATA) + "/" + strName + ".trace";
    std::string strExpected = ReadFileText(strPath);
    std::string strActualPath = strPath + ".actual";
    if (strExpected == strTrace) {
        std::remove(strActualPath.c_str());
        return;
    }
    std::ofstream out(strActualPath, std::ios::binary);
    out << strTrace;
    ADD_FAILURE() << "trace differs from " << strPath << "; actual written to " << strActualPath;
}

}  // namespace test
}  // namespace vitalchart
