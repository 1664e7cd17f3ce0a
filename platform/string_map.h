#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// Text-to-text map of one tag's attributes: keys compared exactly, letter case
// included; storing a key again replaces its value. Entries keep the order
// their keys were first stored in. A tag's few attributes are searched in
// place; past kIndexFrom an index finds a key in constant time, since a
// hostile tag may hold a hundred thousand attributes.
class CMapStringToString {
public:
    // Stores the value under the key, replacing an earlier value.
    void SetAt(std::string_view key, std::string_view value);
    // 1 and the value when the key is present, else 0 and rValue untouched.
    BOOL Lookup(std::string_view key, std::string& rValue) const;
    // The value of a present key, or null.
    const std::string* Find(std::string_view key) const;
    // Room for nMore keys beyond those stored, so that storing them moves nothing.
    void Reserve(std::size_t nMore) { m_entries.reserve(m_entries.size() + nMore); }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }
    // Entries in the order their keys were first stored.
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return m_entries; }

private:
    static constexpr std::size_t kIndexFrom = 16;
    static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

    // The place of the key in m_entries, or kAbsent.
    std::size_t PlaceOf(std::string_view key) const;

    std::vector<std::pair<std::string, std::string>> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;  // key -> place in m_entries, past kIndexFrom entries
};

}  // namespace vitalchart
