#include "tools/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace vitalchart {
namespace cli {

namespace {

// Temporary paths that a signal handler removes; fixed storage so that the
// handler touches nothing but async-signal-safe calls. A slot is published by
// its flag once its path is written, and is free again once its file is
// committed or removed, so a long run (batch, thousands of charts) never runs
// out of slots. Threads reserve files at once; they take turns on the mutex,
// which the handler never takes.
constexpr int kMaxPending = 256;
constexpr std::size_t kMaxPath = 4096;
char g_pending[kMaxPending][kMaxPath];
std::atomic<bool> g_bUsed[kMaxPending];
std::mutex g_trackMutex;

// The process's file mode mask, read once before any thread runs: reading it
// means setting it, which threads committing at once would race on and
// could leave the mask cleared.
mode_t ReadUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}
const mode_t g_umask = ReadUmask();

// Writes the file's bytes to the disk, so that once renamed into place it is
// never found empty after a power loss (a batch takes a file there for a
// chart complete).
void SyncFile(const std::string& strPath) {
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void RemovePendingAndExit(int nSignal) {
    for (int i = 0; i < kMaxPending; ++i) {
        if (g_bUsed[i].load(std::memory_order_acquire)) ::unlink(g_pending[i]);
    }
    std::signal(nSignal, SIG_DFL);
    std::raise(nSignal);
}

// Makes a temporary file from strTemplate (ending in XXXXXX), tracked; its
// descriptor, or -1 with errno. The slot is published before the file is
// made and mkstemp writes the file's name into it in place, so that a signal
// coming at any moment after the file exists finds its name there; one coming
// before finds a name no file has yet, whose removal does nothing. (Tracking
// the name only once mkstemp had returned left the file behind when the
// signal came in between.) Without a free slot, or for a path too long for
// one, the file is made untracked.
int MakeTrackedFile(const std::string& strTemplate, std::string& rPath) {
    if (strTemplate.size() < kMaxPath) {
        const std::lock_guard<std::mutex> lock(g_trackMutex);
        for (int i = 0; i < kMaxPending; ++i) {
            if (g_bUsed[i].load(std::memory_order_relaxed)) continue;
            std::memcpy(g_pending[i], strTemplate.c_str(), strTemplate.size() + 1);
            g_bUsed[i].store(true, std::memory_order_release);
            const int fd = ::mkstemp(g_pending[i]);
            if (fd < 0) {
                const int nError = errno;
                g_bUsed[i].store(false, std::memory_order_release);
                errno = nError;
                return fd;
            }
            rPath = g_pending[i];
            return fd;
        }
    }
    std::vector<char> name(strTemplate.begin(), strTemplate.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) rPath = name.data();
    return fd;
}

void Untrack(const std::string& strPath) {
    const std::lock_guard<std::mutex> lock(g_trackMutex);
    for (int i = 0; i < kMaxPending; ++i) {
        if (g_bUsed[i].load(std::memory_order_relaxed) && strPath == g_pending[i]) {
            g_bUsed[i].store(false, std::memory_order_release);
            return;
        }
    }
}

}  // namespace

COutputFiles::COutputFiles() {
    std::signal(SIGINT, RemovePendingAndExit);
    std::signal(SIGTERM, RemovePendingAndExit);
}

COutputFiles::~COutputFiles() {
    Discard();
}

std::string COutputFiles::Reserve(const std::string& strTarget, std::string& rError) {
    std::string strTemp;
    const int fd = MakeTrackedFile(strTarget + ".tmp-XXXXXX", strTemp);
    if (fd < 0) {
        rError = "cannot write " + strTarget + ": " + std::strerror(errno);
        return std::string();
    }
    ::close(fd);
    m_files.emplace_back(strTemp, strTarget);
    return strTemp;
}

bool COutputFiles::Commit(std::string& rError) {
    // Every target that exists is kept under a second name (a hard link)
    // until all are in place, so that a rename failing half-way puts back
    // what was there and leaves no mix of old and new pages.
    std::vector<std::string> kept(m_files.size());
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const auto& file = m_files[i];
        // The temporary file was made private by mkstemp; give it the usual mode.
        ::chmod(file.first.c_str(), 0666 & ~g_umask);
        SyncFile(file.first);
        const std::string strKept = file.first + ".old";
        if (::link(file.second.c_str(), strKept.c_str()) == 0) kept[i] = strKept;
        if (std::rename(file.first.c_str(), file.second.c_str()) != 0) {
            rError = "cannot write " + file.second + ": " + std::strerror(errno);
            for (std::size_t j = 0; j <= i; ++j) {
                if (j < i) {
                    // Put back the file that was there, or take away the new one.
                    if (kept[j].empty()) {
                        ::unlink(m_files[j].second.c_str());
                    } else {
                        std::rename(kept[j].c_str(), m_files[j].second.c_str());
                    }
                } else if (!kept[j].empty()) {
                    ::unlink(kept[j].c_str());
                }
            }
            m_files.erase(m_files.begin(), m_files.begin() + static_cast<std::ptrdiff_t>(i));
            Discard();
            return false;
        }
        Untrack(file.first);
    }
    for (const std::string& strKept : kept) {
        if (!strKept.empty()) ::unlink(strKept.c_str());
    }
    m_files.clear();
    return true;
}

std::string COutputFiles::TemporaryFor(const std::string& strTarget) const {
    for (auto it = m_files.rbegin(); it != m_files.rend(); ++it) {
        if (it->second == strTarget) return it->first;
    }
    return std::string();
}

void COutputFiles::Discard() {
    for (const auto& file : m_files) {
        ::unlink(file.first.c_str());
        Untrack(file.first);
    }
    m_files.clear();
}

std::string PageFileName(const std::string& strTarget, int nPage, int nPages) {
    if (nPages <= 1) return strTarget;
    std::size_t nSlash = strTarget.find_last_of('/');
    std::size_t nDot = strTarget.find_last_of('.');
    bool bHasExtension = nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash + 1);
    std::string strNumber = "-" + std::to_string(nPage);
    if (!bHasExtension) return strTarget + strNumber;
    return strTarget.substr(0, nDot) + strNumber + strTarget.substr(nDot);
}

bool WriteBytes(const std::string& strPath, const std::string& strBytes, std::string& rError) {
    int fd = ::open(strPath.c_str(), O_WRONLY | O_TRUNC | O_CREAT, 0666);
    if (fd < 0) {
        rError = "cannot write " + strPath + ": " + std::strerror(errno);
        return false;
    }
    std::size_t nDone = 0;
    while (nDone < strBytes.size()) {
        ssize_t n = ::write(fd, strBytes.data() + nDone, strBytes.size() - nDone);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        nDone += static_cast<std::size_t>(n);
    }
    bool bOk = nDone == strBytes.size();
    if (::close(fd) != 0) bOk = false;
    if (!bOk) rError = "cannot write " + strPath + ": " + std::strerror(errno);
    return bOk;
}

}  // namespace cli
}  // namespace vitalchart
