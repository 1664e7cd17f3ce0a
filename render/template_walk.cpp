#include <cstdint>

#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "render/chart_renderer.h"
#include "render/keyword_table.h"

namespace vitalchart {

BOOL CChartRenderer::DrawTemplate(const CByteBuffer* pBuffer) {
    if (pBuffer == nullptr || m_pDC == nullptr) return 1;
    const CKeywordTable keywords;
    CTagAttributes tag;
    WalkTextLines(
        pBuffer->GetPtr(0), pBuffer->GetLength(),
        [&](const char* pszLine, std::int32_t nLength, std::int32_t& nPos) {
            const ElementRule* pRule = FindElementRule(keywords.FindKeyword(ReadTagNameView(pszLine, nLength, nPos)));
            if (pRule == nullptr || pRule->pfnAction == nullptr) {
                // The root element and unknown names give up the rest of the line.
                nPos = nLength;
                return true;
            }
            ScanAttributes(pszLine, nLength, tag, nPos);
            // Continuation pages in print get the readings only, not the ruled form.
            if (pRule->role != ElementRole::kForm || IsFormDrawn()) (this->*pRule->pfnAction)(Attributes(*pRule, tag));
            // A colour a caption's font brought does not carry over to later
            // elements, whether or not the caption was drawn.
            if (pRule->nCode == kElementText) m_pDC->SetTextColor(m_crSavedText);
            return true;
        },
        TextStart(*pBuffer));
    return 1;
}

}  // namespace vitalchart
