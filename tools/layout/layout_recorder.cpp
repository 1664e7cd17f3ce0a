#include "tools/layout/layout_recorder.h"

namespace vitalchart {
namespace cli {

CLayoutRecorder::CLayoutRecorder(PageLayout& rPage, CDC* pSurface)
    : m_rPage(rPage), m_pSurface(pSurface), m_pCurrent(&rPage.outside) {}

void CLayoutRecorder::BeginElement(const CTemplateScan::Element& element, bool bActs) {
    m_rPage.elements.emplace_back();
    ElementLayout& rElement = m_rPage.elements.back();
    rElement.pRule = element.pRule;
    rElement.nLine = element.nLine;
    rElement.nColumn = element.nColumn;
    rElement.bActs = bActs;
    if (element.pRule->role == ElementRole::kDeclares) {
        if (const std::string_view* pId = element.attributes.Find("id")) rElement.strId = *pId;
    }
    m_pCurrent = &rElement;
}

void CLayoutRecorder::EndElement() {
    ElementLayout& rElement = *m_pCurrent;
    rElement.strPenId = m_strPenId;
    rElement.strFontId = m_strFontId;
    if (const CGdiObject* pPen = m_pSurface->GetCurrentObject(OBJ_PEN)) rElement.pen = *static_cast<const CPen*>(pPen);
    if (const CGdiObject* pFont = m_pSurface->GetCurrentObject(OBJ_FONT)) {
        rElement.font = *static_cast<const CFont*>(pFont);
    }
    m_pCurrent = &m_rPage.outside;
}

}  // namespace cli
}  // namespace vitalchart
