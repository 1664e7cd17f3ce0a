#include "tools/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vitalchart {
namespace cli {

bool ReadWholeFile(const std::string& strPath, std::string& rContent, std::string& rError) {
    // A stream hides read errors: a folder opens and reads as an empty file,
    // and an unreadable data text would silently lose its readings.
    int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        rError = "cannot read " + strPath + ": " + std::strerror(errno);
        return false;
    }
    std::string strContent;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            rError = "cannot read " + strPath + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        strContent.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    rContent.swap(strContent);
    return true;
}

}  // namespace cli
}  // namespace vitalchart
