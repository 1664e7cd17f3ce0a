#pragma once

#include <cmath>
#include <string_view>

#include "platform/crt_number.h"
#include "platform/int_math.h"

namespace vitalchart {

// The geometry of one curve element: where column 0 and the base value lie,
// and how far apart columns and values are.
struct SeriesAxes {
    int x0 = 0;
    int y0 = 0;
    int cx = 0;
    int cy = 0;
    float fScale = 0.0f;
    float fBaseValue = 0.0f;
    int nSymbol = 0;

    int ColumnX(int nColumn) const { return WrapAdd(x0, WrapMul(nColumn, cx)); }

    // Larger values lie higher on the page. The arithmetic runs in double
    // from the single-precision scale and base, subtract, multiply, divide,
    // then truncates: 37.2 over a base of 35 at 8 units per 0.2 lies 87 units
    // up, not 88.
    int ValueY(std::string_view value) const { return ValueY(crt::atof(value)); }
    int ValueY(double fValue) const {
        const double t =
            (fValue - static_cast<double>(fBaseValue)) * static_cast<double>(cy) / static_cast<double>(fScale);
        return WrapSub(y0, DoubleToInt(t));
    }

    // A scale of 0, or a scale or base that is not a finite number, leaves no
    // height a reading could be plotted at.
    bool IsPlottable() const {
        return fScale != 0.0f && std::isfinite(fScale) && std::isfinite(fBaseValue) &&
               std::isfinite(static_cast<double>(cy) / static_cast<double>(fScale));
    }
};

}  // namespace vitalchart
