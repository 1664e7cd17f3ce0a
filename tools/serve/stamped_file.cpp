#include "tools/serve/stamped_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vitalchart {
namespace cli {

namespace {

FileStamp StampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.nDevice = static_cast<std::uint64_t>(st.st_dev);
    stamp.nInode = static_cast<std::uint64_t>(st.st_ino);
    stamp.nSize = static_cast<std::int64_t>(st.st_size);
    stamp.nModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

// Closes the descriptor when the read ends, however it ends.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

bool StampFile(const std::string& strPath, FileStamp& rStamp) {
    struct stat st;
    if (::stat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    rStamp = StampOf(st);
    return true;
}

FileRead ReadStampedFile(const std::string& strPath, std::size_t nLimit, std::string& rBytes, FileStamp& rStamp,
                         std::string& rError) {
    // Non-blocking, so that opening a fifo does not wait for a writer.
    CFileDescriptor fd(::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileRead::kMissing;
        rError = std::strerror(errno);
        return FileRead::kFailed;
    }
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0) {
        rError = std::strerror(errno);
        return FileRead::kFailed;
    }
    if (!S_ISREG(st.st_mode)) return FileRead::kMissing;
    if (static_cast<std::uint64_t>(st.st_size) > nLimit) return FileRead::kTooLarge;
    std::string strBytes;
    strBytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            rError = std::strerror(errno);
            return FileRead::kFailed;
        }
        if (n == 0) break;
        // The file may grow while it is read.
        if (strBytes.size() + static_cast<std::size_t>(n) > nLimit) return FileRead::kTooLarge;
        strBytes.append(buf, static_cast<std::size_t>(n));
    }
    rBytes.swap(strBytes);
    rStamp = StampOf(st);
    return FileRead::kRead;
}

}  // namespace cli
}  // namespace vitalchart
