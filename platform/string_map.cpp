#include "platform/string_map.h"

namespace vitalchart {

void CMapStringToString::SetAt(const std::string& key, const std::string& value) {
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        m_entries[it->second].second = value;
        return;
    }
    m_entries.emplace_back(key, value);
    m_index.emplace(key, m_entries.size() - 1);
}

const std::string* CMapStringToString::Find(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_entries[it->second].second;
}

BOOL CMapStringToString::Lookup(const std::string& key, std::string& rValue) const {
    const std::string* p = Find(key);
    if (p == nullptr) return 0;
    rValue = *p;
    return 1;
}

}  // namespace vitalchart
