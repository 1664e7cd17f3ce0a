#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/marker_style.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// A reading a curve element placed on the page: its column, its point and
// how its marker was drawn; or a reading that broke the curve in its column.
struct PlottedPoint {
    int nColumn;
    POINT pt;
    MarkerStyle style;
    bool bBreak = false;  // a reading that broke the curve here: no point was placed
};

// The points the curves of a drawing pass placed, by vital-sign name (ASCII
// case folded in the surface's code page), in the order they were drawn: what
// rings and hatchings drawn after the curves are laid out on.
class CPlottedPoints {
public:
    void Add(const std::string& strKey, const PlottedPoint& point) { m_byName[strKey].push_back(point); }
    // The points of the name's key, or none.
    const std::vector<PlottedPoint>& Find(const std::string& strKey) const {
        static const std::vector<PlottedPoint> kNone;
        auto it = m_byName.find(strKey);
        return it == m_byName.end() ? kNone : it->second;
    }

private:
    std::unordered_map<std::string, std::vector<PlottedPoint>> m_byName;
};

}  // namespace vitalchart
