#pragma once

#include <vector>

#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {

// One thing the chart drew, with the pen and brush it was drawn in.
struct LoggedShape {
    enum Kind { kLine, kEllipse, kPolygon, kText };
    Kind nKind;
    RECT box;     // bounding box, right and bottom exclusive
    RECT extent;  // a text's own extent by the recording surface's metric, from the box's top-left; else the box
    POINT ptFrom;
    POINT ptTo;  // a line's end points
    int nPenStyle;
    int nPenWidth;
    COLORREF crPen;
    COLORREF crBrush;
};

// A recording surface that also keeps the geometry of every line, figure and
// text it is asked to draw: where the same chart drawn on a real device
// context must have put its pixels.
class CShapeLog : public CRecordingDC {
public:
    CShapeLog(UINT nCodePage, BOOL bPrinting) : CRecordingDC(nCodePage, bPrinting) {}

    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

    const std::vector<LoggedShape>& GetShapes() const { return m_shapes; }

private:
    // The text's extent by the recording surface's metric, its top-left at (x, y).
    RECT Measure(int x, int y, const char* pText, int nCount);
    void Add(LoggedShape::Kind nKind, const RECT& box);

    std::vector<LoggedShape> m_shapes;
};

}  // namespace vitalchart
