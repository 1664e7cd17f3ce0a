#pragma once

#include <string>
#include <string_view>

#include "render/element_attributes.h"
#include "vitalchart/platform/gdi_objects.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {

// A pen declared by a vitalpen element, selectable by its id.
class CPenEntry {
public:
    CPenEntry() = default;
    virtual ~CPenEntry();
    CPenEntry(const CPenEntry&) = delete;
    CPenEntry& operator=(const CPenEntry&) = delete;

    // Builds the pen from "id", "pen-width" (scaled by nNum/nDen), "color"
    // (read only when bColorAllowed) and "pen-style"; 0 without id or width.
    BOOL CreateFromAttributes(const CElementAttributes& attributes, int nNum, int nDen, BOOL bColorAllowed);
    // Selects the pen when the id matches (letter case ignored); 1 or 0.
    BOOL SelectIfId(std::string_view id, CDC* pDC);

    std::string m_strId;
    CPen* m_pPen = nullptr;
};

}  // namespace vitalchart
