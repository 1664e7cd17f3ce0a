#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vitalchart {
namespace cli {

// What tells one version of a file from the next: its identity, size and
// modification time. A file replaced, rewritten or touched gets a new stamp.
struct FileStamp {
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
    std::int64_t nSize = -1;
    std::int64_t nModifiedNs = 0;

    bool operator==(const FileStamp& other) const {
        return nDevice == other.nDevice && nInode == other.nInode && nSize == other.nSize &&
               nModifiedNs == other.nModifiedNs;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

enum class FileRead {
    kRead,      // the bytes and their stamp
    kMissing,   // no such file, or not a regular file
    kTooLarge,  // more than the limit
    kFailed,    // it could not be read: rError says why
};

// The stamp of the regular file at the path; false when there is none.
bool StampFile(const std::string& strPath, FileStamp& rStamp);

// Reads the regular file at the path whole, with the stamp of what was read,
// when it holds at most nLimit bytes. A fifo or device is never opened for
// reading, so that no file of the folder can hold the reader up.
FileRead ReadStampedFile(const std::string& strPath, std::size_t nLimit, std::string& rBytes, FileStamp& rStamp,
                         std::string& rError);

}  // namespace cli
}  // namespace vitalchart
