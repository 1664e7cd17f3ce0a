#pragma once

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// Shapes a template may ask a marker for instead of its kind's own.
enum class MarkerShape {
    kOfKind,          // the kind's own shape (kinds 1 to 8; any other kind draws nothing)
    kCross,           // ×
    kDot,             // ● filled
    kCircle,          // ○ hollow
    kTriangle,        // △ hollow
    kFilledTriangle,  // ▲ filled
    kCircleDot,       // ⊙ a circle with a dot
};

// How one marker is drawn: its kind, and what a curve element's attributes
// change of it.
struct MarkerStyle {
    int nKind = 0;
    MarkerShape shape = MarkerShape::kOfKind;
    bool bHasColor = false;  // crColor replaces the kind's colour
    COLORREF crColor = 0;

    // Whether the marker leaves its inside to show through (hollow shapes).
    bool IsHollow() const;
    // Whether anything is drawn at all.
    bool Draws() const { return shape != MarkerShape::kOfKind || (nKind >= 1 && nKind <= 8); }
};

}  // namespace vitalchart
