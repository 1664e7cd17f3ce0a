#include "tools/render_command.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/int_math.h"
#include "platform/mul_div.h"
#include "tools/output_files.h"
#include "tools/text_encoding.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;

// Millimetres to device units the way the plug-in converts template lengths.
int MillimetresToDevice(float fMm, int nNum, int nDen) {
    int nTenths = DoubleToInt(static_cast<double>(fMm) * 10.0);
    return MulDiv(MulDiv(nTenths, 96, 254), nNum, nDen);
}

// Everything one DrawPlugin call needs besides the surface.
struct PageJob {
    RECT rect;
    int nNumX, nDenX, nNumY, nDenY;
    std::string strTemplate;
    bool bFill;
};

void DrawPage(CDC* pDC, const PageJob& job, const std::string& strData) {
    DrawPlugin(pDC, job.rect.top, job.rect.left, job.rect.bottom, job.rect.right, job.nDenY, job.nDenX, job.nNumY,
               job.nNumX, job.strTemplate.c_str(), strData.data(), static_cast<int>(strData.size()), "",
               job.bFill ? 1 : 0);
}

// A progress line on standard error, only on a terminal and only once the
// work has taken more than a moment.
class CProgress {
public:
    explicit CProgress(int nPages) : m_nPages(nPages), m_start(std::chrono::steady_clock::now()) {
        m_bEnabled = nPages > 1 && ::isatty(STDERR_FILENO);
    }
    ~CProgress() {
        if (m_bShown) std::cerr << "\n";
    }
    void Page(int nDone) {
        if (!m_bEnabled) return;
        auto elapsed = std::chrono::steady_clock::now() - m_start;
        if (!m_bShown && elapsed < std::chrono::milliseconds(500)) return;
        m_bShown = true;
        std::cerr << "\rvitalchart: page " << nDone << " of " << m_nPages << std::flush;
    }

private:
    int m_nPages;
    std::chrono::steady_clock::time_point m_start;
    bool m_bEnabled = false;
    bool m_bShown = false;
};

}  // namespace

int RunRender(const CommandLine& line) {
    std::string strError;
    const std::optional<Format> format = ResolveFormat(line, strError);
    if (!format) return Fail(strError);
    const std::string strFormat = FormatName(*format);
    if (strFormat != "trace" && line.OutputIsStdout()) return Fail(strFormat + " output needs -o FILE");

    std::string strTemplate;
    if (!ReadWholeFile(line.strTemplate, strTemplate, strError)) return Fail(strError);
    // No --data is one page of the empty form.
    std::vector<std::string> pages;
    for (const std::string& strPath : line.dataFiles) {
        pages.emplace_back();
        if (!ReadWholeFile(strPath, pages.back(), strError)) return Fail(strError);
        if (pages.back().size() > 0x7FFFFFFFu) return Fail(strPath + " is too large");
    }
    if (pages.empty()) pages.emplace_back();

    UINT nCodePage = line.codePage.value_or(0);
    if (nCodePage == 0) {
        bool bUtf8 = IsValidUtf8(strTemplate);
        for (const std::string& strPage : pages) bUtf8 = bUtf8 && IsValidUtf8(strPage);
        nCodePage = bUtf8 ? CP_UTF8 : CP_GBK;
    }

    int nDpi = line.dpi.value_or(strFormat == "pdf" ? 600 : 96);
    bool bPrinting = line.print.value_or(strFormat == "pdf");
    PageJob job;
    const ScalePair scaleX = line.scaleX.value_or(ScalePair{nDpi, 96});
    const ScalePair scaleY = line.scaleY.value_or(ScalePair{nDpi, 96});
    job.nNumX = scaleX.nNum;
    job.nDenX = scaleX.nDen;
    job.nNumY = scaleY.nNum;
    job.nDenY = scaleY.nDen;
    job.strTemplate = line.strTemplate;
    job.bFill = line.bFill;
    job.rect = line.rect.value_or(RECT{0, 0, 0, 0});
    if (!line.rect) {
        float fWidth = 167.0f;
        float fHeight = 213.0f;
        float fDeclaredWidth = 0.0f;
        float fDeclaredHeight = 0.0f;
        if (GetPluginSizeByTemplet(&fDeclaredWidth, &fDeclaredHeight, line.strTemplate.c_str())) {
            fWidth = fDeclaredWidth;
            fHeight = fDeclaredHeight;
        }
        job.rect = {0, 0, MillimetresToDevice(fWidth, job.nNumX, job.nDenX),
                    MillimetresToDevice(fHeight, job.nNumY, job.nDenY)};
    }
    // The page holds the chart rectangle from the device origin.
    int nPageWidth = job.rect.right > job.rect.left ? job.rect.right : job.rect.left;
    int nPageHeight = job.rect.bottom > job.rect.top ? job.rect.bottom : job.rect.top;
    if (nPageWidth < 1) nPageWidth = 1;
    if (nPageHeight < 1) nPageHeight = 1;

    const int nPages = static_cast<int>(pages.size());
    bool bToStdout = line.OutputIsStdout();
    const std::string strOutput = line.output.value_or(std::string());
    COutputFiles outputs;
    CProgress progress(nPages);

    if (strFormat == "trace") {
        std::string strAll;
        for (int i = 0; i < nPages; ++i) {
            CRecordingDC dc(nCodePage, bPrinting ? 1 : 0);
            DrawPage(&dc, job, pages[static_cast<std::size_t>(i)]);
            progress.Page(i + 1);
            if (bToStdout) {
                strAll += dc.GetTrace();
                continue;
            }
            std::string strTemp = outputs.Reserve(PageFileName(strOutput, i + 1, nPages), strError);
            if (strTemp.empty() || !WriteBytes(strTemp, dc.GetTrace(), strError)) return Fail(strError);
        }
        if (bToStdout) {
            std::cout << strAll << std::flush;
            return std::cout ? kExitOk : Fail("cannot write to standard output");
        }
    } else if (strFormat == "pdf") {
        std::string strTemp = outputs.Reserve(strOutput, strError);
        if (strTemp.empty()) return Fail(strError);
        auto pDC = CCairoDC::CreatePdf(strTemp, nPageWidth, nPageHeight, nDpi, nCodePage, bPrinting ? 1 : 0);
        for (int i = 0; i < nPages; ++i) {
            if (i > 0) pDC->ShowPage();
            DrawPage(pDC.get(), job, pages[static_cast<std::size_t>(i)]);
            progress.Page(i + 1);
        }
        if (!pDC->Finish()) return Fail(strOutput + ": " + pDC->GetError());
    } else {
        for (int i = 0; i < nPages; ++i) {
            std::string strTarget = PageFileName(strOutput, i + 1, nPages);
            std::string strTemp = outputs.Reserve(strTarget, strError);
            if (strTemp.empty()) return Fail(strError);
            std::unique_ptr<CCairoDC> pDC;
            if (strFormat == "svg") {
                pDC = CCairoDC::CreateSvg(strTemp, nPageWidth, nPageHeight, nDpi, nCodePage, bPrinting ? 1 : 0);
            } else {
                pDC = CCairoDC::CreatePng(nPageWidth, nPageHeight, nCodePage, bPrinting ? 1 : 0);
            }
            DrawPage(pDC.get(), job, pages[static_cast<std::size_t>(i)]);
            progress.Page(i + 1);
            bool bOk = strFormat == "svg" ? pDC->Finish() : (pDC->WritePng(strTemp) && pDC->Finish());
            if (!bOk) return Fail(strTarget + ": " + pDC->GetError());
        }
    }
    if (!outputs.Commit(strError)) return Fail(strError);
    return kExitOk;
}

}  // namespace cli
}  // namespace vitalchart
