#pragma once

#include <cstdio>
#include <string>

#include "vitalchart/platform/gdi_objects.h"
#include "vitalchart/surface/state_dc.h"

namespace vitalchart {
namespace test {

// A pen, font, text colour and background mode of a host's own, none of
// which a chart template produces, lent with the surface to see that the
// plug-in gives them back.
class CHostState {
public:
    static constexpr COLORREF kTextColour = RGB(7, 8, 9);

    CHostState() {
        m_pen.CreatePen(PS_DASHDOT, 1, RGB(1, 2, 3));
        LOGFONT lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = 500;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "HostFace");
        m_font.CreateFontIndirect(&lf);
    }

    // Selects the host's state into the surface.
    void Apply(CStateDC& dc) {
        dc.SelectObject(&m_pen);
        dc.SelectObject(&m_font);
        dc.SetTextColor(kTextColour);
        dc.SetBkMode(OPAQUE);
    }

    // Empty when the surface holds the host's state again, else what differs.
    std::string WhatIsNotRestored(CStateDC& dc) const {
        if (!dc.GetPen().SameAs(m_pen)) return "the host's pen was not restored";
        if (!dc.GetFont().SameAs(m_font)) return "the host's font was not restored";
        if (dc.GetTextColor() != kTextColour) return "the host's text colour was not restored";
        if (dc.GetBkMode() != OPAQUE) return "the host's background mode was not restored";
        return std::string();
    }

private:
    CPen m_pen;
    CFont m_font;
};

}  // namespace test
}  // namespace vitalchart
