#include "markup/byte_buffer.h"
namespace vitalchart {
CByteBuffer::CByteBuffer(std::int32_t nBlockSize) : m_nBlockSize(nBlockSize >= 256 ? nBlockSize : 1024) {}
CByteBuffer::~CByteBuffer() {}
int CByteBuffer::Grow(std::int32_t) { return 0; }
int CByteBuffer::Insert(std::int32_t, const void*, std::int32_t) { return 0; }
int CByteBuffer::Append(const void*, std::int32_t) { return 0; }
int CByteBuffer::InsertZeros(std::int32_t, std::int32_t) { return 0; }
char* CByteBuffer::GetPtr(std::int32_t) const { return nullptr; }
std::int32_t CByteBuffer::FindLineEnd(std::int32_t) const { return -1; }
int CByteBuffer::ReadStream(std::int32_t, std::FILE*) { return 0; }
int CByteBuffer::LoadFile(std::int32_t, const char*) { return 0; }
}
