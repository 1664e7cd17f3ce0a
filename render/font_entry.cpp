#include "render/font_entry.h"

#include <cstring>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "platform/mul_div.h"
#include "render/color_triple.h"

namespace vitalchart {

CFontEntry::~CFontEntry() {
    if (m_pFont != nullptr) {
        m_pFont->DeleteObject();
        delete m_pFont;
    }
}

BOOL CFontEntry::CreateFromAttributes(const CElementAttributes& attributes, int nNum, int nDen) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfCharSet = DEFAULT_CHARSET;

    const std::string_view* pId = attributes.Find("id");
    if (pId == nullptr) return 0;
    m_strId = *pId;
    const std::string_view* pName = attributes.Find("font-name");
    if (pName == nullptr) return 0;
    const std::string_view* pSize = attributes.Find("font-size");
    if (pSize == nullptr) return 0;

    CopyTextBounded(attributes.GetCodePage(), lf.lfFaceName, LF_FACESIZE - 1, *pName);
    // A negative height asks for the character height rather than the cell height.
    lf.lfHeight = WrapNeg(MulDiv(crt::atoi(*pSize), nNum, nDen));
    lf.lfWeight = attributes.IsWord("font-bold", "true") ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = attributes.IsWord("font-underline", "true") ? 1 : 0;
    lf.lfItalic = attributes.IsWord("font-inital", "true") ? 1 : 0;

    const std::string_view* pColor = attributes.Find("text-color");
    if (pColor != nullptr) {
        ColorTriple triple = ParseColorTriple(*pColor);
        if (triple.read == ColorRead::kAll) {
            m_crText = triple.ToColorRef();
            m_bHasColor = 1;
        }
    }

    m_pFont = new CFont;
    return m_pFont->CreateFontIndirect(&lf);
}

BOOL CFontEntry::SelectIfId(std::string_view id, CDC* pDC, BOOL bColorAllowed) {
    if (pDC == nullptr || m_pFont == nullptr) return 0;
    if (!EqualsNoCase(pDC->GetCodePage(), m_strId, id)) return 0;
    pDC->SelectObject(m_pFont);
    if (m_bHasColor && bColorAllowed) pDC->SetTextColor(m_crText);
    return 1;
}

}  // namespace vitalchart
