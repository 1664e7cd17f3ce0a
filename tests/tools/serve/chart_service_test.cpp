// The chart service behind HTTP, in this process: refusals with every
// worker busy, templates read again when their file changes, and the checks
// that keep names inside the service's folders.

#include "tools/serve/chart_service.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <nlohmann/json.hpp>

#include "support/file_text.h"
#include "tools/serve/json_kind.h"
#include "tools/serve/plain_name.h"
#include "tools/serve/serve_command.h"

namespace vitalchart {
namespace cli {
namespace {

const std::string kExamples = VITALCHART_EXAMPLES;

HttpRequest ChartRequest(const std::string& strTemplate, const std::string& strBody) {
    HttpRequest request;
    request.strMethod = "POST";
    request.strPath = "/v1/charts";
    request.params = {{"template", strTemplate}, {"format", "trace"}};
    request.headers = {{"content-type", "text/plain"}};
    request.strBody = strBody;
    return request;
}

TEST(ChartService, EveryWorkerBusyAndTheQueueFullAnswers503) {
    CWorkerPool pool(1, 0);
    ServiceConfig config;
    config.strTemplates = kExamples;
    CChartService service(config, pool);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ASSERT_TRUE(pool.TrySubmit([released] { released.wait(); }));

    const HttpResponse busy = service.Handle(ChartRequest("vitalsign", ""));
    EXPECT_EQ(busy.nStatus, 503);
    EXPECT_EQ(busy.strContentType, "application/problem+json");
    release.set_value();
    HttpResponse answered;
    // The worker is free again once it has finished the blocking task.
    for (int i = 0; i < 100 && answered.nStatus != 200; ++i) {
        answered = service.Handle(ChartRequest("vitalsign", ""));
        if (answered.nStatus == 503) usleep(10000);
    }
    EXPECT_EQ(answered.nStatus, 200) << answered.strBody;
    EXPECT_EQ(service.Metrics().Format().find("vitalchart_busy_total 0\n"), std::string::npos);
    pool.Stop();
}

TEST(ChartService, HeaderFieldsRefuseBeforeTheBodyIsRead) {
    CWorkerPool pool(1, 0);
    ServiceConfig config;
    config.strTemplates = kExamples;
    config.limits.nMaxBody = 1000;
    CChartService service(config, pool);
    const struct {
        const char* pszField;
        const char* pszValue;
        int nStatus;  // 0: the body is read
    } rows[] = {
        {"Content-Type", "text/plain", 0},         {"Content-Length", "1000", 0},   {"Content-Length", "1001", 413},
        {"Content-Length", "99999999999999", 413}, {"Content-Encoding", "br", 415},
    };
    for (const auto& row : rows) {
        HttpRequest head = ChartRequest("vitalsign", "");
        head.headers.emplace_back(row.pszField, row.pszValue);
        const std::optional<HttpResponse> screened = service.Screen(head);
        EXPECT_EQ(screened ? screened->nStatus : 0, row.nStatus) << row.pszField << ": " << row.pszValue;
    }
    HttpRequest untyped = ChartRequest("vitalsign", "");
    untyped.headers.clear();
    EXPECT_EQ(service.Handle(untyped).nStatus, 415);
    pool.Stop();
}

TEST(ChartService, TemplatesAreReadAgainWhenTheirFileChanges) {
    char szDir[] = "/tmp/vitalchart-serve-XXXXXX";
    ASSERT_NE(::mkdtemp(szDir), nullptr);
    const std::string strFile = std::string(szDir) + "/form.xml";
    auto write = [&](const std::string& strSize) {
        std::ofstream(strFile) << "<vitalsize width=\"" << strSize << "\" height=\"50\"/>\n";
    };
    auto width = [](CChartService& service) {
        HttpRequest request;
        request.strMethod = "GET";
        request.strPath = "/v1/templates";
        const auto listing = nlohmann::json::parse(service.Handle(request).strBody);
        return listing["templates"].empty() ? -1.0 : listing["templates"][0].value("width", 0.0);
    };
    CWorkerPool pool(1, 0);
    ServiceConfig config;
    config.strTemplates = szDir;
    CChartService service(config, pool);
    write("100");
    EXPECT_EQ(width(service), 100.0);
    write("1200");  // another size, so another stamp even within one clock tick
    EXPECT_EQ(width(service), 1200.0);
    EXPECT_EQ(service.Handle(ChartRequest("form", "")).nStatus, 200);
    std::remove(strFile.c_str());
    EXPECT_EQ(width(service), -1.0);
    EXPECT_EQ(service.Handle(ChartRequest("form", "")).nStatus, 404);
    pool.Stop();
    ::rmdir(szDir);
}

TEST(ChartService, NamesStayInsideTheFolder) {
    const struct {
        const char* pszName;
        bool bPlain;
    } rows[] = {
        {"vitalsign", true}, {"体温单", true},  {"a.b", true},   {"", false},   {"..", false},
        {"../x", false},     {"a/b", false},    {"a\\b", false}, {".x", false}, {"a..b", false},
        {"x\ty", false},     {"x\x7fy", false}, {"/etc", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsPlainName(row.pszName), row.bPlain) << row.pszName;
    EXPECT_FALSE(IsPlainName(std::string("a\0b", 3)));
    EXPECT_FALSE(IsPlainName(std::string(129, 'a')));
}

TEST(ChartService, BundlesAreToldFromOtherJson) {
    const struct {
        const char* pszJson;
        JsonKind kind;
    } rows[] = {
        {R"({"resourceType": "Bundle", "entry": []})", JsonKind::kBundle},
        {R"({"entry": [{"resourceType": "x"}], "resourceType": "Bundle"})", JsonKind::kBundle},
        {R"({"resourceType": "Patient"})", JsonKind::kOther},
        {R"({"a": {"resourceType": "Bundle"}})", JsonKind::kOther},
        {R"({"resourceType": ["Bundle"]})", JsonKind::kOther},
        {R"([{"resourceType": "Bundle"}])", JsonKind::kOther},
        {R"({"patient": {}, "readings": []})", JsonKind::kOther},
        {R"({"resourceType": "Bundle")", JsonKind::kMalformed},
        {"{\"a\": \"\xff\"}", JsonKind::kMalformed},
        {"", JsonKind::kMalformed},
    };
    for (const auto& row : rows) {
        std::string strError;
        EXPECT_EQ(SniffJson(row.pszJson, strError), row.kind) << row.pszJson;
        EXPECT_EQ(strError.empty(), row.kind != JsonKind::kMalformed) << row.pszJson;
    }
}

TEST(ChartService, ListenAddresses) {
    const struct {
        const char* pszListen;
        const char* pszHost;  // null: malformed
        int nPort;
    } rows[] = {
        {"127.0.0.1:8787", "127.0.0.1", 8787},
        {"[::1]:0", "::1", 0},
        {"localhost:80", "localhost", 80},
        {"::1:80", nullptr, 0},
        {"127.0.0.1", nullptr, 0},
        {"127.0.0.1:65536", nullptr, 0},
        {":80", nullptr, 0},
        {"[]:80", nullptr, 0},
        {"h:8x", nullptr, 0},
    };
    for (const auto& row : rows) {
        std::string strHost;
        int nPort = -1;
        const bool bParsed = ParseListenAddress(row.pszListen, strHost, nPort);
        EXPECT_EQ(bParsed, row.pszHost != nullptr) << row.pszListen;
        if (bParsed && row.pszHost != nullptr) {
            EXPECT_EQ(strHost, row.pszHost);
            EXPECT_EQ(nPort, row.nPort);
        }
    }
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
