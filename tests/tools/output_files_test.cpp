// Output files: a signal takes away the temporary files of a drawing cut
// short, however many drawings were put in place before (render --watch).

#include "tools/output_files.h"

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "tools/command_fixture.h"

namespace vitalchart {
namespace test {
namespace {

using OutputFilesTest = CommandTest;

std::set<std::string> FolderNames(const std::string& strDir) {
    std::set<std::string> names;
    if (DIR* pDir = ::opendir(strDir.c_str())) {
        while (const dirent* pEntry = ::readdir(pDir)) names.insert(pEntry->d_name);
        ::closedir(pDir);
    }
    return names;
}

TEST_F(OutputFilesTest, ASignalRemovesTheTemporaryFileAfterManyCommits) {
    const std::string strTarget = m_strDir + "/out.png";
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        cli::COutputFiles outputs;
        std::string strError;
        for (int i = 0; i < 300; ++i) {
            if (outputs.Reserve(strTarget, strError).empty() || !outputs.Commit(strError)) ::_exit(1);
        }
        if (outputs.Reserve(strTarget, strError).empty()) ::_exit(1);
        ::raise(SIGTERM);
        ::_exit(1);
    }
    int nStatus = 0;
    ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGTERM);
    EXPECT_EQ(FolderNames(m_strDir), (std::set<std::string>{".", "..", "out.png"}));
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
