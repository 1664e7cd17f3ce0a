#include "render/pen_entry.h"

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/mul_div.h"
#include "render/color_triple.h"

namespace vitalchart {

CPenEntry::~CPenEntry() {
    if (m_pPen != nullptr) {
        m_pPen->DeleteObject();
        delete m_pPen;
    }
}

BOOL CPenEntry::CreateFromAttributes(const CElementAttributes& attributes, int nNum, int nDen, BOOL bColorAllowed) {
    const std::string_view* pId = attributes.Find("id");
    if (pId == nullptr) return 0;
    m_strId = *pId;
    const std::string_view* pWidth = attributes.Find("pen-width");
    if (pWidth == nullptr) return 0;
    int nWidth = MulDiv(crt::atoi(*pWidth), nNum, nDen);

    COLORREF crColor = RGB(0, 0, 0);
    const std::string_view* pColor = attributes.Find("color");
    if (bColorAllowed && pColor != nullptr) {
        // Components that were not read stay 0: "r,g" gives pure red.
        crColor = ParseColorTriple(*pColor).ToColorRef();
    }

    int nStyle = PS_SOLID;
    const std::string_view* pStyle = attributes.Find("pen-style");
    if (pStyle != nullptr) {
        nStyle = crt::atoi(*pStyle);
        if (nStyle < PS_SOLID) nStyle = PS_SOLID;
        if (nStyle > PS_DASHDOTDOT) nStyle = PS_DASHDOTDOT;
    }

    m_pPen = new CPen;
    // Patterned pens are always one device unit wide; only solid pens scale.
    if (nStyle == PS_SOLID) {
        m_pPen->CreatePen(PS_SOLID, nWidth, crColor);
    } else {
        m_pPen->CreatePen(nStyle, 1, crColor);
    }
    return 1;
}

BOOL CPenEntry::SelectIfId(std::string_view id, CDC* pDC) {
    if (pDC == nullptr || m_pPen == nullptr) return 0;
    if (!EqualsNoCase(pDC->GetCodePage(), m_strId, id)) return 0;
    pDC->SelectObject(m_pPen);
    return 1;
}

}  // namespace vitalchart
