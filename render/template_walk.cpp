#include <cstdint>

#include "render/chart_renderer.h"
#include "render/template_scan.h"

namespace vitalchart {

BOOL CChartRenderer::DrawTemplate(const CByteBuffer* pBuffer) {
    if (pBuffer == nullptr || m_pDC == nullptr) return 1;
    CTemplateScan scan;
    scan.Scan(pBuffer->GetPtr(0), pBuffer->GetLength(), TextStart(*pBuffer));
    DrawScannedTemplate(scan);
    return 1;
}

void CChartRenderer::DrawScannedTemplate(const CTemplateScan& scan) {
    if (m_pDC == nullptr) return;
    for (const CTemplateScan::Element& element : scan.GetElements()) {
        const ElementRule& rule = *element.pRule;
        // Continuation pages in print get the readings only, not the ruled form.
        if (rule.role != ElementRole::kForm || IsFormDrawn())
            (this->*rule.pfnAction)(Attributes(rule, element.attributes));
        // A colour a caption's font brought does not carry over to later
        // elements, whether or not the caption was drawn.
        if (rule.nCode == kElementText) m_pDC->SetTextColor(m_crSavedText);
    }
}

}  // namespace vitalchart
