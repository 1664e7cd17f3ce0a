#include <memory>

#include "markup/keyword_table.h"
#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "platform/code_page.h"
#include "render/chart_renderer.h"

namespace vitalchart {

BOOL CChartRenderer::DrawTemplate(CByteBuffer* pBuffer) {
    if (pBuffer == nullptr || m_pDC == nullptr) return 1;
    CKeywordTable keywords;
    WalkLines(*pBuffer, [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
        int nCode = keywords.FindKeyword(ReadTagName(pszLine, nLength, nPos));
        if (nCode < kElementPen || nCode > kElementLineBlock) {
            // The root element and unknown names give up the rest of the line.
            nPos = nLength;
            return true;
        }
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        ParseAttributes(pszLine, nLength, mapAttributes, mapStyles, nPos);
        HandleElement(nCode, mapAttributes);
        return true;
    });
    return 1;
}

void CChartRenderer::HandleElement(int nCode, const CMapStringToString& mapAttributes) {
    // Continuation pages in print get the readings only, not the ruled form.
    bool bDrawForm = !(m_bResumePrint && m_pDC->IsPrinting());
    switch (nCode) {
        case kElementPen: {
            auto pEntry = std::make_unique<CPenEntry>();
            if (pEntry->CreateFromAttributes(mapAttributes, m_nNumX, m_nDenX, IsColorAllowed()) &&
                m_arrPens.Add(pEntry.get())) {
                pEntry.release();
            }
            break;
        }
        case kElementFont: {
            auto pEntry = std::make_unique<CFontEntry>();
            if (pEntry->CreateFromAttributes(mapAttributes, m_nNumX, m_nDenX, GetCodePage()) &&
                m_arrFonts.Add(pEntry.get())) {
                pEntry.release();
            }
            break;
        }
        case kElementLine:
            if (bDrawForm) DrawVitalLine(mapAttributes);
            break;
        case kElementText:
            if (bDrawForm) DrawVitalText(mapAttributes);
            // A colour the label's font brought does not carry over to later elements.
            m_pDC->SetTextColor(m_crSavedText);
            break;
        case kElementLineOut:
            DrawVitalLineOut(mapAttributes);
            break;
        case kElementTextOut:
            DrawVitalTextOut(mapAttributes);
            break;
        case kElementSize: {
            const std::string* pPrintColor = mapAttributes.Find("print-color");
            if (pPrintColor != nullptr && EqualsNoCase(GetCodePage(), *pPrintColor, "false")) m_bPrintColor = 0;
            break;
        }
        case kElementLineBlock:
            DrawVitalLineBlock(mapAttributes);
            break;
        default:
            break;
    }
}

}  // namespace vitalchart
