#include "platform/string_map.h"

namespace vitalchart {

std::size_t CMapStringToString::PlaceOf(std::string_view key) const {
    if (!m_index.empty()) {
        const auto it = m_index.find(std::string(key));
        return it == m_index.end() ? kAbsent : it->second;
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first == key) return i;
    }
    return kAbsent;
}

void CMapStringToString::SetAt(std::string_view key, std::string_view value) {
    const std::size_t nPlace = PlaceOf(key);
    if (nPlace != kAbsent) {
        m_entries[nPlace].second.assign(value.data(), value.size());
        return;
    }
    m_entries.emplace_back(std::string(key), std::string(value));
    if (!m_index.empty()) {
        m_index.emplace(m_entries.back().first, m_entries.size() - 1);
    } else if (m_entries.size() > kIndexFrom) {
        for (std::size_t i = 0; i < m_entries.size(); ++i) m_index.emplace(m_entries[i].first, i);
    }
}

const std::string* CMapStringToString::Find(std::string_view key) const {
    const std::size_t nPlace = PlaceOf(key);
    return nPlace == kAbsent ? nullptr : &m_entries[nPlace].second;
}

BOOL CMapStringToString::Lookup(std::string_view key, std::string& rValue) const {
    const std::string* p = Find(key);
    if (p == nullptr) return 0;
    rValue = *p;
    return 1;
}

}  // namespace vitalchart
