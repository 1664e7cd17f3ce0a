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

std::string_view CRecordStore::KeepOnce(std::string_view text) {
    if (text.empty()) return std::string_view();
    auto it = m_words.find(text);
    if (it == m_words.end()) it = m_words.insert(Keep(text)).first;
    return *it;
}

CVitalRecord* CRecordStore::Add(std::string_view name, std::string_view values, std::string_view originalValues,
                                std::string_view reason, std::string_view comparator) {
    CVitalRecord& record = m_records.emplace_back();
    // A data text names few vital signs many times over: each name once.
    record.m_strName = KeepOnce(name);
    record.m_strValues = Keep(values);
    record.m_strOriginalValues = Keep(originalValues);
    record.m_strReason = KeepOnce(reason);
    // Only "<" and ">" make a value a bound; any other text leaves it a value.
    record.m_chComparator = comparator == "<" || comparator == ">" ? comparator[0] : 0;
    return &record;
}

}  // namespace vitalchart
