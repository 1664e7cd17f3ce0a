#include <memory>
#include <new>

#include "plugin/draw_plugin.h"
#include "render/chart_renderer.h"
#include "vitalchart/plugin.h"
#if defined(_WIN32)
#include "plugin/host_dc.h"
#endif

using vitalchart::BOOL;
using vitalchart::CChartRenderer;

// No C++ exception may cross into the host: an allocation failure ends the
// call after everything made so far has been destroyed.

namespace vitalchart {

void DrawPluginOnSurface(CDC* pDC, int nTop, int nLeft, int nBottom, int nRight, int nDenY, int nDenX, int nNumY,
                         int nNumX, const char* lpszTemplatePath, const char* lpszData, int nDataLen,
                         const char* lpszCallerText, BOOL bFillBackground) {
    // Without a surface there is nothing to draw on.
    if (pDC == nullptr) return;
    try {
        const RECT rcChart = {nLeft, nTop, nRight, nBottom};
        auto pRenderer = std::make_unique<CChartRenderer>(pDC, CChartGeometry(rcChart, {nNumX, nDenX}, {nNumY, nDenY}),
                                                          lpszTemplatePath != nullptr ? lpszTemplatePath : "",
                                                          lpszCallerText != nullptr ? lpszCallerText : "");
        pRenderer->ReadVitalRecords(lpszData, nDataLen);
        pRenderer->DrawChart(bFillBackground);
    } catch (...) {
    }
}

}  // namespace vitalchart

extern "C" {

VITALCHART_API int WINAPI GetPluginFunctionCount(void) {
    return 2;
}

VITALCHART_API BOOL WINAPI GetPluginFunctionNames(char** ppszNames) {
    static const char kFirst[] = "DisplayDialog";
    static const char kSecond[] = "DisplayDialog2";
    if (ppszNames == nullptr) return 0;
    // The host reads these and never writes them; they live as long as the module.
    ppszNames[0] = const_cast<char*>(kFirst);
    ppszNames[1] = const_cast<char*>(kSecond);
    return 1;
}

VITALCHART_API float WINAPI GetPluginWidth(void) {
    return 167.0f;
}

VITALCHART_API float WINAPI GetPluginHeight(void) {
    return 213.0f;
}

VITALCHART_API BOOL WINAPI GetPluginSizeByTemplet(float* pWidth, float* pHeight, const char* lpszTemplatePath) {
    try {
        auto pRenderer = std::make_unique<CChartRenderer>();
        return pRenderer->GetSizeByTemplet(pWidth, pHeight, lpszTemplatePath);
    } catch (...) {
        if (pWidth != nullptr) *pWidth = 0.0f;
        if (pHeight != nullptr) *pHeight = 0.0f;
        return 0;
    }
}

VITALCHART_API void WINAPI DrawPlugin(VitalChartDC* pDC, int nTop, int nLeft, int nBottom, int nRight, int nDenY,
                                      int nDenX, int nNumY, int nNumX, const char* lpszTemplatePath,
                                      const char* lpszData, int nDataLen, const char* lpszCallerText,
                                      BOOL bFillBackground) {
#if defined(_WIN32)
    // The host lends its framework's device-context object; the chart draws
    // on that object's handles through GDI.
    try {
        std::unique_ptr<vitalchart::CDC> pSurface = vitalchart::WrapHostDC(pDC);
        vitalchart::DrawPluginOnSurface(pSurface.get(), nTop, nLeft, nBottom, nRight, nDenY, nDenX, nNumY, nNumX,
                                        lpszTemplatePath, lpszData, nDataLen, lpszCallerText, bFillBackground);
    } catch (...) {
    }
#else
    vitalchart::DrawPluginOnSurface(pDC, nTop, nLeft, nBottom, nRight, nDenY, nDenX, nNumY, nNumX, lpszTemplatePath,
                                    lpszData, nDataLen, lpszCallerText, bFillBackground);
#endif
}

VITALCHART_API void WINAPI cmdLButtonDblClk(int, int, int) {}

}  // extern "C"
