#include "surface/cairo/clip_geometry.h"

namespace vitalchart {

bool ClipSegment(const SBox& box, double& x0, double& y0, double& x1, double& y1) {
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    auto edge = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!edge(-dx, x0 - box.dLeft) || !edge(dx, box.dRight - x0) || !edge(-dy, y0 - box.dTop) ||
        !edge(dy, box.dBottom - y0)) {
        return false;
    }
    const double ox = x0;
    const double oy = y0;
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
    return true;
}

std::vector<SPoint> ClipPolygon(const SBox& box, std::vector<SPoint> pts) {
    // Each pass writes into the buffer the pass before read from: a huge
    // figure is a polygon of up to 65536 points, and growing a new vector
    // for each of the four passes cost more than the cutting itself.
    std::vector<SPoint> out;
    out.reserve(pts.size() + 8);
    for (int nEdge = 0; nEdge < 4 && !pts.empty(); ++nEdge) {
        const bool bX = nEdge < 2;
        const double limit = nEdge == 0 ? box.dLeft : nEdge == 1 ? box.dRight : nEdge == 2 ? box.dTop : box.dBottom;
        auto inside = [&](const SPoint& p) {
            double v = bX ? p.x : p.y;
            return nEdge % 2 == 0 ? v >= limit : v <= limit;
        };
        auto cross = [&](const SPoint& a, const SPoint& b) {
            double va = bX ? a.x : a.y;
            double vb = bX ? b.x : b.y;
            double t = (limit - va) / (vb - va);
            SPoint p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
            (bX ? p.x : p.y) = limit;
            return p;
        };
        out.clear();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const SPoint& cur = pts[i];
            const SPoint& prev = pts[(i + pts.size() - 1) % pts.size()];
            if (inside(cur)) {
                if (!inside(prev)) out.push_back(cross(prev, cur));
                out.push_back(cur);
            } else if (inside(prev)) {
                out.push_back(cross(prev, cur));
            }
        }
        pts.swap(out);
    }
    return pts;
}

}  // namespace vitalchart
