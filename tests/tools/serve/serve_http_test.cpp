// vitalchart serve as a separate process: the bundled example in every
// format, every error as problem details, path-traversal names, listings and
// metrics, many clients at once with flat memory, the render time limit, and
// SIGTERM with requests in flight.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <thread>

#include "support/file_text.h"
#include "tools/serve/serve_process.h"

namespace vitalchart {
namespace test {
namespace {

const std::string kExamples = VITALCHART_EXAMPLES;
const std::string kProfiles = VITALCHART_PROFILES;
const std::string kGolden = VITALCHART_GOLDEN;

std::string Example(const char* pszName) {
    return ReadFileText(kExamples + "/" + pszName);
}

std::string ChartPath(const std::string& strQuery) {
    return "/v1/charts?template=vitalsign&" + strQuery;
}

httplib::Result Post(httplib::Client& client, const std::string& strPath, const std::string& strBody,
                     const std::string& strType, const httplib::Headers& headers = {}) {
    return client.Post(strPath.c_str(), headers, strBody, strType.c_str());
}

// The suite's server: the bundled templates and profiles, a small body limit.
class ServeHttpTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_pServer = new CServeProcess(
            {"--templates", kExamples, "--profiles", kProfiles, "--workers", "2", "--max-body", "65536"});
    }
    static void TearDownTestSuite() {
        delete s_pServer;
        s_pServer = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(s_pServer->IsRunning());
        m_pClient = s_pServer->Client();
        m_pClient->set_url_encode(false);
    }

    static CServeProcess* s_pServer;
    std::unique_ptr<httplib::Client> m_pClient;
};
CServeProcess* ServeHttpTest::s_pServer = nullptr;

TEST_F(ServeHttpTest, TheBundledExampleInEveryFormat) {
    const std::string strWeek = Example("week.data");
    const struct {
        std::string strQuery;
        std::string strBody;
        std::string strType;
        std::string strContentType;
        std::string strStart;   // what the chart begins with
        std::string strGolden;  // a trace it equals, if any
    } rows[] = {
        {"format=trace", strWeek, "text/plain", "text/plain; charset=us-ascii", "", "nursing-example-screen-96.trace"},
        {"format=trace&dpi=600&print=1", strWeek, "text/plain", "text/plain; charset=us-ascii", "",
         "nursing-example-print-600.trace"},
        {"format=png", strWeek, "text/plain", "image/png", "\x89PNG\r\n", ""},
        {"format=svg", strWeek, "text/plain", "image/svg+xml", "<?xml", ""},
        {"format=pdf", strWeek, "text/plain", "application/pdf", "%PDF-", ""},
        {"format=pdf&paper=B5&fit=1", strWeek, "text/plain", "application/pdf", "%PDF-", ""},
        {"format=pdf&profile=adult", Example("week.readings.json"), "application/json", "application/pdf", "%PDF-", ""},
        {"format=png&profile=adult", Example("week.fhir.json"), "application/fhir+json", "image/png", "\x89PNG\r\n",
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.strQuery + " " + row.strType);
        auto result = Post(*m_pClient, ChartPath(row.strQuery), row.strBody, row.strType);
        ASSERT_TRUE(result) << httplib::to_string(result.error());
        EXPECT_EQ(result->status, 200) << result->body;
        EXPECT_EQ(result->get_header_value("Content-Type"), row.strContentType);
        EXPECT_EQ(result->get_header_value("Chart-Page-Count"), "1");
        EXPECT_EQ(result->get_header_value("Cache-Control"), "no-store");
        EXPECT_EQ(result->body.compare(0, row.strStart.size(), row.strStart), 0);
        if (!row.strGolden.empty()) {
            EXPECT_TRUE(result->body == ReadFileText(kGolden + "/" + row.strGolden));
        }
        // Every PDF the service answers with is well formed.
        if (row.strContentType == "application/pdf") {
            const std::string strPdf = ::testing::TempDir() + "serve-chart.pdf";
            std::ofstream(strPdf, std::ios::binary) << result->body;
            EXPECT_EQ(std::system(("qpdf --check '" + strPdf + "' > /dev/null").c_str()), 0);
        }
    }
    // On paper the page is the sheet, as render --paper lays it out.
    auto onPaper = Post(*m_pClient, ChartPath("format=pdf&paper=A4"), strWeek, "text/plain");
    ASSERT_TRUE(onPaper);
    EXPECT_NE(onPaper->body.find("/MediaBox [ 0 0 595.32 841.92 ]"), std::string::npos);
    // The PNG is the one the render verb writes.
    const std::string strPng = ::testing::TempDir() + "serve-example.png";
    const std::string strCommand = std::string("'") + VITALCHART_CLI + "' render '" + kExamples +
                                   "/vitalsign.xml' --data '" + kExamples + "/week.data' -o '" + strPng + "'";
    ASSERT_EQ(std::system(strCommand.c_str()), 0);
    auto result = Post(*m_pClient, ChartPath("format=png"), strWeek, "text/plain");
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->body == ReadFileText(strPng));
    std::remove(strPng.c_str());
}

TEST_F(ServeHttpTest, ErrorsAreProblemDetails) {
    const std::string strWeek = Example("week.data");
    const std::string strJson = "application/json";
    const struct {
        const char* pszMethod;
        std::string strPath;
        std::string strBody;
        std::string strType;
        int nStatus;
    } rows[] = {
        // malformed requests
        {"POST", "/v1/charts?template=vitalsign", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png", strWeek, "text/plain", 400},
        {"POST", ChartPath("format=gif"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&dpi=5"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&dpi=2400"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&page=0"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&page=2"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&print=yes"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&format=pdf"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&colour=red"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=pdf&paper=A9"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=pdf&fit=1"), strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png"), "<d vitalsigns=\"\xff\xfe\xff\"/>", "text/plain", 400},
        {"POST", ChartPath("format=png"), "{\"patient\": ", strJson, 400},
        {"POST", ChartPath("format=png"), Example("week.readings.json"), strJson, 400},
        // names reaching out of the folder
        {"POST", "/v1/charts?format=png&template=../examples/vitalsign", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png&template=%2e%2e%2fexamples%2fvitalsign", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png&template=%2Fetc%2Fpasswd", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png&template=..", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png&template=..%5Cvitalsign", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png&template=vitalsign%00.xml", strWeek, "text/plain", 400},
        {"POST", "/v1/charts?format=png&template=.vitalsign", strWeek, "text/plain", 400},
        {"POST", ChartPath("format=png&profile=..%2Fprofiles%2Fadult"), Example("week.readings.json"), strJson, 400},
        // unknown
        {"POST", "/v1/charts?format=png&template=nothing", strWeek, "text/plain", 404},
        {"POST", ChartPath("format=png&profile=nothing"), Example("week.readings.json"), strJson, 404},
        {"GET", "/v1/nothing", "", "", 404},
        {"GET", "/v1/charts", "", "", 405},
        {"POST", "/healthz", "x", "text/plain", 405},
        // too large
        {"POST", ChartPath("format=png"), std::string(70000, '\n'), "text/plain", 413},
        // not taken
        {"POST", ChartPath("format=png"), strWeek, "image/png", 415},
        {"POST", ChartPath("format=png"), strWeek, "text/plain; charset=latin1", 415},
        {"POST", ChartPath("format=png"), strWeek, "multipart/form-data; boundary=x", 415},
        // valid JSON, no readings
        {"POST", ChartPath("format=png&profile=adult"), "{\"a\": 1}", strJson, 422},
        // a chart larger than the paper, not asked to fit
        {"POST", ChartPath("format=pdf&paper=B5"), strWeek, "text/plain", 422},
        {"POST", ChartPath("format=png&profile=adult"), "[1, 2]", strJson, 422},
        {"POST", ChartPath("format=png&profile=adult"), "{\"resourceType\": \"Patient\"}", "application/fhir+json",
         422},
        {"POST", ChartPath("format=png&profile=adult"),
         "{\"patient\": {\"name\": \"a\", \"admission\": \"2024-13-01T08:00\"}, \"readings\": []}", strJson, 422},
    };
    auto check = [this](const httplib::Request& request, int nStatus) {
        auto result = m_pClient->send(request);
        ASSERT_TRUE(result) << httplib::to_string(result.error());
        ASSERT_EQ(result->get_header_value("Content-Type"), "application/problem+json") << result->status;
        EXPECT_EQ(result->status, nStatus) << result->body;
        const auto problem = nlohmann::json::parse(result->body, nullptr, false);
        ASSERT_TRUE(problem.is_object()) << result->body;
        EXPECT_EQ(problem.value("status", 0), nStatus);
        EXPECT_FALSE(problem.value("title", "").empty());
        EXPECT_FALSE(problem.value("detail", "").empty());
        EXPECT_EQ(result->get_header_value("Allow").empty(), nStatus != 405);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.pszMethod) + " " + row.strPath + " " + row.strType);
        httplib::Request request;
        request.method = row.pszMethod;
        request.path = row.strPath;
        request.body = row.strBody;
        request.set_header("Content-Type", row.strType);
        check(request, row.nStatus);
    }
    // A compressed body is not taken.
    httplib::Request compressed;
    compressed.method = "POST";
    compressed.path = ChartPath("format=png");
    compressed.body = strWeek;
    compressed.set_header("Content-Type", "text/plain");
    compressed.set_header("Content-Encoding", "gzip");
    check(compressed, 415);
}

TEST_F(ServeHttpTest, ListingsHealthAndMetrics) {
    auto templates = m_pClient->Get("/v1/templates");
    ASSERT_TRUE(templates);
    const auto listing = nlohmann::json::parse(templates->body);
    // The bundled examples, by name.
    ASSERT_EQ(listing["templates"].size(), 4u);
    EXPECT_EQ(listing["templates"][3]["name"], "vitalsign");
    EXPECT_EQ(listing["templates"][3]["width"], 167.0);
    EXPECT_EQ(listing["templates"][3]["height"], 253.0);
    auto profiles = m_pClient->Get("/v1/profiles");
    ASSERT_TRUE(profiles);
    EXPECT_EQ(nlohmann::json::parse(profiles->body)["profiles"][0], "adult");
    auto health = m_pClient->Get("/healthz");
    ASSERT_TRUE(health);
    EXPECT_EQ(health->body, "ok\n");

    ASSERT_TRUE(Post(*m_pClient, ChartPath("format=trace"), Example("week.data"), "text/plain"));
    auto metrics = m_pClient->Get("/metrics");
    ASSERT_TRUE(metrics);
    // Every line a comment or NAME{LABELS} VALUE, and the three families there.
    const std::regex sample(R"(# (HELP|TYPE) .*|[a-z_]+(\{[a-z]+="[^"]*"\})? [0-9]+(\.[0-9]+)?)");
    std::istringstream lines(metrics->body);
    std::string strLine;
    while (std::getline(lines, strLine)) EXPECT_TRUE(std::regex_match(strLine, sample)) << strLine;
    for (const char* pszSample :
         {"vitalchart_http_requests_total{code=\"200\"} ", "vitalchart_render_seconds_bucket{le=\"+Inf\"} ",
          "vitalchart_render_seconds_sum ", "vitalchart_pages_drawn_total "}) {
        EXPECT_NE(metrics->body.find(pszSample), std::string::npos) << pszSample;
    }
}

// 8 clients, 100 charts each, on a server of its own: every answer the same
// chart as the first, and memory after the run within a tenth of what it
// was after two warm-up rounds of about 100 charts. After one round the
// heaps of the server's threads have sometimes not yet grown to their
// working size, which made a settled server look as if it were leaking.
TEST(ServeLoadTest, ManyClientsAtOnceWithFlatMemory) {
    CServeProcess server({"--templates", kExamples, "--workers", "2"});
    ASSERT_TRUE(server.IsRunning());
    const std::string strWeek = Example("week.data");
    const char* const kFormats[] = {"format=png", "format=trace"};
    std::map<std::string, std::string> expected;
    auto client = server.Client();
    for (const char* pszQuery : kFormats) {
        auto result = Post(*client, ChartPath(pszQuery), strWeek, "text/plain");
        ASSERT_TRUE(result && result->status == 200);
        expected[pszQuery] = result->body;
    }
    constexpr int kClients = 8;
    std::atomic<int> nWrong{0};
    auto run = [&](int nEach) {
        std::vector<std::thread> clients;
        for (int c = 0; c < kClients; ++c) {
            clients.emplace_back([&, c] {
                auto pClient = server.Client();
                for (int i = 0; i < nEach; ++i) {
                    const char* pszQuery = kFormats[(c + i) % 2];
                    auto result = Post(*pClient, ChartPath(pszQuery), strWeek, "text/plain");
                    if (!result || result->status != 200 || result->body != expected[pszQuery]) ++nWrong;
                }
            });
        }
        for (std::thread& thread : clients) thread.join();
    };
    run(100 / kClients + 1);
    run(100 / kClients + 1);
    const long nAfterWarmUp = server.ResidentKb();
    run(100);
    const long nAfterAll = server.ResidentKb();
    EXPECT_EQ(nWrong.load(), 0);
    ASSERT_GT(nAfterWarmUp, 0);
    EXPECT_LE(nAfterAll, nAfterWarmUp + nAfterWarmUp / 10)
        << nAfterWarmUp << " kB after the warm-up, " << nAfterAll << " kB after all";
    EXPECT_EQ(server.Terminate(), 0);
}

TEST(ServeLoadTest, RenderTimeLimitAnswers503) {
    CServeProcess server({"--templates", kExamples, "--workers", "1", "--time-limit", "1"});
    ASSERT_TRUE(server.IsRunning());
    auto client = server.Client();
    auto result = Post(*client, ChartPath("format=png&dpi=300"), Example("week.data"), "text/plain");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 503) << result->body;
    EXPECT_EQ(result->get_header_value("Retry-After"), "1");
    auto metrics = client->Get("/metrics");
    ASSERT_TRUE(metrics);
    EXPECT_NE(metrics->body.find("vitalchart_render_time_limit_total 1\n"), std::string::npos) << metrics->body;
    EXPECT_EQ(server.Terminate(), 0);
}

TEST(ServeLoadTest, SigtermAnswersTheRequestsInFlightAndExitsZero) {
    CServeProcess server({"--templates", kExamples, "--workers", "1"});
    ASSERT_TRUE(server.IsRunning());
    const std::string strWeek = Example("week.data");
    std::atomic<int> nAnswered{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 4; ++i) {
        clients.emplace_back([&] {
            auto pClient = server.Client();
            auto result = Post(*pClient, ChartPath("format=pdf"), strWeek, "text/plain");
            if (result && result->status == 200 && result->body.compare(0, 5, "%PDF-") == 0) ++nAnswered;
        });
    }
    // The four are taken at once; one worker draws them in turn.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(server.Terminate(), 0);
    for (std::thread& thread : clients) thread.join();
    EXPECT_EQ(nAnswered.load(), 4);
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
