#include "render/template_scan.h"

#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "render/keyword_table.h"

namespace vitalchart {

void CTemplateScan::Scan(const char* pText, std::int32_t nLength, std::int32_t nStart) {
    m_elements.clear();
    const CKeywordTable keywords;
    WalkTextLinesNumbered(
        pText, nLength,
        [&](std::int32_t nLine, const char* pszLine, std::int32_t nLineLength, std::int32_t& nPos) {
            const bool bLineFirst = nPos == 0;
            const std::int32_t nColumn = nPos + 1;
            const ElementRule* pRule =
                FindElementRule(keywords.FindKeyword(ReadTagNameView(pszLine, nLineLength, nPos)));
            if (pRule == nullptr || pRule->pfnAction == nullptr) {
                // The root element and unknown names give up the rest of the line.
                nPos = nLineLength;
                return true;
            }
            m_elements.push_back({pRule, bLineFirst, CTagAttributes(), nLine, nColumn});
            ScanAttributes(pszLine, nLineLength, m_elements.back().attributes, nPos);
            return true;
        },
        nStart);
}

}  // namespace vitalchart
