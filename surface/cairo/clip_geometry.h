#pragma once

#include <algorithm>
#include <vector>

namespace vitalchart {

// The area that drawing is cut to, in device units.
struct SBox {
    double dLeft;
    double dTop;
    double dRight;
    double dBottom;
    double ClampX(double x) const { return std::max(dLeft, std::min(dRight, x)); }
    double ClampY(double y) const { return std::max(dTop, std::min(dBottom, y)); }
    bool Contains(double x, double y) const { return x >= dLeft && x <= dRight && y >= dTop && y <= dBottom; }
};

struct SPoint {
    double x;
    double y;
};

// Cuts the segment to the box (Liang-Barsky), so that a line from far
// outside still crosses the page at its true slope. False when nothing of it
// lies inside.
bool ClipSegment(const SBox& box, double& x0, double& y0, double& x1, double& y1);

// Cuts a closed polygon to the box (Sutherland-Hodgman), so a figure
// reaching far outside keeps its shape where it is visible; the edges this
// adds run along the box, outside the page.
std::vector<SPoint> ClipPolygon(const SBox& box, std::vector<SPoint> pts);

}  // namespace vitalchart
