#include "markup/byte_buffer.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace vitalchart {

namespace {

// The smallest whole multiple of nBlock that is at least nNeed (both not
// negative, nBlock above 0), or -1 when it does not fit in 32 bits. This is
// (nNeed + nBlock - 1) / nBlock * nBlock without the intermediate sum, which
// could overflow even when the result fits.
std::int32_t RoundUpToBlock(std::int32_t nNeed, std::int32_t nBlock) {
    std::int32_t nBlocks = nNeed / nBlock;
    if (nNeed % nBlock != 0) ++nBlocks;
    std::int32_t nResult = 0;
    if (__builtin_mul_overflow(nBlocks, nBlock, &nResult)) return -1;
    return nResult;
}

// The file at the path opened for binary reading, or null. Only a regular
// file qualifies: opening a named pipe would wait for a writer for ever and
// hold the host with it, and a folder or a device has no end to seek.
std::FILE* OpenRegularFile(const char* pszPath) {
#if defined(_WIN32)
    return std::fopen(pszPath, "rb");
#else
    const int fd = ::open(pszPath, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* pFile = ::fdopen(fd, "rb");
    if (pFile == nullptr) ::close(fd);
    return pFile;
#endif
}

}  // namespace

CByteBuffer::CByteBuffer(std::int32_t nBlockSize) : m_nBlockSize(nBlockSize >= 256 ? nBlockSize : 1024) {}

CByteBuffer::~CByteBuffer() {
    std::free(m_pData);
}

int CByteBuffer::Grow(std::int32_t n) {
    if (n < 0) return 0;
    // Room enough already: nothing to obtain (callers grow only when it is not).
    if (m_nCapacity - m_nLength >= n) return 1;
    std::int32_t nNeed = 0;
    if (__builtin_add_overflow(m_nLength, n, &nNeed)) return 0;
    const std::int32_t nNewCapacity = RoundUpToBlock(nNeed, m_nBlockSize);
    if (nNewCapacity <= 0) return 0;
    // realloc keeps the first m_nLength bytes (all that matter) and leaves the
    // old storage in place when it fails.
    void* pNew = std::realloc(m_pData, static_cast<std::size_t>(nNewCapacity));
    if (pNew == nullptr) return 0;
    m_pData = static_cast<char*>(pNew);
    std::memset(m_pData + m_nLength, 0, static_cast<std::size_t>(nNewCapacity - m_nLength));
    m_nCapacity = nNewCapacity;
    return 1;
}

int CByteBuffer::Insert(std::int32_t nPos, const void* pSource, std::int32_t n) {
    if (n == 0) return 1;
    if (n < 0 || nPos < 0 || nPos > m_nLength || pSource == nullptr) return 0;
    const char* pBytes = static_cast<const char*>(pSource);
    // A source inside this buffer's own storage would move or vanish when the
    // storage grows or the tail moves up: copy it out first.
    const std::less<const char*> before;
    if (m_pData != nullptr && !before(pBytes, m_pData) && before(pBytes, m_pData + m_nCapacity)) {
        std::vector<char> copy(pBytes, pBytes + n);
        return Insert(nPos, copy.data(), n);
    }
    if (m_nCapacity - m_nLength < n && !Grow(n)) return 0;
    if (nPos < m_nLength) {
        std::memmove(m_pData + nPos + n, m_pData + nPos, static_cast<std::size_t>(m_nLength - nPos));
    }
    std::memcpy(m_pData + nPos, pBytes, static_cast<std::size_t>(n));
    m_nLength += n;
    return 1;
}

int CByteBuffer::Append(const void* pSource, std::int32_t n) {
    return Insert(m_nLength, pSource, n);
}

int CByteBuffer::InsertZeros(std::int32_t nPos, std::int32_t n) {
    if (n == 0) return 1;
    if (n < 0 || nPos < 0 || nPos > m_nLength) return 0;
    if (m_nCapacity - m_nLength < n && !Grow(n)) return 0;
    if (nPos < m_nLength) {
        std::memmove(m_pData + nPos + n, m_pData + nPos, static_cast<std::size_t>(m_nLength - nPos));
    }
    std::memset(m_pData + nPos, 0, static_cast<std::size_t>(n));
    m_nLength += n;
    return 1;
}

char* CByteBuffer::GetPtr(std::int32_t nOffset) const {
    if (m_pData == nullptr || m_nLength == 0) return nullptr;
    // Outside the content (a broken precondition): no pointer either.
    if (nOffset < 0 || nOffset > m_nLength) return nullptr;
    return m_pData + nOffset;
}

std::int32_t CByteBuffer::FindLineEnd(std::int32_t nStart) const {
    if (m_pData == nullptr || m_nLength == 0 || nStart < 0 || nStart >= m_nLength) return -1;
    const void* pFeed = std::memchr(m_pData + nStart, '\n', static_cast<std::size_t>(m_nLength - nStart));
    if (pFeed == nullptr) return m_nLength;
    return static_cast<std::int32_t>(static_cast<const char*>(pFeed) - m_pData);
}

int CByteBuffer::ReadStream(std::int32_t nPos, std::FILE* pFile) {
    if (pFile == nullptr || nPos < 0 || nPos > m_nLength) return 0;
    const long nFileSize = std::ftell(pFile);
    if (nFileSize < 0) return 0;  // the size query failed
    if (nFileSize > INT32_MAX) return 0;
    if (std::fseek(pFile, 0, SEEK_SET) != 0) return 0;
    const std::int32_t nSize = static_cast<std::int32_t>(nFileSize);
    if (nSize == 0) return 1;

    const std::int32_t nOldCapacity = m_nCapacity;
    if (!InsertZeros(nPos, nSize)) return 0;

    std::int32_t nRead = 0;
    while (nRead < nSize) {
        const std::size_t nGot = std::fread(m_pData + nPos + nRead, 1, static_cast<std::size_t>(nSize - nRead), pFile);
        if (nGot == 0) break;  // end of file before the measured size, or a read error
        nRead += static_cast<std::int32_t>(nGot);
    }
    if (nRead == nSize) return 1;

    // Fewer bytes than measured: take the gap out again so the buffer is as it was.
    std::memmove(m_pData + nPos, m_pData + nPos + nSize, static_cast<std::size_t>(m_nLength - nPos - nSize));
    m_nLength -= nSize;
    std::memset(m_pData + m_nLength, 0, static_cast<std::size_t>(m_nCapacity - m_nLength));
    if (m_nCapacity != nOldCapacity) {
        if (nOldCapacity == 0) {
            std::free(m_pData);
            m_pData = nullptr;
            m_nCapacity = 0;
        } else if (void* pOld = std::realloc(m_pData, static_cast<std::size_t>(nOldCapacity))) {
            // (Should shrinking fail, the larger storage simply stays.)
            m_pData = static_cast<char*>(pOld);
            m_nCapacity = nOldCapacity;
        }
    }
    return 0;
}

int CByteBuffer::LoadFile(std::int32_t nPos, const char* pszPath) {
    if (pszPath == nullptr) return 0;
    std::FILE* pFile = OpenRegularFile(pszPath);
    if (pFile == nullptr) return 0;
    if (std::fseek(pFile, 0, SEEK_END) != 0) {
        std::fclose(pFile);
        return 0;
    }
    const int nResult = ReadStream(nPos, pFile);
    std::fclose(pFile);
    return nResult;
}

}  // namespace vitalchart
