#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// Tells when one of a few input files has been written. The folders are
// watched, not the files, so a file an editor saves by writing a new one and
// renaming it over the old is still followed, and a file yet to be made is
// seen when it appears. Linux only (inotify).
class CInputWatch {
public:
    CInputWatch() = default;
    ~CInputWatch();
    CInputWatch(const CInputWatch&) = delete;
    CInputWatch& operator=(const CInputWatch&) = delete;

    // Starts watching the files; false with rError when a folder cannot be watched.
    bool Start(const std::vector<std::string>& files, std::string& rError);
    // Waits until a watched file has been written and closed or renamed into
    // place, then until its folder has been quiet for nQuietMs, so that an
    // editor's several writes count as one change. rChanged names the file
    // (the first, when several changed). False with rError when the watch fails.
    bool WaitForChange(int nQuietMs, std::string& rChanged, std::string& rError);

private:
    // Reads the events waiting: 1 when one names a watched file, whose path
    // goes to rChanged unless it already holds one; 0 when none does; -1
    // with rError when the watch fails.
    int ReadEvents(std::string& rChanged, std::string& rError);

    int m_fd = -1;
    // Watch descriptor -> the folder as given and the names watched in it.
    std::map<int, std::pair<std::string, std::set<std::string>>> m_folders;
};

}  // namespace cli
}  // namespace vitalchart
