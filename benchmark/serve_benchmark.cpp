// Latency of `vitalchart serve` on the bundled example (examples/vitalsign.xml
// with examples/week.data) as PNG and as PDF: a server in this process on a
// loopback port with a render worker per core, asked by one client in turn
// and by eight at once, each request a connection of its own as the service
// answers them. Each run reports the 50th, 95th and 99th percentile of the
// requests' latencies and the requests answered per second.
//
//   build/bench/benchmark/vitalchart_benchmark --benchmark_filter=Serve

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/file_text.h"
#include "tools/serve/chart_service.h"
#include "tools/serve/http_server.h"
#include "vitalchart/surface/cairo_dc.h"

namespace {

using namespace vitalchart;
using Clock = std::chrono::steady_clock;

// The server, started on first use and kept for the whole run.
class CBenchServer {
public:
    CBenchServer() : m_renderers(Workers(), 4 * Workers()) {
        CCairoDC::ShareFontsWithProcess();
        cli::ServiceConfig config;
        config.strTemplates = VITALCHART_BUNDLED_EXAMPLES;
        m_pService = std::make_unique<cli::CChartService>(config, m_renderers);
        m_pServer = std::make_unique<cli::CHttpServer>(*m_pService, 5 * Workers() + 4, 64);
        m_nPort = m_pServer->Bind("127.0.0.1", 0);
        m_thread = std::thread([this] { m_pServer->Run(); });
    }
    ~CBenchServer() {
        m_pServer->Stop();
        m_thread.join();
        m_renderers.Stop();
    }
    int Port() const { return m_nPort; }

private:
    static int Workers() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

    cli::CWorkerPool m_renderers;
    std::unique_ptr<cli::CChartService> m_pService;
    std::unique_ptr<cli::CHttpServer> m_pServer;
    int m_nPort = -1;
    std::thread m_thread;
};

CBenchServer& Server() {
    static CBenchServer s_server;
    return s_server;
}

double Percentile(std::vector<double> samples, double fFraction) {
    std::sort(samples.begin(), samples.end());
    const auto nIndex = static_cast<std::size_t>(fFraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[std::min(nIndex, samples.size() - 1)];
}

// nClients clients each send nEach requests for the example in the format,
// one after the other; every latency in milliseconds.
void BM_Serve(benchmark::State& state, const char* pszFormat, int nClients, int nEach) {
    const int nPort = Server().Port();
    const std::string strData = test::ReadFileText(std::string(VITALCHART_BUNDLED_EXAMPLES) + "/week.data");
    const std::string strPath = std::string("/v1/charts?template=vitalsign&format=") + pszFormat;
    {
        // The workers' fonts are set up before anything is timed.
        httplib::Client warm("127.0.0.1", nPort);
        for (int i = 0; i < 4; ++i) warm.Post(strPath.c_str(), strData, "text/plain");
    }
    std::vector<double> latencies;
    std::mutex mutex;
    bool bFailed = false;
    double fSeconds = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::vector<std::thread> clients;
        for (int c = 0; c < nClients; ++c) {
            clients.emplace_back([&] {
                httplib::Client client("127.0.0.1", nPort);
                client.set_read_timeout(60, 0);
                std::vector<double> mine;
                bool bMineFailed = false;
                for (int i = 0; i < nEach; ++i) {
                    const Clock::time_point sent = Clock::now();
                    auto result = client.Post(strPath.c_str(), strData, "text/plain");
                    mine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                    bMineFailed = bMineFailed || !result || result->status != 200;
                }
                std::lock_guard<std::mutex> lock(mutex);
                latencies.insert(latencies.end(), mine.begin(), mine.end());
                bFailed = bFailed || bMineFailed;
            });
        }
        for (std::thread& thread : clients) thread.join();
        fSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    if (bFailed) state.SkipWithError("a request was not answered with the chart");
    state.counters["p50_ms"] = Percentile(latencies, 0.50);
    state.counters["p95_ms"] = Percentile(latencies, 0.95);
    state.counters["p99_ms"] = Percentile(latencies, 0.99);
    state.counters["req_per_s"] = static_cast<double>(latencies.size()) / fSeconds;
}

BENCHMARK_CAPTURE(BM_Serve, ExamplePng_1Client, "png", 1, 200)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Serve, ExamplePng_8Clients, "png", 8, 50)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Serve, ExamplePdf_1Client, "pdf", 1, 100)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Serve, ExamplePdf_8Clients, "pdf", 8, 25)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
