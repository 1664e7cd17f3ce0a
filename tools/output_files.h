#pragma once

#include <string>
#include <vector>

#include "tools/whole_file.h"

namespace vitalchart {
namespace cli {

// Output files that appear under their names only when everything was
// written: each is first written to a temporary file beside its target, and
// all are renamed into place together by Commit. Temporary files that were
// not committed are removed when this goes away, and on SIGINT or SIGTERM.
// Each thread reserves through its own COutputFiles.
class COutputFiles {
public:
    COutputFiles();
    ~COutputFiles();
    COutputFiles(const COutputFiles&) = delete;
    COutputFiles& operator=(const COutputFiles&) = delete;

    // A new temporary path beside strTarget (the file is created empty); an
    // empty string with rError set when the folder cannot be written.
    std::string Reserve(const std::string& strTarget, std::string& rError);
    // Renames every reserved file onto its target; false with rError at the
    // first that fails, when the targets already renamed get back what they
    // held before (or are removed, when they were new) and the rest are
    // removed: all or nothing.
    bool Commit(std::string& rError);
    // The temporary file last reserved for strTarget and not yet committed;
    // empty when there is none.
    std::string TemporaryFor(const std::string& strTarget) const;
    // Removes every reserved temporary file.
    void Discard();

private:
    std::vector<std::pair<std::string, std::string>> m_files;  // temporary, target
};

// The name of page nPage (from 1) of nPages: the target itself for a single
// page, else "chart-1.png", "chart-2.png", ... before the extension.
std::string PageFileName(const std::string& strTarget, int nPage, int nPages);

// Writes the bytes to the path; false with rError on failure.
bool WriteBytes(const std::string& strPath, const std::string& strBytes, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
