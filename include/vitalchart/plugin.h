#pragma once

// The plug-in interface: seven functions with C linkage that a host editor
// resolves by name and calls. On 32-bit Windows they use the stdcall
// convention; every argument is 32 bits wide there.

#include "vitalchart/export.h"

#ifdef __cplusplus
#include "vitalchart/platform/win_types.h"
namespace vitalchart {
class CDC;
}
#if defined(_WIN32)
// On Windows the host lends the device-context object of its application
// framework; the plug-in reads its handles and draws with GDI.
struct VitalChartDC;
#else
using VitalChartDC = vitalchart::CDC;
#endif
using VitalChartBool = vitalchart::BOOL;
extern "C" {
#else
typedef struct VitalChartDC VitalChartDC;
typedef int VitalChartBool;
#endif

// 2: the number of names GetPluginFunctionNames reports.
VITALCHART_API int WINAPI GetPluginFunctionCount(void);
// Stores "DisplayDialog" and "DisplayDialog2" in the caller's two slots; 0 for a null array.
VITALCHART_API VitalChartBool WINAPI GetPluginFunctionNames(char** ppszNames);
// The default chart width, 167 mm.
VITALCHART_API float WINAPI GetPluginWidth(void);
// The default chart height, 213 mm.
VITALCHART_API float WINAPI GetPluginHeight(void);
// The size the template's first vitalsize element declares, in mm; 1 when
// found, else 0 with both sizes 0. A null or blank path means "vitalsign.xml".
VITALCHART_API VitalChartBool WINAPI GetPluginSizeByTemplet(float* pWidth, float* pHeight,
                                                            const char* lpszTemplatePath);
// Paints the chart of the template and the readings into the rectangle of the
// surface. The rectangle comes as top, left, bottom, right; the scale pairs
// map 96-per-inch units to device units (vertical, then horizontal).
VITALCHART_API void WINAPI DrawPlugin(VitalChartDC* pDC, int nTop, int nLeft, int nBottom, int nRight, int nDenY,
                                      int nDenX, int nNumY, int nNumX, const char* lpszTemplatePath,
                                      const char* lpszData, int nDataLen, const char* lpszCallerText,
                                      VitalChartBool bFillBackground);
// Does nothing.
VITALCHART_API void WINAPI cmdLButtonDblClk(int nArg1, int nArg2, int nArg3);

#ifdef __cplusplus
}
#endif
