#include "render/reading_index.h"

#include "platform/code_page.h"

namespace vitalchart {

CReadingIndex::CReadingIndex(const CItemArray<CVitalRecord>& arrRecords, UINT nCodePage) : m_nCodePage(nCodePage) {
    const int nCount = arrRecords.GetCount();
    for (int i = 0; i < nCount; ++i) {
        const CVitalRecord* pRecord = arrRecords.GetAt(i);
        if (pRecord != nullptr) m_byName[FoldCaseKey(nCodePage, pRecord->m_strName)].push_back(pRecord);
    }
}

const std::vector<const CVitalRecord*>& CReadingIndex::Find(std::string_view name) const {
    static const std::vector<const CVitalRecord*> kNone;
    auto it = m_byName.find(FoldCaseKey(m_nCodePage, name));
    return it == m_byName.end() ? kNone : it->second;
}

}  // namespace vitalchart
