// render --watch: the output is drawn again, whole, each time an input is
// saved, whether the editor writes the file in place or renames a new one over it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tools/command_fixture.h"

namespace vitalchart {
namespace test {
namespace {

using RenderWatchTest = CommandTest;

// How long a drawing may take to appear; the test ends as soon as it does.
constexpr auto kPatience = std::chrono::seconds(10);

// `vitalchart ARGS...` run in a folder, its standard output and error into
// a file; killed when the test ends early, so no watcher outlives it.
class CChildCommand {
public:
    CChildCommand(const std::string& strDir, std::vector<std::string> args, const std::string& strLog) {
        args.insert(args.begin(), VITALCHART_CLI);
        std::vector<char*> argv;
        for (std::string& str : args) argv.push_back(&str[0]);
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(strLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (::chdir(strDir.c_str()) != 0 || fd < 0 || ::dup2(fd, 1) < 0 || ::dup2(fd, 2) < 0) ::_exit(127);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~CChildCommand() {
        if (m_pid > 0) Stop(SIGKILL);
    }
    // Sends the signal and waits: the wait status (-1 when no child started).
    int Stop(int nSignal) {
        if (m_pid <= 0) return -1;
        ::kill(m_pid, nSignal);
        int nStatus = 0;
        ::waitpid(m_pid, &nStatus, 0);
        m_pid = -1;
        return nStatus;
    }

private:
    pid_t m_pid = -1;
};

std::string Replaced(std::string str, const std::string& strOld, const std::string& strNew) {
    const std::size_t nAt = str.find(strOld);
    if (nAt != std::string::npos) str.replace(nAt, strOld.size(), strNew);
    return str;
}

TEST_F(RenderWatchTest, DrawsAgainWhenAnInputIsSavedInPlaceOrByRename) {
    const std::string strData = ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    Write("t.xml", ReadFileText(std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml"));
    Write("d.data", strData);
    const std::string strOut = m_strDir + "/out.trace";

    const std::string strErr = m_strDir + "/watch.err";
    CChildCommand watch(m_strDir, {"render", "t.xml", "--data", "d.data", "-o", "out.trace", "--watch"}, strErr);

    // Waits until the output is what a render of the files as they are now draws.
    auto drawn = [&]() {
        const std::string strExpected = Run("render t.xml --data d.data").strOut;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (ReadFileText(strOut) == strExpected) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    EXPECT_TRUE(drawn());
    struct Row {
        const char* pszHow;
        const char* pszHospital;
        bool bRename;
    } rows[] = {{"written in place", "第二医院", false}, {"renamed over the old", "第三医院", true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszHow);
        const std::string strNew = Replaced(strData, "示例医院", r.pszHospital);
        if (r.bRename) {
            Write("d.data.new", strNew);
            ASSERT_EQ(std::rename((m_strDir + "/d.data.new").c_str(), (m_strDir + "/d.data").c_str()), 0);
        } else {
            Write("d.data", strNew);
        }
        EXPECT_TRUE(drawn()) << ReadFileText(strErr);
    }

    const int nStatus = watch.Stop(SIGTERM);
    EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGTERM) << ReadFileText(strErr);
    EXPECT_NE(ReadFileText(strErr).find("d.data changed"), std::string::npos);

    // Watching wants a file to keep drawing into.
    const CommandResult stdoutWatch = Run("render t.xml --data d.data --watch");
    EXPECT_EQ(stdoutWatch.nExit, 2);
    EXPECT_NE(stdoutWatch.strErr.find("--watch needs -o FILE"), std::string::npos);
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
