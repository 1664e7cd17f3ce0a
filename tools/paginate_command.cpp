#include "tools/paginate_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "tools/output_files.h"
#include "tools/readings_pages.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 2;

std::string PagePath(const std::string& strDir, std::size_t nPage) {
    return strDir + (strDir.back() == '/' ? "" : "/") + "page-" + std::to_string(nPage) + ".data";
}

}  // namespace

int RunPaginate(const CommandLine& line) {
    clinical::CPagination pages;
    const bool bOk = PaginateReadings(line, pages);
    if (line.bReport) {
        for (const std::string& strLine : clinical::FormatReport(pages.m_arrReport)) {
            std::cout << ForTerminal(strLine, CP_UTF8) << "\n";
        }
        std::cout << std::flush;
        if (!std::cout) return Fail("cannot write to standard output");
    }
    if (!bOk) return kExitFailed;

    const std::string strDir = line.strOutDir.empty() ? "." : line.strOutDir;
    // One level is made; a missing parent is the user's to make.
    if (::mkdir(strDir.c_str(), 0777) != 0 && errno != EEXIST) {
        return Fail("cannot make the folder " + strDir + ": " + std::strerror(errno));
    }
    COutputFiles outputs;
    std::string strError;
    for (std::size_t i = 0; i < pages.m_arrPages.size(); ++i) {
        const std::string strTemp = outputs.Reserve(PagePath(strDir, i + 1), strError);
        if (strTemp.empty() || !WriteBytes(strTemp, pages.m_arrPages[i], strError)) return Fail(strError);
    }
    if (!outputs.Commit(strError)) return Fail(strError);
    // A page file beyond the last is left from another run: a reader taking
    // every page-N.data would chart it as this stay's.
    const std::string strStale = PagePath(strDir, pages.m_arrPages.size() + 1);
    if (::access(strStale.c_str(), F_OK) == 0) {
        Note(strStale + " is not one of these " + std::to_string(pages.m_arrPages.size()) +
             " pages; it is left from an earlier run");
    }
    return kExitOk;
}

}  // namespace cli
}  // namespace vitalchart
