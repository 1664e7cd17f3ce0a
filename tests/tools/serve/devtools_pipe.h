#pragma once

// Headless Chromium driven over its DevTools protocol on a pair of pipes
// (--remote-debugging-pipe: commands on its descriptor 3, answers and events
// on 4, each message JSON ended by a NUL byte).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace vitalchart {
namespace test {

class CDevToolsPipe {
public:
    // Starts the browser with a profile folder of its own; Start's result
    // says whether it answers.
    bool Start(const std::string& strBrowser, const std::string& strProfileDir) {
        int toBrowser[2];
        int fromBrowser[2];
        if (::pipe(toBrowser) != 0 || ::pipe(fromBrowser) != 0) return false;
        std::vector<std::string> args = {strBrowser,
                                         "--headless=new",
                                         "--disable-gpu",
                                         "--no-first-run",
                                         "--no-default-browser-check",
                                         "--window-size=1280,1800",
                                         "--remote-debugging-pipe",
                                         "--user-data-dir=" + strProfileDir,
                                         "about:blank"};
        // As root the browser's own sandbox cannot start.
        if (::geteuid() == 0) args.insert(args.begin() + 1, "--no-sandbox");
        m_pid = ::fork();
        if (m_pid == 0) {
            const int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
            ::dup2(toBrowser[0], 3);
            ::dup2(fromBrowser[1], 4);
            for (int fd = 5; fd < 1024; ++fd) ::close(fd);
            std::vector<char*> raw;
            for (std::string& arg : args) raw.push_back(arg.data());
            raw.push_back(nullptr);
            ::execv(raw[0], raw.data());
            ::_exit(127);
        }
        ::close(toBrowser[0]);
        ::close(fromBrowser[1]);
        m_out = toBrowser[1];
        m_in = fromBrowser[0];
        return m_pid > 0 && !Call("Browser.getVersion", nlohmann::json::object()).is_null();
    }

    ~CDevToolsPipe() {
        if (m_out >= 0) ::close(m_out);
        if (m_in >= 0) ::close(m_in);
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    // Sends a command (to the page of strSession, when given) and waits up
    // to nSeconds for its result; null on an error or no answer.
    nlohmann::json Call(const std::string& strMethod, const nlohmann::json& params, const std::string& strSession = "",
                        int nSeconds = 30) {
        nlohmann::json command = {{"id", ++m_nId}, {"method", strMethod}, {"params", params}};
        if (!strSession.empty()) command["sessionId"] = strSession;
        const std::string strMessage = command.dump() + std::string(1, '\0');
        if (::write(m_out, strMessage.data(), strMessage.size()) != static_cast<ssize_t>(strMessage.size())) {
            return nullptr;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(nSeconds);
        for (;;) {
            const std::size_t nEnd = m_strBuffer.find('\0');
            if (nEnd != std::string::npos) {
                const auto message = nlohmann::json::parse(m_strBuffer.substr(0, nEnd), nullptr, false);
                m_strBuffer.erase(0, nEnd + 1);
                if (message.is_object() && message.value("id", -1) == m_nId) {
                    return message.contains("result") ? message["result"] : nlohmann::json();
                }
                continue;  // an event, or an answer to an earlier command
            }
            const auto nLeft =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (nLeft.count() <= 0) return nullptr;
            pollfd ready = {m_in, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(nLeft.count())) <= 0) return nullptr;
            char buf[65536];
            const ssize_t n = ::read(m_in, buf, sizeof buf);
            if (n <= 0) return nullptr;
            m_strBuffer.append(buf, static_cast<std::size_t>(n));
        }
    }

    // Evaluates a script expression in the page; its value, or null.
    nlohmann::json Evaluate(const std::string& strSession, const std::string& strExpression) {
        const auto result =
            Call("Runtime.evaluate", {{"expression", strExpression}, {"returnByValue", true}}, strSession);
        if (!result.is_object() || !result.contains("result")) return nullptr;
        return result["result"].value("value", nlohmann::json());
    }

    // Evaluates the expression until it is true, for up to nSeconds.
    bool WaitFor(const std::string& strSession, const std::string& strExpression, int nSeconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(nSeconds);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Evaluate(strSession, strExpression) == true) return true;
            ::usleep(100000);
        }
        return false;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    int m_nId = 0;
    std::string m_strBuffer;
};

}  // namespace test
}  // namespace vitalchart
