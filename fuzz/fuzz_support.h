#pragma once

// What the chart-drawing fuzz targets share: the template file the plug-in
// reads from disk, a host's own surface state to see come back, exact-size
// copies of the data text, a drawing over a template in memory, and a fatal
// check that libFuzzer reports as a crash.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/draw_case.h"
#include "render/chart_geometry.h"
#include "render/chart_page.h"
#include "render/chart_template.h"
#include "tests/support/host_state.h"
#include "vitalchart/platform/gdi_objects.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/state_dc.h"

namespace vitalchart {
namespace fuzz {

// Stops the run with a message when a property of the output does not hold.
inline void Require(bool bHolds, const char* pszWhat, const std::string& strDetail = std::string()) {
    if (bHolds) return;
    std::fprintf(stderr, "vitalchart fuzz: %s%s%s\n", pszWhat, strDetail.empty() ? "" : ": ", strDetail.c_str());
    std::abort();
}

// This process's template file in the temporary folder, rewritten for every
// input and removed when the process ends normally.
class CScratchFile {
public:
    explicit CScratchFile(const char* pszSuffix) {
        const char* pszTmp = std::getenv("TMPDIR");
        std::string strPattern =
            std::string(pszTmp != nullptr && *pszTmp != '\0' ? pszTmp : "/tmp") + "/vitalchart-fuzz-XXXXXX" + pszSuffix;
        std::vector<char> name(strPattern.begin(), strPattern.end());
        name.push_back('\0');
        int fd = ::mkstemps(name.data(), static_cast<int>(std::strlen(pszSuffix)));
        Require(fd >= 0, "cannot create a scratch file", strPattern);
        ::close(fd);
        m_strPath = name.data();
    }
    ~CScratchFile() { std::remove(m_strPath.c_str()); }
    CScratchFile(const CScratchFile&) = delete;
    CScratchFile& operator=(const CScratchFile&) = delete;

    // Replaces the file's content.
    void Write(const std::string& strContent) {
        std::FILE* pFile = std::fopen(m_strPath.c_str(), "wb");
        Require(pFile != nullptr, "cannot write the scratch file", m_strPath);
        bool bOk = std::fwrite(strContent.data(), 1, strContent.size(), pFile) == strContent.size();
        bOk = std::fclose(pFile) == 0 && bOk;
        Require(bOk, "cannot write the scratch file", m_strPath);
    }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// The scratch template of this process.
inline CScratchFile& ScratchTemplate() {
    static CScratchFile s_file(".xml");
    return s_file;
}

// The host's own surface state (tests/support/host_state.h), required back.
using test::CHostState;

inline void RequireRestored(const CHostState& host, CStateDC& dc) {
    const std::string strWhat = host.WhatIsNotRestored(dc);
    Require(strWhat.empty(), strWhat.c_str());
}

// The data text in storage of exactly nLength bytes, so that a read past the
// length the host gave is a heap overflow the sanitizer sees.
inline std::unique_ptr<char[]> ExactCopy(const std::string& strText, std::size_t nLength) {
    std::unique_ptr<char[]> p(new char[nLength == 0 ? 1 : nLength]);
    if (nLength > 0) std::memcpy(p.get(), strText.data(), nLength);
    return p;
}

// One whole drawing call of a decoded input on the surface, as a host makes
// it: the host's own state lent with the surface and required back, the data
// text in storage of its exact length, the template from the file at the path.
inline void DrawCaseOn(const DrawCase& c, CStateDC& dc, const char* pszTemplatePath) {
    std::size_t nDataLength = c.strData.size();
    if (c.bShortData && nDataLength > 0) --nDataLength;
    auto data = ExactCopy(c.strData, nDataLength);
    CHostState host;
    host.Apply(dc);
    DrawPlugin(&dc, c.nTop, c.nLeft, c.nBottom, c.nRight, c.nDenY, c.nDenX, c.nNumY, c.nNumX, pszTemplatePath,
               data.get(), static_cast<int>(nDataLength), "", c.bFill);
    RequireRestored(host, dc);
}

// One page of a decoded input as a host that keeps its template in memory
// draws it (the command does): the template handed over as text rather than
// written to a file and read back for every input, the host's own state lent
// with the surface and required back. The file path is the size query's and
// the replay's to cover; what is drawn after the template is read is the same.
inline void DrawCaseInMemory(const DrawCase& c, CStateDC& dc) {
    CChartTemplate chartTemplate;
    Require(chartTemplate.SetText(c.strTemplate, "fuzz.xml") == 1, "the template was refused");
    std::string strData = c.strData;
    if (c.bShortData && !strData.empty()) strData.pop_back();
    const RECT rect = {c.nLeft, c.nTop, c.nRight, c.nBottom};
    const CChartGeometry geometry(rect, {c.nNumX, c.nDenX}, {c.nNumY, c.nDenY});
    CHostState host;
    host.Apply(dc);
    // False only when drawing ran out of memory, which the plug-in's own
    // call swallows as well; the host's state must come back either way.
    (void)DrawChartPage(&dc, geometry, chartTemplate, strData, c.bFill);
    RequireRestored(host, dc);
}

}  // namespace fuzz
}  // namespace vitalchart
