#pragma once

#include "vitalchart/surface/dc.h"

namespace vitalchart {

// What DrawPlugin does once it has a surface: the renderer gets the rectangle
// (top, left, bottom, right), the scale pairs and both texts, reads the data
// text and runs the drawing pass. Nothing for a null surface; no exception
// leaves it.
void DrawPluginOnSurface(CDC* pDC, int nTop, int nLeft, int nBottom, int nRight, int nDenY, int nDenX, int nNumY,
                         int nNumX, const char* lpszTemplatePath, const char* lpszData, int nDataLen,
                         const char* lpszCallerText, BOOL bFillBackground);

}  // namespace vitalchart
