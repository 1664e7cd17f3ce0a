#pragma once

#include <cstdint>
#include <cstdio>

namespace vitalchart {

// A growable byte array holding a whole template file or a copy of the data
// text. Storage grows in whole blocks and is zero-filled beyond the content;
// the content itself is not terminated, so readers go by the length.
class CByteBuffer {
public:
    // Block size: the argument when it is 256 or more, else 1024.
    explicit CByteBuffer(std::int32_t nBlockSize);
    virtual ~CByteBuffer();
    CByteBuffer(const CByteBuffer&) = delete;
    CByteBuffer& operator=(const CByteBuffer&) = delete;

    // Makes room for n more bytes; 1, or 0 with the buffer unchanged.
    int Grow(std::int32_t n);
    // Inserts n bytes at position nPos; 1, or 0 with the buffer unchanged.
    int Insert(std::int32_t nPos, const void* pSource, std::int32_t n);
    int Append(const void* pSource, std::int32_t n);
    // Inserts n zero bytes at position nPos; 1, or 0 with the buffer unchanged.
    int InsertZeros(std::int32_t nPos, std::int32_t n);
    // The byte at the offset, or null when the buffer is empty.
    char* GetPtr(std::int32_t nOffset) const;
    // Index of the first line feed from nStart, the length when there is
    // none, or -1 when nStart is not inside the content.
    std::int32_t FindLineEnd(std::int32_t nStart) const;
    // Inserts at nPos the whole file, whose position the caller left at its end; 1 or 0.
    int ReadStream(std::int32_t nPos, std::FILE* pFile);
    // Inserts at nPos the file at the path, read in binary mode; 1 or 0.
    int LoadFile(std::int32_t nPos, const char* pszPath);

    std::int32_t GetLength() const { return m_nLength; }
    std::int32_t GetCapacity() const { return m_nCapacity; }
    std::int32_t GetBlockSize() const { return m_nBlockSize; }

private:
    char* m_pData = nullptr;
    std::int32_t m_nLength = 0;
    std::int32_t m_nCapacity = 0;
    std::int32_t m_nBlockSize;
};

}  // namespace vitalchart
