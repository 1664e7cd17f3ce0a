#include <cstdint>

#include "render/chart_renderer.h"
#include "render/template_scan.h"
#include "render/walk_observer.h"

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
        const bool bActs = rule.role != ElementRole::kForm || IsFormDrawn();
        if (m_pObserver != nullptr) m_pObserver->BeginElement(element, bActs);
        if (bActs) (this->*rule.pfnAction)(Attributes(rule, element.attributes));
        // A colour a caption's font brought does not carry over to later
        // elements, whether or not the caption was drawn.
        if (rule.nCode == kElementText) m_pDC->SetTextColor(m_crSavedText);
        if (m_pObserver != nullptr) m_pObserver->EndElement();
    }
}

}  // namespace vitalchart
