#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "markup/vital_record.h"

namespace vitalchart {

// The readings of one call and their texts, kept compactly: records in
// blocks, each vital-sign name stored once, values side by side in large
// blocks of text. A reading costs its record and its value's bytes.
class CRecordStore {
public:
    CRecordStore() = default;
    CRecordStore(const CRecordStore&) = delete;
    CRecordStore& operator=(const CRecordStore&) = delete;

    // A new reading with copies of the texts; its address stays valid while
    // the store lives.
    CVitalRecord* Add(std::string_view name, std::string_view values, std::string_view originalValues,
                      std::string_view reason = {}, std::string_view comparator = {});
    // Takes back the reading Add made last (one the reading list could not take).
    void RemoveLast() { m_records.pop_back(); }

private:
    std::string_view Keep(std::string_view text);
    // The text once per distinct text: names, reasons and comparators repeat.
    std::string_view KeepOnce(std::string_view text);

    std::deque<CVitalRecord> m_records;
    std::unordered_set<std::string_view> m_words;  // views into m_blocks
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_nBlockLeft = 0;
    char* m_pBlockNext = nullptr;
};

}  // namespace vitalchart
