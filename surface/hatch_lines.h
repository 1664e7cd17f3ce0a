#pragma once

#include <vector>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// One stroke of a hatching, from one point to the other.
struct HatchStroke {
    POINT from;
    POINT to;
};

// Most strokes one hatching draws: far more than a chart's area needs, and a
// bound on what a hostile polygon can cost.
constexpr int kMaxHatchStrokes = 20000;

// The strokes that hatch the inside of a closed polygon (even-odd rule):
// parallel lines nSpacing device units apart along the x axis, on the lines
// x + y = k * nSpacing (rising to the right on a page whose y grows
// downwards) or x - y = k * nSpacing (falling), cut at the polygon's edges.
// In integer arithmetic, so every surface and platform draws the same; none
// for a spacing below 1 or a polygon of fewer than 3 points, and at most
// kMaxHatchStrokes.
std::vector<HatchStroke> HatchStrokes(const POINT* pPoints, int nCount, int nSpacing, bool bRising);

}  // namespace vitalchart
