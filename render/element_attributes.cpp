#include "render/element_attributes.h"

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"

namespace vitalchart {

void CGrammarUse::NoteRead(int nElementIndex, int nAttributeIndex) {
    if (nElementIndex < 0 || nElementIndex >= kElementRuleCount || nAttributeIndex < 0 || nAttributeIndex >= 32) return;
    m_arrRead[nElementIndex] |= std::uint32_t{1} << nAttributeIndex;
}

void CGrammarUse::NoteUnknown(const ElementRule& rule, const char* pszName) {
    if (m_strUnknown.empty()) m_strUnknown = std::string(rule.pszName) + "." + pszName;
}

bool CGrammarUse::WasRead(int nElementIndex, int nAttributeIndex) const {
    if (nElementIndex < 0 || nElementIndex >= kElementRuleCount || nAttributeIndex < 0 || nAttributeIndex >= 32) {
        return false;
    }
    return (m_arrRead[nElementIndex] >> nAttributeIndex) & 1u;
}

CElementAttributes::CElementAttributes(const ElementRule& rule, const CTagAttributes& attributes,
                                       const CChartGeometry& geometry, UINT nCodePage, CGrammarUse* pUse)
    : m_rule(rule),
      m_attributes(attributes),
      m_geometry(geometry),
      m_nCodePage(nCodePage),
      m_pUse(pUse),
      m_nElementIndex(ElementRuleIndex(rule.nCode)) {}

const AttributeRule* CElementAttributes::Use(const char* pszName) const {
    const int nIndex = m_rule.IndexOf(pszName);
    if (m_pUse != nullptr) {
        if (nIndex < 0) {
            m_pUse->NoteUnknown(m_rule, pszName);
        } else {
            m_pUse->NoteRead(m_nElementIndex, nIndex);
        }
    }
    return nIndex < 0 ? nullptr : &m_rule.pAttributes[nIndex];
}

const std::string_view* CElementAttributes::Find(const char* pszName) const {
    Use(pszName);
    return m_attributes.Find(pszName);
}

int CElementAttributes::Position(const char* pszName) const {
    const AttributeRule* pRule = Use(pszName);
    const std::string_view* pValue = m_attributes.Find(pszName);
    // Templates give every coordinate; one that is missing reads as 0, so a
    // stray closing tag such as </vitalline> draws at the device origin.
    if (pValue == nullptr) return 0;
    const BOOL bVertical = pRule != nullptr && pRule->axis == Axis::kY ? 1 : 0;
    return m_geometry.EvalPosition(*pValue, bVertical, m_nCodePage);
}

int CElementAttributes::Integer(const char* pszName) const {
    const AttributeRule* pRule = Use(pszName);
    const std::string_view* pValue = m_attributes.Find(pszName);
    if (pValue == nullptr) return pRule != nullptr ? pRule->nDefault : 0;
    return crt::atoi(*pValue);
}

bool CElementAttributes::Decimal(const char* pszName, float& rValue) const {
    Use(pszName);
    const std::string_view* pValue = m_attributes.Find(pszName);
    if (pValue == nullptr) return false;
    rValue = DoubleToFloat(crt::atof(*pValue));
    return true;
}

bool CElementAttributes::IsWord(const char* pszName, const char* pszWord) const {
    Use(pszName);
    const std::string_view* pValue = m_attributes.Find(pszName);
    return pValue != nullptr && EqualsNoCase(m_nCodePage, *pValue, pszWord);
}

}  // namespace vitalchart
