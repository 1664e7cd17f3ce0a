#include "tools/input_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace vitalchart {
namespace cli {

namespace {

// Written and closed, or renamed into place: the moments a file is whole.
// A file deleted is not a change; the render would only fail to read it.
constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MOVED_TO;

}  // namespace

CInputWatch::~CInputWatch() {
    if (m_fd >= 0) ::close(m_fd);
}

bool CInputWatch::Start(const std::vector<std::string>& files, std::string& rError) {
    m_fd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (m_fd < 0) {
        rError = std::string("cannot watch the input files: ") + std::strerror(errno);
        return false;
    }
    for (const std::string& strFile : files) {
        const std::size_t nSlash = strFile.find_last_of('/');
        const std::string strFolder = nSlash == std::string::npos ? "." : strFile.substr(0, nSlash + 1);
        const std::string strName = nSlash == std::string::npos ? strFile : strFile.substr(nSlash + 1);
        // The same folder, however it is spelt, gives the same descriptor.
        const int wd = ::inotify_add_watch(m_fd, strFolder.c_str(), kEvents | IN_ONLYDIR);
        if (wd < 0) {
            rError = "cannot watch " + strFile + ": " + std::strerror(errno);
            return false;
        }
        auto& folder = m_folders[wd];
        if (folder.first.empty()) folder.first = nSlash == std::string::npos ? std::string() : strFolder;
        folder.second.insert(strName);
    }
    return true;
}

int CInputWatch::ReadEvents(std::string& rChanged, std::string& rError) {
    alignas(struct inotify_event) char buf[8192];
    bool bWatched = false;
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return bWatched ? 1 : 0;
        if (n <= 0) {
            rError = std::string("watching the input files failed: ") + (n < 0 ? std::strerror(errno) : "no events");
            return -1;
        }
        for (ssize_t nAt = 0; nAt < n;) {
            const auto* pEvent = reinterpret_cast<const struct inotify_event*>(buf + nAt);
            nAt += static_cast<ssize_t>(sizeof(struct inotify_event) + pEvent->len);
            const auto folder = m_folders.find(pEvent->wd);
            // Events lost to a full queue may have been ours.
            const bool bOverflow = (pEvent->mask & IN_Q_OVERFLOW) != 0;
            if (!bOverflow &&
                (folder == m_folders.end() || pEvent->len == 0 || folder->second.second.count(pEvent->name) == 0)) {
                continue;
            }
            if (rChanged.empty()) {
                rChanged = bOverflow ? std::string("an input file") : folder->second.first + pEvent->name;
            }
            bWatched = true;
        }
    }
}

bool CInputWatch::WaitForChange(int nQuietMs, std::string& rChanged, std::string& rError) {
    rChanged.clear();
    bool bChanged = false;
    for (;;) {
        pollfd pfd{m_fd, POLLIN, 0};
        const int nReady = ::poll(&pfd, 1, bChanged ? nQuietMs : -1);
        if (nReady < 0 && errno == EINTR) continue;
        if (nReady < 0) {
            rError = std::string("watching the input files failed: ") + std::strerror(errno);
            return false;
        }
        if (nReady == 0) return true;  // quiet since the change
        const int nRead = ReadEvents(rChanged, rError);
        if (nRead < 0) return false;
        if (nRead > 0) bChanged = true;
    }
}

}  // namespace cli
}  // namespace vitalchart
