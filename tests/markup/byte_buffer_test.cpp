#include "markup/byte_buffer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/trace_fixture.h"

namespace vitalchart {
namespace {

using test::TempFile;

// The content of the buffer as a string (empty when it has no content).
std::string Content(const CByteBuffer& buffer) {
    if (buffer.GetLength() == 0) return std::string();
    return std::string(buffer.GetPtr(0), static_cast<std::size_t>(buffer.GetLength()));
}

// Every byte from the length up to the capacity is zero.
void ExpectZeroTail(const CByteBuffer& buffer) {
    if (buffer.GetCapacity() == 0) return;
    ASSERT_GT(buffer.GetLength(), 0) << "a buffer with storage but no content has no pointer to look through";
    const char* p = buffer.GetPtr(0);
    for (std::int32_t i = buffer.GetLength(); i < buffer.GetCapacity(); ++i) {
        ASSERT_EQ(p[i], '\0') << "byte " << i << " of " << buffer.GetCapacity();
    }
}

void Fill(CByteBuffer& buffer, std::int32_t n, char c = 'x') {
    std::string bytes(static_cast<std::size_t>(n), c);
    ASSERT_EQ(buffer.Append(bytes.data(), n), 1);
}

TEST(ByteBufferTest, BlockSizeFromArgument) {
    EXPECT_EQ(CByteBuffer(0).GetBlockSize(), 1024);
    EXPECT_EQ(CByteBuffer(255).GetBlockSize(), 1024);
    EXPECT_EQ(CByteBuffer(-5).GetBlockSize(), 1024);
    EXPECT_EQ(CByteBuffer(256).GetBlockSize(), 256);
    EXPECT_EQ(CByteBuffer(300).GetBlockSize(), 300);
    EXPECT_EQ(CByteBuffer(1000).GetBlockSize(), 1000);
}

TEST(ByteBufferTest, StartsEmpty) {
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.GetLength(), 0);
    EXPECT_EQ(buffer.GetCapacity(), 0);
}

struct GrowthRow {
    std::int32_t nBlockSize;
    std::int32_t nStartLength;
    std::int32_t nStartCapacity;
    std::int32_t nMore;
    std::int32_t nExpectedCapacity;
};

class ByteBufferGrowthTest : public ::testing::TestWithParam<GrowthRow> {};

TEST_P(ByteBufferGrowthTest, CapacityRoundsLengthPlusNeedUpToBlock) {
    const GrowthRow& row = GetParam();
    CByteBuffer buffer(row.nBlockSize);
    if (row.nStartLength > 0) Fill(buffer, row.nStartLength, 'a');
    ASSERT_EQ(buffer.GetLength(), row.nStartLength);
    ASSERT_EQ(buffer.GetCapacity(), row.nStartCapacity);
    Fill(buffer, row.nMore, 'b');
    EXPECT_EQ(buffer.GetLength(), row.nStartLength + row.nMore);
    EXPECT_EQ(buffer.GetCapacity(), row.nExpectedCapacity);
    EXPECT_EQ(buffer.GetCapacity() % buffer.GetBlockSize(), 0);
    const std::string content = Content(buffer);
    EXPECT_EQ(content, std::string(static_cast<std::size_t>(row.nStartLength), 'a') +
                           std::string(static_cast<std::size_t>(row.nMore), 'b'));
    ExpectZeroTail(buffer);
}

INSTANTIATE_TEST_SUITE_P(GrowthRows, ByteBufferGrowthTest,
                         ::testing::Values(GrowthRow{1024, 0, 0, 1, 1024},          // empty + 1
                                           GrowthRow{1024, 0, 0, 1024, 1024},       // empty + 1024
                                           GrowthRow{1024, 0, 0, 1025, 2048},       // empty + 1025
                                           GrowthRow{1024, 100, 1024, 5000, 5120},  // from the length, not the capacity
                                           GrowthRow{256, 200, 256, 100, 512},      // 300 rounded up
                                           GrowthRow{256, 200, 256, 600, 1024},     // 800 rounded up, not doubled
                                           GrowthRow{300, 0, 0, 301, 600},          // no power-of-two rounding
                                           GrowthRow{1024, 1000, 1024, 24, 1024}    // room enough: no growth
                                           ));

TEST(ByteBufferTest, GrowOverflowingInt32Fails) {
    CByteBuffer buffer(0);
    Fill(buffer, 10, 'q');
    const std::string before = Content(buffer);
    EXPECT_EQ(buffer.Grow(INT32_MAX), 0);         // length + n overflows
    EXPECT_EQ(buffer.Grow(INT32_MAX - 10), 0);    // length + n fits, the rounding does not
    EXPECT_EQ(buffer.Grow(INT32_MAX - 1030), 0);  // 2^31 - 1021 rounds up to 2^31
    EXPECT_EQ(buffer.Grow(-1), 0);
    EXPECT_EQ(buffer.GetLength(), 10);
    EXPECT_EQ(buffer.GetCapacity(), 1024);
    EXPECT_EQ(Content(buffer), before);

    CByteBuffer odd(1000);  // the largest multiple of 1000 is 2147483000
    EXPECT_EQ(odd.Grow(INT32_MAX), 0);
    EXPECT_EQ(odd.Grow(2147483001), 0);
    EXPECT_EQ(odd.GetCapacity(), 0);
}

TEST(ByteBufferTest, InsertThatCannotGrowLeavesBufferUnchanged) {
    CByteBuffer buffer(0);
    Fill(buffer, 3, 'z');
    const char c = 'c';
    // Growth fails before any source byte would be read.
    EXPECT_EQ(buffer.Insert(1, &c, INT32_MAX), 0);
    EXPECT_EQ(buffer.InsertZeros(0, INT32_MAX - 2), 0);
    EXPECT_EQ(buffer.Append(&c, INT32_MAX - 1), 0);
    EXPECT_EQ(Content(buffer), "zzz");
    EXPECT_EQ(buffer.GetCapacity(), 1024);
}

TEST(ByteBufferTest, BrokenPreconditionsFailWithoutChange) {
    CByteBuffer buffer(0);
    Fill(buffer, 3, 'z');
    EXPECT_EQ(buffer.Insert(4, "ab", 2), 0);
    EXPECT_EQ(buffer.Insert(-1, "ab", 2), 0);
    EXPECT_EQ(buffer.Insert(0, "ab", -2), 0);
    EXPECT_EQ(buffer.Insert(0, nullptr, 2), 0);
    EXPECT_EQ(buffer.InsertZeros(4, 2), 0);
    EXPECT_EQ(buffer.InsertZeros(0, -2), 0);
    EXPECT_EQ(buffer.GetPtr(-1), nullptr);
    EXPECT_EQ(buffer.GetPtr(4), nullptr);
    EXPECT_EQ(buffer.FindLineEnd(-1), -1);
    EXPECT_EQ(Content(buffer), "zzz");
}

TEST(ByteBufferTest, InsertZeroBytesIntoEmptyBufferKeepsNoStorage) {
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.Insert(0, "abc", 0), 1);
    EXPECT_EQ(buffer.InsertZeros(0, 0), 1);
    EXPECT_EQ(buffer.Append(nullptr, 0), 1);
    EXPECT_EQ(buffer.GetLength(), 0);
    EXPECT_EQ(buffer.GetCapacity(), 0);
    EXPECT_EQ(buffer.GetPtr(0), nullptr);
}

TEST(ByteBufferTest, InsertInTheMiddle) {
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("abc", 3), 1);
    ASSERT_EQ(buffer.Insert(1, "XY", 2), 1);
    EXPECT_EQ(Content(buffer), "aXYbc");
    ASSERT_EQ(buffer.Insert(0, "<", 1), 1);
    ASSERT_EQ(buffer.Insert(buffer.GetLength(), ">", 1), 1);
    EXPECT_EQ(Content(buffer), "<aXYbc>");
    ExpectZeroTail(buffer);
}

TEST(ByteBufferTest, InsertZerosAtStart) {
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("ab", 2), 1);
    ASSERT_EQ(buffer.InsertZeros(0, 3), 1);
    EXPECT_EQ(Content(buffer), std::string("\0\0\0ab", 5));
    ASSERT_EQ(buffer.InsertZeros(4, 1), 1);
    EXPECT_EQ(Content(buffer), std::string("\0\0\0a\0b", 6));
    ExpectZeroTail(buffer);
}

TEST(ByteBufferTest, InsertAcrossBlockMovesTail) {
    CByteBuffer buffer(256);
    Fill(buffer, 250, 'a');
    std::string middle(100, 'm');
    ASSERT_EQ(buffer.Insert(10, middle.data(), 100), 1);
    EXPECT_EQ(buffer.GetCapacity(), 512);
    EXPECT_EQ(Content(buffer), std::string(10, 'a') + middle + std::string(240, 'a'));
    ExpectZeroTail(buffer);
}

TEST(ByteBufferTest, InsertFromItsOwnContent) {
    CByteBuffer buffer(256);
    Fill(buffer, 200, 'a');
    ASSERT_EQ(buffer.Insert(0, "b", 1), 1);
    // The source lies in the storage that the growth reallocates.
    ASSERT_EQ(buffer.Append(buffer.GetPtr(0), buffer.GetLength()), 1);
    const std::string half = "b" + std::string(200, 'a');
    EXPECT_EQ(Content(buffer), half + half);
    ASSERT_EQ(buffer.Insert(1, buffer.GetPtr(0), 2), 1);
    EXPECT_EQ(Content(buffer).substr(0, 4), "bbaa");
    ExpectZeroTail(buffer);
}

TEST(ByteBufferTest, ZeroFillPastTheLengthAfterEveryGrowth) {
    CByteBuffer buffer(256);
    std::string chunk(77, '\xff');
    for (int k = 0; k < 40; ++k) {
        ASSERT_EQ(buffer.Insert(buffer.GetLength() / 2, chunk.data(), 77), 1);
        ASSERT_NO_FATAL_FAILURE(ExpectZeroTail(buffer));
        ASSERT_EQ(buffer.GetCapacity() % 256, 0);
    }
    EXPECT_EQ(buffer.GetLength(), 40 * 77);
}

TEST(ByteBufferTest, GetPtrNullOnEmptyBuffer) {
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.GetPtr(0), nullptr);
    EXPECT_EQ(buffer.GetPtr(5), nullptr);
    EXPECT_EQ(buffer.GetPtr(-1), nullptr);
    ASSERT_EQ(buffer.Append("abc", 3), 1);
    ASSERT_NE(buffer.GetPtr(0), nullptr);
    EXPECT_EQ(buffer.GetPtr(2), buffer.GetPtr(0) + 2);
    EXPECT_EQ(*buffer.GetPtr(1), 'b');
}

TEST(ByteBufferTest, FindLineEndRows) {
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("ab\ncd", 5), 1);
    EXPECT_EQ(buffer.FindLineEnd(0), 2);
    EXPECT_EQ(buffer.FindLineEnd(1), 2);
    EXPECT_EQ(buffer.FindLineEnd(2), 2);
    EXPECT_EQ(buffer.FindLineEnd(3), 5);
    EXPECT_EQ(buffer.FindLineEnd(4), 5);
    EXPECT_EQ(buffer.FindLineEnd(5), -1);
    EXPECT_EQ(buffer.FindLineEnd(6), -1);

    CByteBuffer empty(0);
    EXPECT_EQ(empty.FindLineEnd(0), -1);
    EXPECT_EQ(empty.FindLineEnd(1), -1);

    CByteBuffer crlf(0);
    ASSERT_EQ(crlf.Append("a\r\n\r\n", 5), 1);  // a carriage return is an ordinary byte
    EXPECT_EQ(crlf.FindLineEnd(0), 2);
    EXPECT_EQ(crlf.FindLineEnd(3), 4);

    CByteBuffer nul(0);
    ASSERT_EQ(nul.Append("a\0b\n", 4), 1);  // a zero byte does not end a line
    EXPECT_EQ(nul.FindLineEnd(0), 3);
}

TEST(ByteBufferTest, FindLineEndWhenLengthEqualsCapacity) {
    CByteBuffer buffer(256);
    Fill(buffer, 256, 'x');
    ASSERT_EQ(buffer.GetCapacity(), 256);
    EXPECT_EQ(buffer.FindLineEnd(0), 256);
    EXPECT_EQ(buffer.FindLineEnd(255), 256);
    EXPECT_EQ(buffer.FindLineEnd(256), -1);
}

TEST(ByteBufferTest, LoadFileMissingPathLeavesBufferAsItWas) {
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("keep", 4), 1);
    EXPECT_EQ(buffer.LoadFile(0, "/nonexistent-vitalchart-dir/vitalsign.xml"), 0);
    EXPECT_EQ(buffer.LoadFile(0, ""), 0);
    EXPECT_EQ(buffer.LoadFile(0, nullptr), 0);
    EXPECT_EQ(Content(buffer), "keep");
    EXPECT_EQ(buffer.GetCapacity(), 1024);

    CByteBuffer fresh(0);
    EXPECT_EQ(fresh.LoadFile(0, "/nonexistent-vitalchart-dir/vitalsign.xml"), 0);
    EXPECT_EQ(fresh.GetLength(), 0);
    EXPECT_EQ(fresh.GetCapacity(), 0);
}

TEST(ByteBufferTest, LoadFileEmptyFileAddsNothing) {
    TempFile file("");
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.LoadFile(0, file.Path().c_str()), 1);
    EXPECT_EQ(buffer.GetLength(), 0);
    EXPECT_EQ(buffer.GetCapacity(), 0);
    ASSERT_EQ(buffer.Append("ab", 2), 1);
    EXPECT_EQ(buffer.LoadFile(1, file.Path().c_str()), 1);
    EXPECT_EQ(Content(buffer), "ab");
}

TEST(ByteBufferTest, LoadFileKeepsCarriageReturns) {
    const std::string text = "<vitalsize width=\"1\"/>\r\n<vitalpen id=\"1\"/>\r\n\r\nlast";
    TempFile file(text);
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.LoadFile(0, file.Path().c_str()), 1);
    EXPECT_EQ(Content(buffer), text);
    ExpectZeroTail(buffer);
}

TEST(ByteBufferTest, LoadFileInsertsAtPosition) {
    TempFile file("MID");
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("[]", 2), 1);
    ASSERT_EQ(buffer.LoadFile(1, file.Path().c_str()), 1);
    EXPECT_EQ(Content(buffer), "[MID]");
    EXPECT_EQ(buffer.LoadFile(6, file.Path().c_str()), 0);  // beyond the length
    EXPECT_EQ(Content(buffer), "[MID]");
}

TEST(ByteBufferTest, LoadFileSeveralBlocksWithAllByteValues) {
    std::string text;
    for (int k = 0; k < 5000; ++k) text += static_cast<char>(k * 7 % 256);
    TempFile file(text, ".bin");
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.LoadFile(0, file.Path().c_str()), 1);
    EXPECT_EQ(buffer.GetCapacity(), 5120);
    EXPECT_EQ(Content(buffer), text);
    ExpectZeroTail(buffer);
}

TEST(ByteBufferTest, LoadFileOnADirectoryFails) {
    CByteBuffer buffer(0);
    // Opening a directory may succeed; its measured size is then absurd or its
    // reads fail. Either way the load must end, fail and change nothing.
    EXPECT_EQ(buffer.LoadFile(0, "/"), 0);
    EXPECT_EQ(buffer.GetLength(), 0);
    EXPECT_EQ(buffer.GetCapacity(), 0);
}

TEST(ByteBufferTest, ReadStreamFromMemoryFile) {
    char data[] = "line1\r\nline2";
    std::FILE* pFile = ::fmemopen(data, sizeof(data) - 1, "r");
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("<>", 2), 1);
    EXPECT_EQ(buffer.ReadStream(1, pFile), 1);
    std::fclose(pFile);
    EXPECT_EQ(Content(buffer), "<line1\r\nline2>");
}

TEST(ByteBufferTest, ReadStreamNullFileFails) {
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.ReadStream(0, nullptr), 0);
}

// A file measured at its end and then cut short: the reads deliver fewer bytes
// than the measured size. The load must end, fail and remove the gap.
TEST(ByteBufferTest, ReadStreamShortFileFailsAndLeavesBufferAsItWas) {
    TempFile file(std::string(5000, 'f'), ".bin");
    for (const bool bEmptyBuffer : {true, false}) {
        SCOPED_TRACE(bEmptyBuffer ? "empty buffer" : "buffer with content");
        ASSERT_EQ(::truncate(file.Path().c_str(), 5000), 0);
        std::FILE* pFile = std::fopen(file.Path().c_str(), "rb");
        ASSERT_NE(pFile, nullptr);
        // Unbuffered, so that no byte is read ahead while seeking to the end.
        ASSERT_EQ(std::setvbuf(pFile, nullptr, _IONBF, 0), 0);
        ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
        ASSERT_EQ(std::ftell(pFile), 5000);
        ASSERT_EQ(::truncate(file.Path().c_str(), 10), 0);

        CByteBuffer buffer(0);
        if (!bEmptyBuffer) {
            ASSERT_EQ(buffer.Append("head-tail", 9), 1);
        }
        const std::int32_t nCapacity = buffer.GetCapacity();
        EXPECT_EQ(buffer.ReadStream(bEmptyBuffer ? 0 : 5, pFile), 0);
        std::fclose(pFile);
        EXPECT_EQ(Content(buffer), bEmptyBuffer ? "" : "head-tail");
        EXPECT_EQ(buffer.GetCapacity(), nCapacity);
        ExpectZeroTail(buffer);
    }
}

TEST(ByteBufferTest, ReadStreamFileEmptiedAfterMeasuringFails) {
    TempFile file("abcdef");
    std::FILE* pFile = std::fopen(file.Path().c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    // Unbuffered: the C library may otherwise read a small file ahead while seeking.
    ASSERT_EQ(std::setvbuf(pFile, nullptr, _IONBF, 0), 0);
    ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
    ASSERT_EQ(::truncate(file.Path().c_str(), 0), 0);
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.ReadStream(0, pFile), 0);
    std::fclose(pFile);
    EXPECT_EQ(buffer.GetLength(), 0);
    EXPECT_EQ(buffer.GetCapacity(), 0);
}

// A pipe cannot tell its position: the size query fails, so the load fails.
TEST(ByteBufferTest, ReadStreamFailedSizeQueryFails) {
    std::FILE* pPipe = ::popen("printf abc", "r");
    ASSERT_NE(pPipe, nullptr);
    ASSERT_EQ(std::ftell(pPipe), -1L);
    CByteBuffer buffer(0);
    ASSERT_EQ(buffer.Append("x", 1), 1);
    EXPECT_EQ(buffer.ReadStream(0, pPipe), 0);
    ::pclose(pPipe);
    EXPECT_EQ(Content(buffer), "x");
}

#if defined(__GLIBC__)
// A stream whose measured size and deliverable bytes are chosen freely.
struct FakeStream {
    long long nSize;       // where SEEK_END lands
    long long nDelivered;  // bytes that reads deliver before reporting the end
    bool bError;           // reads fail instead of reporting the end
    long long nPos = 0;
};

ssize_t FakeRead(void* pCookie, char* pBuf, size_t nSize) {
    auto* pStream = static_cast<FakeStream*>(pCookie);
    const long long nLeft = pStream->nDelivered - pStream->nPos;
    if (nLeft <= 0) return pStream->bError ? -1 : 0;
    const size_t n = static_cast<size_t>(nLeft) < nSize ? static_cast<size_t>(nLeft) : nSize;
    std::memset(pBuf, 'r', n);
    pStream->nPos += static_cast<long long>(n);
    return static_cast<ssize_t>(n);
}

int FakeSeek(void* pCookie, off64_t* pOffset, int nWhence) {
    auto* pStream = static_cast<FakeStream*>(pCookie);
    long long nBase = nWhence == SEEK_SET ? 0 : nWhence == SEEK_CUR ? pStream->nPos : pStream->nSize;
    pStream->nPos = nBase + *pOffset;
    *pOffset = pStream->nPos;
    return 0;
}

std::FILE* OpenFake(FakeStream& stream) {
    cookie_io_functions_t functions{};
    functions.read = FakeRead;
    functions.seek = FakeSeek;
    return ::fopencookie(&stream, "r", functions);
}

TEST(ByteBufferTest, ReadStreamFileBeyondInt32RangeFails) {
    FakeStream stream{3000000000LL, 0, false};
    std::FILE* pFile = OpenFake(stream);
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
    ASSERT_EQ(std::ftell(pFile), 3000000000L);
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.ReadStream(0, pFile), 0);
    std::fclose(pFile);
    EXPECT_EQ(buffer.GetCapacity(), 0);
}

TEST(ByteBufferTest, ReadStreamSizeThatCannotBeStoredFails) {
    FakeStream stream{INT32_MAX, 0, false};  // fits int32, its storage does not
    std::FILE* pFile = OpenFake(stream);
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.ReadStream(0, pFile), 0);
    std::fclose(pFile);
    EXPECT_EQ(buffer.GetCapacity(), 0);
}

TEST(ByteBufferTest, ReadStreamReadErrorPartWayFails) {
    for (const bool bError : {true, false}) {
        FakeStream stream{3000, 1500, bError};
        std::FILE* pFile = OpenFake(stream);
        ASSERT_NE(pFile, nullptr);
        ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
        CByteBuffer buffer(1024);
        ASSERT_EQ(buffer.Append("0123456789", 10), 1);
        EXPECT_EQ(buffer.ReadStream(10, pFile), 0);
        std::fclose(pFile);
        EXPECT_EQ(Content(buffer), "0123456789");
        EXPECT_EQ(buffer.GetCapacity(), 1024);
        ExpectZeroTail(buffer);
    }
}

TEST(ByteBufferTest, ReadStreamDeliveredInPieces) {
    FakeStream stream{70000, 70000, false};
    std::FILE* pFile = OpenFake(stream);
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(std::setvbuf(pFile, nullptr, _IONBF, 0), 0);
    ASSERT_EQ(std::fseek(pFile, 0, SEEK_END), 0);
    CByteBuffer buffer(0);
    EXPECT_EQ(buffer.ReadStream(0, pFile), 1);
    std::fclose(pFile);
    EXPECT_EQ(Content(buffer), std::string(70000, 'r'));
}
#endif

}  // namespace
}  // namespace vitalchart
