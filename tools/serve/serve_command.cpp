#include "tools/serve/serve_command.h"

#include <pthread.h>
#include <sys/stat.h>

#include <charconv>
#include <csignal>
#include <future>
#include <iostream>
#include <thread>

#include "tools/serve/chart_service.h"
#include "tools/serve/http_server.h"
#include "tools/serve/worker_pool.h"
#include "tools/surface_module.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;
// Connections that may wait for a connection thread before accepting waits.
constexpr int kConnectionQueue = 64;
// Connection threads beyond those a chart can hold: health checks, metrics,
// listings and refusals are answered while every chart thread waits.
constexpr int kSpareThreads = 4;

bool IsFolder(const std::string& strPath) {
    struct stat st;
    return ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int DefaultWorkers() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

// Waits for SIGTERM or SIGINT (blocked in every thread) and stops the server,
// again until it has stopped: a signal may come before it runs.
void StopOnSignal(const sigset_t& signals, CHttpServer& server, std::shared_future<void> stopped) {
    int nSignal = 0;
    if (::sigwait(&signals, &nSignal) != 0) return;
    do {
        server.Stop();
    } while (stopped.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready);
}

}  // namespace

bool ParseListenAddress(const std::string& strListen, std::string& rHost, int& rPort) {
    const std::size_t nColon = strListen.rfind(':');
    if (nColon == std::string::npos || nColon == 0) return false;
    std::string strHost = strListen.substr(0, nColon);
    if (strHost.front() == '[') {
        if (strHost.size() < 3 || strHost.back() != ']') return false;
        strHost = strHost.substr(1, strHost.size() - 2);
    } else if (strHost.find(':') != std::string::npos) {
        return false;  // an IPv6 address needs its brackets
    }
    const char* first = strListen.data() + nColon + 1;
    const char* last = strListen.data() + strListen.size();
    int nPort = -1;
    const auto result = std::from_chars(first, last, nPort);
    if (result.ec != std::errc() || result.ptr != last || first == last || nPort < 0 || nPort > 65535) return false;
    rHost = strHost;
    rPort = nPort;
    return true;
}

int RunServe(const CommandLine& line) {
    const ServeSettings& settings = line.serve;
    if (settings.strTemplates.empty()) return Fail("serve needs --templates DIR");
    if (!IsFolder(settings.strTemplates)) return Fail("--templates " + settings.strTemplates + " is no folder");
    if (!settings.strProfiles.empty() && !IsFolder(settings.strProfiles)) {
        return Fail("--profiles " + settings.strProfiles + " is no folder");
    }
    std::string strHost;
    int nPort = 0;
    if (!ParseListenAddress(settings.strListen, strHost, nPort)) {
        return Fail("--listen wants HOST:PORT or [IPV6]:PORT, not '" + settings.strListen + "'");
    }
    const int nWorkers = settings.nWorkers > 0 ? settings.nWorkers : DefaultWorkers();
    const int nQueue = settings.nQueue >= 0 ? settings.nQueue : 4 * nWorkers;

    // Every thread made from here on leaves SIGTERM and SIGINT to the one
    // that waits for them; a client that goes away is a failed write, not a
    // signal.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // The service draws nothing but charts, on the drawing module loaded
    // before the first request.
    std::string strError;
    if (LoadSurfaceModule(strError) == nullptr) return Fail(strError);
    ShareSurfaceFontsWithProcess();

    ServiceConfig config;
    config.strTemplates = settings.strTemplates;
    config.strProfiles = settings.strProfiles;
    config.limits.nMaxBody = settings.nMaxBody;
    config.limits.timeLimit = std::chrono::milliseconds(settings.nTimeLimitMs);
    CWorkerPool renderers(nWorkers, nQueue);
    CChartService service(config, renderers);
    CHttpServer server(service, nWorkers + nQueue + kSpareThreads, kConnectionQueue);
    const int nBound = server.Bind(strHost, nPort);
    if (nBound < 0) return Fail("cannot listen on " + settings.strListen);
    const bool bBrackets = strHost.find(':') != std::string::npos;
    std::cout << "vitalchart: serving http://" << (bBrackets ? "[" + strHost + "]" : strHost) << ":" << nBound
              << "/ with " << nWorkers << " workers" << std::endl;

    std::promise<void> ran;
    std::thread stopper(StopOnSignal, signals, std::ref(server), ran.get_future().share());
    const bool bServed = server.Run();
    ran.set_value();
    // The stopper still waits for a signal when the server ended by itself.
    ::pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    renderers.Stop();
    return bServed ? kExitOk : Fail("cannot serve on " + settings.strListen);
}

}  // namespace cli
}  // namespace vitalchart
