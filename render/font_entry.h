#pragma once

#include <string>
#include <string_view>

#include "render/element_attributes.h"
#include "vitalchart/platform/gdi_objects.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {

// A font declared by a vitalfont element, selectable by its id, with an
// optional text colour of its own.
class CFontEntry {
public:
    CFontEntry() = default;
    virtual ~CFontEntry();
    CFontEntry(const CFontEntry&) = delete;
    CFontEntry& operator=(const CFontEntry&) = delete;

    // Builds the font from "id", "font-name", "font-size" (scaled by
    // nNum/nDen), "font-bold", "font-underline", "font-inital" and
    // "text-color"; 0 without id, name or size. A face name cut to fit keeps
    // its double-byte characters whole in the attributes' code page.
    BOOL CreateFromAttributes(const CElementAttributes& attributes, int nNum, int nDen);
    // Selects the font when the id matches (letter case ignored) and, when
    // bColorAllowed, its text colour; 1 or 0.
    BOOL SelectIfId(std::string_view id, CDC* pDC, BOOL bColorAllowed);

    std::string m_strId;
    CFont* m_pFont = nullptr;
    COLORREF m_crText = 0;
    BOOL m_bHasColor = 0;
};

}  // namespace vitalchart
