#pragma once

#include <dirent.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tools/serve/plain_name.h"
#include "tools/serve/stamped_file.h"

namespace vitalchart {
namespace cli {

// What a cache found for a name.
enum class Lookup {
    kFound,
    kBadName,   // not a plain name (see IsPlainName)
    kUnknown,   // no such file in the folder
    kUnusable,  // the file cannot be read or loaded: rError says why
};

// The files NAME + suffix of one folder, each loaded once into an item and
// loaded again when the file changes (see FileStamp). Any thread may ask;
// items are shared read-only, and an item in use stays alive while a newer
// version replaces it. A file that cannot be loaded is remembered as such
// until it changes.
template <class T>
class CStampedCache {
public:
    // Makes the item of a file from its bytes; false with rError when the
    // file cannot be used.
    using Loader =
        std::function<bool(const std::string& strBytes, const std::string& strName, T& rItem, std::string& rError)>;

    CStampedCache(std::string strDir, std::string strSuffix, std::size_t nMaxBytes, Loader loader)
        : m_strDir(std::move(strDir)),
          m_strSuffix(std::move(strSuffix)),
          m_nMaxBytes(nMaxBytes),
          m_loader(std::move(loader)) {}

    Lookup Get(const std::string& strName, std::shared_ptr<const T>& rItem, std::string& rError) {
        if (m_strDir.empty() || !IsPlainName(strName)) return m_strDir.empty() ? Lookup::kUnknown : Lookup::kBadName;
        const std::string strPath = m_strDir + "/" + strName + m_strSuffix;
        FileStamp stamp;
        if (!StampFile(strPath, stamp)) {
            Forget(strName);
            return Lookup::kUnknown;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            auto it = m_entries.find(strName);
            if (it != m_entries.end() && it->second.stamp == stamp) return Answer(it->second, rItem, rError);
        }
        Entry entry;
        std::string strBytes;
        switch (ReadStampedFile(strPath, m_nMaxBytes, strBytes, entry.stamp, entry.strError)) {
            case FileRead::kMissing:
                Forget(strName);
                return Lookup::kUnknown;
            case FileRead::kTooLarge:
                entry.stamp = stamp;
                entry.strError = "it is larger than " + std::to_string(m_nMaxBytes) + " bytes";
                break;
            case FileRead::kFailed:
                entry.stamp = stamp;
                break;
            case FileRead::kRead: {
                auto pItem = std::make_shared<T>();
                if (m_loader(strBytes, strName, *pItem, entry.strError)) entry.pItem = std::move(pItem);
                break;
            }
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        Entry& stored = m_entries[strName];
        stored = std::move(entry);
        return Answer(stored, rItem, rError);
    }

    // The names of the folder's regular files that end in the suffix and
    // are plain names without it, sorted; at most nMax of them.
    std::vector<std::string> Names(std::size_t nMax = 1000) const {
        std::vector<std::string> names;
        if (m_strDir.empty()) return names;
        DIR* pDir = ::opendir(m_strDir.c_str());
        if (pDir == nullptr) return names;
        while (const dirent* pEntry = ::readdir(pDir)) {
            const std::string strFile = pEntry->d_name;
            if (strFile.size() <= m_strSuffix.size() ||
                strFile.compare(strFile.size() - m_strSuffix.size(), m_strSuffix.size(), m_strSuffix) != 0) {
                continue;
            }
            const std::string strName = strFile.substr(0, strFile.size() - m_strSuffix.size());
            FileStamp stamp;
            if (IsPlainName(strName) && StampFile(m_strDir + "/" + strFile, stamp)) names.push_back(strName);
            if (names.size() >= nMax) break;
        }
        ::closedir(pDir);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const T> pItem;  // null: unusable
        std::string strError;
    };

    static Lookup Answer(const Entry& entry, std::shared_ptr<const T>& rItem, std::string& rError) {
        rItem = entry.pItem;
        if (rItem) return Lookup::kFound;
        rError = entry.strError;
        return Lookup::kUnusable;
    }

    void Forget(const std::string& strName) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.erase(strName);
    }

    const std::string m_strDir;
    const std::string m_strSuffix;
    const std::size_t m_nMaxBytes;
    const Loader m_loader;
    std::mutex m_mutex;
    std::map<std::string, Entry> m_entries;
};

}  // namespace cli
}  // namespace vitalchart
