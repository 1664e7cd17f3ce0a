#pragma once

#include <string_view>

#include "render/template_scan.h"

namespace vitalchart {

// Follows a drawing pass element by element, for a host that wants to know
// which line of the template drew what (the command's layout view). The
// renderer calls it only when a host has set one; a pass without one draws
// and costs as before, and an observer never changes what is drawn.
class CWalkObserver {
public:
    virtual ~CWalkObserver() = default;

    // Before the element acts. bActs is false for an element of the ruled
    // form that a continuation page in print leaves out.
    virtual void BeginElement(const CTemplateScan::Element& element, bool bActs) = 0;
    // After the element, and after the text colour a caption's font brought
    // was put back.
    virtual void EndElement() = 0;
    // The element selected the declared pen or font with this id, written as
    // its declaration writes it.
    virtual void PenSelected(std::string_view id) = 0;
    virtual void FontSelected(std::string_view id) = 0;
};

}  // namespace vitalchart
