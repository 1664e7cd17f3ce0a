#pragma once

// `vitalchart serve` run as a separate process on a free loopback port, as
// an operator runs it: started with its arguments, asked over HTTP, its
// resident memory read from /proc, and ended with SIGTERM.

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace vitalchart {
namespace test {

class CServeProcess {
public:
    // Starts `vitalchart serve --listen 127.0.0.1:0 ARGS...` and reads the
    // port from the line it prints; IsRunning() tells whether it started.
    explicit CServeProcess(const std::vector<std::string>& args) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        std::vector<std::string> argv = {VITALCHART_CLI, "serve", "--listen", "127.0.0.1:0"};
        argv.insert(argv.end(), args.begin(), args.end());
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            std::vector<char*> raw;
            for (std::string& arg : argv) raw.push_back(arg.data());
            raw.push_back(nullptr);
            ::execv(raw[0], raw.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        // "vitalchart: serving http://127.0.0.1:PORT/ with N workers"
        std::string strLine;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') strLine += c;
        ::close(fds[0]);
        const std::size_t nColon = strLine.find(':', strLine.find("127.0.0.1"));
        if (nColon != std::string::npos) m_nPort = std::atoi(strLine.c_str() + nColon + 1);
    }

    ~CServeProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    CServeProcess(const CServeProcess&) = delete;
    CServeProcess& operator=(const CServeProcess&) = delete;

    bool IsRunning() const { return m_pid > 0 && m_nPort > 0; }
    int Port() const { return m_nPort; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_nPort); }

    // A client of the server, waiting up to a minute for answers.
    std::unique_ptr<httplib::Client> Client() const {
        auto pClient = std::make_unique<httplib::Client>("127.0.0.1", m_nPort);
        pClient->set_read_timeout(60, 0);
        pClient->set_write_timeout(60, 0);
        return pClient;
    }

    // The server's resident memory in kB (VmRSS), or -1.
    long ResidentKb() const {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        std::string strLine;
        while (std::getline(status, strLine)) {
            if (strLine.compare(0, 6, "VmRSS:") == 0) return std::atol(strLine.c_str() + 6);
        }
        return -1;
    }

    // Sends SIGTERM and waits up to a minute for the exit code; -1 when it
    // did not exit by itself.
    int Terminate() {
        if (m_pid <= 0) return -1;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 600; ++i) {
            int nStatus = 0;
            if (::waitpid(m_pid, &nStatus, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    int m_nPort = 0;
};

}  // namespace test
}  // namespace vitalchart
