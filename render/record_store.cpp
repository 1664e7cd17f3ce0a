#include "render/record_store.h"

#include <cstring>

namespace vitalchart {

namespace {

// Texts are copied into blocks of this size; a longer one gets a block of
// its own.
constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

std::string_view CRecordStore::Keep(std::string_view text) {
    if (text.empty()) return std::string_view();
    if (text.size() > m_nBlockLeft) {
        const std::size_t nSize = text.size() > kBlockSize / 4 ? text.size() : kBlockSize;
        m_blocks.push_back(std::make_unique<char[]>(nSize));
        if (nSize == text.size()) {
            std::memcpy(m_blocks.back().get(), text.data(), text.size());
            return std::string_view(m_blocks.back().get(), text.size());
        }
        m_pBlockNext = m_blocks.back().get();
        m_nBlockLeft = nSize;
    }
    std::memcpy(m_pBlockNext, text.data(), text.size());
    const std::string_view kept(m_pBlockNext, text.size());
    m_pBlockNext += text.size();
    m_nBlockLeft -= text.size();
    return kept;
}

CVitalRecord* CRecordStore::Add(std::string_view name, std::string_view values, std::string_view originalValues) {
    CVitalRecord& record = m_records.emplace_back();
    // A data text names few vital signs many times over: each name once.
    auto it = m_names.find(name);
    if (it == m_names.end()) it = m_names.insert(Keep(name)).first;
    record.m_strName = *it;
    record.m_strValues = Keep(values);
    record.m_strOriginalValues = Keep(originalValues);
    return &record;
}

}  // namespace vitalchart
