#include "render/chart_renderer.h"

#include <utility>

#include "platform/code_page.h"
#include "render/walk_observer.h"

namespace vitalchart {

namespace {

template <typename T>
void DeleteAll(CItemArray<T>& arr) {
    for (int i = arr.GetCount() - 1; i >= 0; --i) {
        T* p = arr.GetAt(i);
        arr.RemoveAt(i);
        delete p;
    }
}

}  // namespace

CChartRenderer::CChartRenderer() = default;

CChartRenderer::CChartRenderer(CDC* pDC, const CChartGeometry& geometry, std::string strTemplatePath,
                               std::string strCallerText)
    : m_pDC(pDC),
      m_geometry(geometry),
      m_strTemplatePath(std::move(strTemplatePath)),
      m_strCallerText(std::move(strCallerText)) {}

CChartRenderer::~CChartRenderer() {
    // Fonts and pens go before the records; each array from its last element.
    // The records themselves belong to the record store.
    DeleteAll(m_arrFonts);
    DeleteAll(m_arrPens);
    for (int i = m_arrRecords.GetCount() - 1; i >= 0; --i) m_arrRecords.RemoveAt(i);
}

int CChartRenderer::MmToDevice(float fMillimetres) const {
    return CChartGeometry::MmToDevice(fMillimetres);
}

int CChartRenderer::EvalPosition(std::string_view expression, BOOL bVertical) const {
    return m_geometry.EvalPosition(expression, bVertical, GetCodePage());
}

BOOL CChartRenderer::IsColorAllowed() const {
    if (m_pDC == nullptr || !m_pDC->IsPrinting()) return 1;
    return m_bPrintColor ? 1 : 0;
}

UINT CChartRenderer::GetCodePage() const {
    return m_pDC != nullptr ? m_pDC->GetCodePage() : CP_UTF8;
}

std::int32_t CChartRenderer::TextStart(const CByteBuffer& buffer) const {
    const std::size_t nLength = static_cast<std::size_t>(buffer.GetLength());
    return static_cast<std::int32_t>(ByteOrderMarkLength(GetCodePage(), buffer.GetPtr(0), nLength));
}

bool CChartRenderer::IsFormDrawn() const {
    return !(m_bResumePrint && m_pDC != nullptr && m_pDC->IsPrinting());
}

CElementAttributes CChartRenderer::Attributes(const ElementRule& rule, const CTagAttributes& attributes) {
    return CElementAttributes(rule, attributes, m_geometry, GetCodePage(), &m_grammarUse);
}

const CReadingIndex& CChartRenderer::Readings() {
    if (m_pReadings == nullptr || m_nIndexedRecords != m_arrRecords.GetCount()) {
        m_pReadings = std::make_unique<CReadingIndex>(m_arrRecords, GetCodePage());
        m_nIndexedRecords = m_arrRecords.GetCount();
    }
    return *m_pReadings;
}

BOOL CChartRenderer::AddRecord(std::string_view name, std::string_view values, std::string_view originalValues,
                               std::int32_t nCellIndex, std::int32_t nOriginalCellIndex,
                               std::int32_t nSpecialSymbolFlag, std::string_view reason, std::string_view comparator) {
    CVitalRecord* pRecord = m_records.Add(name, values, originalValues, reason, comparator);
    pRecord->m_nCellIndex = nCellIndex;
    pRecord->m_nOriginalCellIndex = nOriginalCellIndex;
    pRecord->m_nSpecialSymbolFlag = nSpecialSymbolFlag;
    if (m_arrRecords.Add(pRecord)) return 1;
    m_records.RemoveLast();
    return 0;
}

void CChartRenderer::DeclarePen(const CElementAttributes& attributes) {
    const ScalePair scale = m_geometry.GetScaleX();
    auto pEntry = std::make_unique<CPenEntry>();
    if (pEntry->CreateFromAttributes(attributes, scale.nNum, scale.nDen, IsColorAllowed()) &&
        m_arrPens.Add(pEntry.get())) {
        pEntry.release();
    }
}

void CChartRenderer::DeclareFont(const CElementAttributes& attributes) {
    const ScalePair scale = m_geometry.GetScaleX();
    auto pEntry = std::make_unique<CFontEntry>();
    if (pEntry->CreateFromAttributes(attributes, scale.nNum, scale.nDen) && m_arrFonts.Add(pEntry.get())) {
        pEntry.release();
    }
}

void CChartRenderer::ApplySize(const CElementAttributes& attributes) {
    // Only "false" turns print colour off; nothing turns it back on.
    if (attributes.IsWord("print-color", "false")) m_bPrintColor = 0;
}

void CChartRenderer::SelectPenById(std::string_view id) {
    if (m_pDC == nullptr) return;
    const int nCount = m_arrPens.GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (!m_budget.Spend(1)) return;
        CPenEntry* pEntry = m_arrPens.GetAt(i);
        if (pEntry != nullptr && pEntry->SelectIfId(id, m_pDC)) {
            if (pEntry->m_pPen->IsAttached()) {
                m_budget.SetPen(pEntry->m_pPen);
                if (m_pObserver != nullptr) m_pObserver->PenSelected(pEntry->m_strId);
            }
            return;
        }
    }
}

void CChartRenderer::SelectFontById(std::string_view id) {
    if (m_pDC == nullptr) return;
    const BOOL bColorAllowed = IsColorAllowed();
    const int nCount = m_arrFonts.GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (!m_budget.Spend(1)) return;
        CFontEntry* pEntry = m_arrFonts.GetAt(i);
        if (pEntry != nullptr && pEntry->SelectIfId(id, m_pDC, bColorAllowed)) {
            if (pEntry->m_pFont->IsAttached()) {
                m_budget.SetFont(pEntry->m_pFont);
                if (m_pObserver != nullptr) m_pObserver->FontSelected(pEntry->m_strId);
            }
            return;
        }
    }
}

}  // namespace vitalchart
