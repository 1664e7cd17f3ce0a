#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "render/element_grammar.h"
#include "vitalchart/platform/gdi_objects.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// The smallest rectangle around what was added, in device units; empty until
// the first point.
class CDeviceBox {
public:
    void Add(int x, int y) {
        if (m_bEmpty) {
            m_rect = {x, y, x, y};
            m_bEmpty = false;
            return;
        }
        m_rect.left = std::min(m_rect.left, x);
        m_rect.top = std::min(m_rect.top, y);
        m_rect.right = std::max(m_rect.right, x);
        m_rect.bottom = std::max(m_rect.bottom, y);
    }
    void Add(const RECT& rect) {
        Add(rect.left, rect.top);
        Add(rect.right, rect.bottom);
    }
    void Add(const CDeviceBox& box) {
        if (!box.m_bEmpty) Add(box.m_rect);
    }
    bool IsEmpty() const { return m_bEmpty; }
    const RECT& Get() const { return m_rect; }

private:
    bool m_bEmpty = true;
    RECT m_rect = {0, 0, 0, 0};
};

// A line from one point to another.
struct DrawnLine {
    POINT from;
    POINT to;
};

// A text as the surface drew it: its bytes in the surface's code page, the
// box its measured extent takes where it was placed, and its colour.
struct DrawnText {
    std::string strText;
    RECT box;
    COLORREF crColor;
};

// What drew on one page between two points of the template walk: one
// element, or the drawing pass itself outside any element (the background
// fill, a message about the template).
struct ElementLayout {
    const ElementRule* pRule = nullptr;  // null: the pass itself
    std::int32_t nLine = 0;              // where the element's tag begins (from 1)
    std::int32_t nColumn = 0;
    bool bActs = true;  // false: a part of the form left out on a continuation page in print
    std::string strId;  // a pen's or font's id, for a declaration

    std::vector<DrawnLine> lines;
    std::vector<RECT> ellipses;
    std::vector<std::vector<POINT>> polygons;
    std::vector<RECT> fills;
    std::vector<std::vector<POINT>> hatches;
    std::vector<DrawnText> texts;
    CDeviceBox box;  // around all of it

    // The pen and font in force when the element ended: the ids of the
    // declarations last selected (empty: the host's own), and the objects as
    // the surface holds them. Each text keeps the colour it was drawn in.
    std::string strPenId;
    std::string strFontId;
    CPen pen;
    CFont font;

    bool DrewLines() const { return !lines.empty() || !ellipses.empty() || !polygons.empty() || !hatches.empty(); }
    bool DrewAnything() const { return !box.IsEmpty(); }
};

// One page's elements in walk order, and what the pass drew outside them.
struct PageLayout {
    std::string strData;  // the data file of the page; empty: the empty form
    std::vector<ElementLayout> elements;
    ElementLayout outside;
};

}  // namespace cli
}  // namespace vitalchart
