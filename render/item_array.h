#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// A growable array of element pointers that does not own its elements: the
// renderer deletes them. Capacity runs 0, 256, 512, 1024, 2048 and then in
// steps of 256.
template <typename T>
class CItemArray {
public:
    CItemArray() = default;
    virtual ~CItemArray() { std::free(m_pData); }
    CItemArray(const CItemArray&) = delete;
    CItemArray& operator=(const CItemArray&) = delete;

    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }

    // The element at the index, or null outside 0..count-1.
    T* GetAt(int nIndex) const {
        if (m_pData == nullptr || static_cast<unsigned>(nIndex) >= static_cast<unsigned>(m_nCount)) return nullptr;
        return m_pData[nIndex];
    }

    // Appends the element; 0 with the array unchanged when it cannot grow.
    BOOL Add(T* pItem) {
        if (m_nCount + 1 > m_nCapacity) {
            int nNew;
            if (m_nCapacity == 0) {
                nNew = m_nGrowBy;
            } else if (m_nCapacity < m_nGrowThreshold) {
                nNew = m_nCapacity * 2;
            } else {
                if (m_nCapacity > INT32_MAX - m_nGrowBy) return 0;
                nNew = m_nCapacity + m_nGrowBy;
            }
            if (nNew > m_nAllocated) {
                // The storage itself grows by half again at least, so that a
                // long data text is not copied once every 256 readings; the
                // capacity keeps the steps above.
                const std::int64_t nWanted = std::max<std::int64_t>(nNew, m_nAllocated + m_nAllocated / 2);
                const int nAllocate = static_cast<int>(std::min<std::int64_t>(nWanted, INT32_MAX));
                void* p = std::realloc(m_pData, static_cast<std::size_t>(nAllocate) * sizeof(T*));
                if (p == nullptr) return 0;
                m_pData = static_cast<T**>(p);
                for (int i = m_nAllocated; i < nAllocate; ++i) m_pData[i] = nullptr;
                m_nAllocated = nAllocate;
            }
            m_nCapacity = nNew;
        }
        m_pData[m_nCount++] = pItem;
        return 1;
    }

    // Removes the element at the index, moving the later ones forward.
    void RemoveAt(int nIndex) {
        if (m_pData == nullptr || static_cast<unsigned>(nIndex) >= static_cast<unsigned>(m_nCount)) return;
        for (int i = nIndex; i + 1 < m_nCount; ++i) m_pData[i] = m_pData[i + 1];
        m_pData[--m_nCount] = nullptr;
    }

private:
    T** m_pData = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nAllocated = 0;  // slots of storage, at least the capacity
    int m_nGrowThreshold = 2048;
    int m_nGrowBy = 256;
};

}  // namespace vitalchart
