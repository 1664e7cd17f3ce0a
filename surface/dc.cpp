#include "vitalchart/surface/dc.h"

#include <vector>

#include "surface/hatch_lines.h"

namespace vitalchart {

CDC::~CDC() = default;

void CDC::HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) {
    const std::vector<HatchStroke> strokes = HatchStrokes(pPoints, nCount, nSpacing, bRising != 0);
    if (strokes.empty()) return;
    const POINT ptBefore = MoveTo(strokes.front().from.x, strokes.front().from.y);
    for (const HatchStroke& stroke : strokes) {
        MoveTo(stroke.from.x, stroke.from.y);
        LineTo(stroke.to.x, stroke.to.y);
    }
    MoveTo(ptBefore.x, ptBefore.y);
}

}  // namespace vitalchart
