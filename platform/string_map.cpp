#include "platform/string_map.h"

namespace vitalchart {

void CMapStringToString::SetAt(const std::string& key, const std::string& value) {
    for (auto& entry : m_entries) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    m_entries.emplace_back(key, value);
}

const std::string* CMapStringToString::Find(const std::string& key) const {
    for (const auto& entry : m_entries) {
        if (entry.first == key) return &entry.second;
    }
    return nullptr;
}

BOOL CMapStringToString::Lookup(const std::string& key, std::string& rValue) const {
    const std::string* p = Find(key);
    if (p == nullptr) return 0;
    rValue = *p;
    return 1;
}

}  // namespace vitalchart
