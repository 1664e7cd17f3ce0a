#include "render/keyword_table.h"

#include <vector>

namespace vitalchart {

CKeywordTable::~CKeywordTable() = default;

namespace {

// The grammar's element names in an open-addressed table: each slot holds the
// index of an element, or -1. A template names an element on every line, so
// the look-up is one hash and, as a rule, one comparison.
class CNameIndex {
public:
    CNameIndex() {
        std::size_t nCount = 0;
        for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) ++nCount;
        std::size_t nSlots = 16;
        while (nSlots < nCount * 4) nSlots *= 2;
        m_slots.assign(nSlots, -1);
        for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
            const std::string_view name(p->pszName);
            std::size_t k = Slot(name);
            // A name met again keeps its first element, as the grammar's order has it.
            while (m_slots[k] >= 0 && m_names[static_cast<std::size_t>(m_slots[k])] != name) k = Next(k);
            if (m_slots[k] < 0) m_slots[k] = static_cast<int>(m_names.size());
            m_names.push_back(name);
        }
    }

    // The element index of the name (exact, case-sensitive, whole: an
    // embedded zero byte makes it differ), or -1.
    int Find(std::string_view name) const {
        for (std::size_t k = Slot(name);; k = Next(k)) {
            const int nIndex = m_slots[k];
            if (nIndex < 0 || m_names[static_cast<std::size_t>(nIndex)] == name) return nIndex;
        }
    }

private:
    std::size_t Slot(std::string_view name) const {
        if (name.empty()) return 0;
        const auto byte = [&name](std::size_t k) {
            return static_cast<std::size_t>(static_cast<unsigned char>(name[k]));
        };
        // Every name begins "vital": its length and later bytes tell them apart.
        return (name.size() * 7 + byte(name.size() >> 1) * 3 + byte(name.size() - 1)) & (m_slots.size() - 1);
    }
    std::size_t Next(std::size_t k) const { return (k + 1) & (m_slots.size() - 1); }

    std::vector<int> m_slots;
    std::vector<std::string_view> m_names;
};

}  // namespace

int CKeywordTable::FindKeyword(std::string_view name) const {
    static const CNameIndex s_index;
    const int nIndex = s_index.Find(name);
    return nIndex < 0 ? kElementUnknown : TemplateElementsBegin()[nIndex].nCode;
}

}  // namespace vitalchart
