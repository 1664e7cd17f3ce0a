#pragma once

// What the chart-drawing fuzz targets share: the template file the plug-in
// reads from disk, a host's own surface state to see come back, exact-size
// copies of the data text, and a fatal check that libFuzzer reports as a crash.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "vitalchart/platform/gdi_objects.h"
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

// A pen, font, text colour and background mode of the host's own, none of
// which a chart template produces, selected before the plug-in draws.
class CHostState {
public:
    CHostState() {
        m_pen.CreatePen(PS_DASHDOT, 1, RGB(1, 2, 3));
        LOGFONT lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = 500;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "HostFace");
        m_font.CreateFontIndirect(&lf);
    }
    void Apply(CStateDC& dc) {
        dc.SelectObject(&m_pen);
        dc.SelectObject(&m_font);
        dc.SetTextColor(kTextColour);
        dc.SetBkMode(OPAQUE);
    }
    // Stops the run unless the surface holds the host's state again.
    void RequireRestored(CStateDC& dc) const {
        Require(dc.GetPen().SameAs(m_pen), "the host's pen was not restored");
        Require(dc.GetFont().SameAs(m_font), "the host's font was not restored");
        Require(dc.GetTextColor() == kTextColour, "the host's text colour was not restored");
        Require(dc.GetBkMode() == OPAQUE, "the host's background mode was not restored");
    }

private:
    static constexpr COLORREF kTextColour = RGB(7, 8, 9);
    CPen m_pen;
    CFont m_font;
};

// The data text in storage of exactly nLength bytes, so that a read past the
// length the host gave is a heap overflow the sanitizer sees.
inline std::unique_ptr<char[]> ExactCopy(const std::string& strText, std::size_t nLength) {
    std::unique_ptr<char[]> p(new char[nLength == 0 ? 1 : nLength]);
    if (nLength > 0) std::memcpy(p.get(), strText.data(), nLength);
    return p;
}

}  // namespace fuzz
}  // namespace vitalchart
