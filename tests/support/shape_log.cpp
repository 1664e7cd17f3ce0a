#include "support/shape_log.h"

#include <algorithm>
#include <cstring>

namespace vitalchart {

RECT CShapeLog::Measure(int x, int y, const char* pText, int nCount) {
    // The recording surface's own measure, which records nothing.
    RECT rc = {x, y, x, y};
    CRecordingDC::DrawText(pText, nCount, &rc, DT_CALCRECT);
    return rc;
}

void CShapeLog::Add(LoggedShape::Kind nKind, const RECT& box) {
    LoggedShape shape = {};
    shape.nKind = nKind;
    shape.box = box;
    shape.extent = box;
    shape.nPenStyle = GetPen().m_nStyle;
    shape.nPenWidth = GetPen().m_nWidth;
    shape.crPen = GetPen().m_crColor;
    shape.crBrush = GetBrush().m_crColor;
    m_shapes.push_back(shape);
}

void CShapeLog::LineTo(int x, int y) {
    POINT from = GetCurrentPosition();
    Add(LoggedShape::kLine,
        RECT{std::min(from.x, x), std::min(from.y, y), std::max(from.x, x) + 1, std::max(from.y, y) + 1});
    m_shapes.back().ptFrom = from;
    m_shapes.back().ptTo = POINT{x, y};
    CRecordingDC::LineTo(x, y);
}

void CShapeLog::Ellipse(int nLeft, int nTop, int nRight, int nBottom) {
    Add(LoggedShape::kEllipse, RECT{nLeft, nTop, nRight, nBottom});
    CRecordingDC::Ellipse(nLeft, nTop, nRight, nBottom);
}

void CShapeLog::Polygon(const POINT* pPoints, int nCount) {
    if (pPoints != nullptr && nCount > 0) {
        RECT box = {pPoints[0].x, pPoints[0].y, pPoints[0].x + 1, pPoints[0].y + 1};
        for (int i = 1; i < nCount; ++i) {
            box.left = std::min(box.left, pPoints[i].x);
            box.top = std::min(box.top, pPoints[i].y);
            box.right = std::max(box.right, pPoints[i].x + 1);
            box.bottom = std::max(box.bottom, pPoints[i].y + 1);
        }
        Add(LoggedShape::kPolygon, box);
    }
    CRecordingDC::Polygon(pPoints, nCount);
}

void CShapeLog::TextOut(int x, int y, const char* pText, int nCount) {
    if (pText != nullptr && nCount > 0) {
        Add(LoggedShape::kText, Measure(x, y, pText, nCount));
    }
    CRecordingDC::TextOut(x, y, pText, nCount);
}

void CShapeLog::DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) {
    if (pRect != nullptr && !(nFormat & DT_CALCRECT)) {
        Add(LoggedShape::kText, *pRect);
        m_shapes.back().extent = Measure(pRect->left, pRect->top, pText, nCount);
    }
    CRecordingDC::DrawText(pText, nCount, pRect, nFormat);
}

}  // namespace vitalchart
