#include "tools/serve/chart_service.h"

#include <charconv>
#include <future>
#include <memory>
#include <nlohmann/json.hpp>

#include "tools/serve/problem.h"
#include "tools/serve/web_assets.h"

namespace vitalchart {
namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kChartsPath = "/v1/charts";

// The methods each path takes, for 405 and its Allow field; null for a path
// the service does not have.
const char* AllowedMethods(const std::string& strPath) {
    if (strPath == kChartsPath) return "POST";
    if (strPath == "/v1/templates" || strPath == "/v1/profiles" || strPath == "/healthz" || strPath == "/metrics" ||
        FindWebAsset(strPath) != nullptr) {
        return "GET, HEAD";
    }
    return nullptr;
}

HttpResponse Text(const std::string& strContentType, std::string strBody) {
    HttpResponse response;
    response.strContentType = strContentType;
    response.strBody = std::move(strBody);
    return response;
}

std::string Dump(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// The declared Content-Length, when there is a well-formed one.
std::optional<std::uint64_t> DeclaredLength(const HttpRequest& request) {
    const std::string* pLength = request.FindHeader("Content-Length");
    if (pLength == nullptr) return std::nullopt;
    std::uint64_t nLength = 0;
    const char* pEnd = pLength->data() + pLength->size();
    const auto result = std::from_chars(pLength->data(), pEnd, nLength);
    if (result.ec != std::errc() || result.ptr != pEnd || pLength->empty()) return std::nullopt;
    return nLength;
}

}  // namespace

CChartService::CChartService(const ServiceConfig& config, CWorkerPool& pool)
    : m_config(config), m_rPool(pool), m_forms(config.strTemplates), m_profiles(config.strProfiles) {}

std::optional<HttpResponse> CChartService::Screen(const HttpRequest& head) const {
    const char* pszAllowed = AllowedMethods(head.strPath);
    if (pszAllowed == nullptr) return Problem(404, "no resource " + head.strPath.substr(0, 200));
    const bool bChart = head.strPath == kChartsPath;
    const bool bAllowed = bChart ? head.strMethod == "POST" : head.strMethod == "GET" || head.strMethod == "HEAD";
    if (!bAllowed) {
        HttpResponse response = Problem(405, head.strPath + " takes " + pszAllowed);
        response.headers.emplace_back("Allow", pszAllowed);
        return response;
    }
    if (!bChart) return std::nullopt;

    ChartQuery query;
    std::string strError;
    if (!ParseChartQuery(head.params, query, strError)) return Problem(400, strError);
    if (!TakeBodyType(head.FindHeader("Content-Type"), strError)) return Problem(415, strError);
    const std::string* pEncoding = head.FindHeader("Content-Encoding");
    if (pEncoding != nullptr && !pEncoding->empty() && *pEncoding != "identity") {
        return Problem(415, "the body is taken as it is, without a Content-Encoding");
    }
    const std::optional<std::uint64_t> length = DeclaredLength(head);
    if (length && *length > m_config.limits.nMaxBody) {
        return Problem(413, "the body is " + std::to_string(*length) + " bytes, more than the " +
                                std::to_string(m_config.limits.nMaxBody) + " this service takes");
    }
    return std::nullopt;
}

HttpResponse CChartService::Handle(HttpRequest request) {
    if (std::optional<HttpResponse> screened = Screen(request)) return *screened;
    if (request.strPath == kChartsPath) return HandleChart(request);
    if (request.strPath == "/v1/templates") return ListTemplates();
    if (request.strPath == "/v1/profiles") return ListProfiles();
    if (request.strPath == "/healthz") return Text("text/plain; charset=utf-8", "ok\n");
    if (request.strPath == "/metrics") return Text("text/plain; version=0.0.4; charset=utf-8", m_metrics.Format());
    const WebAsset* pAsset = FindWebAsset(request.strPath);
    HttpResponse response = Text(std::string(pAsset->contentType), std::string(pAsset->bytes));
    // The page runs its own script only; the charts it shows inline are
    // drawings styled by attributes.
    response.headers.emplace_back("Content-Security-Policy",
                                  "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data: blob:; "
                                  "object-src 'none'; base-uri 'none'; frame-ancestors 'none'");
    return response;
}

HttpResponse CChartService::HandleChart(HttpRequest& rRequest) {
    if (rRequest.strBody.size() > m_config.limits.nMaxBody) {
        return Problem(
            413, "the body is more than the " + std::to_string(m_config.limits.nMaxBody) + " bytes this service takes");
    }
    // Both were checked by Screen.
    auto pJob = std::make_shared<ChartJob>();
    std::string strError;
    ParseChartQuery(rRequest.params, pJob->query, strError);
    pJob->bodyType = *TakeBodyType(rRequest.FindHeader("Content-Type"), strError);
    pJob->strBody = std::move(rRequest.strBody);
    pJob->deadline = Clock::now() + m_config.limits.timeLimit;

    // The worker answers through the promise once it is free for the next
    // chart; the job and the answer stay alive with the task, whether or
    // not anyone still waits.
    auto pAnswer = std::make_shared<std::promise<HttpResponse>>();
    auto pResponse = std::make_shared<HttpResponse>();
    std::future<HttpResponse> answer = pAnswer->get_future();
    const bool bTaken = m_rPool.TrySubmit(
        [this, pJob, pResponse] { *pResponse = MakeChart(*pJob, m_forms, m_profiles, m_config.limits, m_metrics); },
        [pAnswer, pResponse] { pAnswer->set_value(std::move(*pResponse)); });
    if (!bTaken) {
        m_metrics.CountBusy();
        HttpResponse response = Problem(503, "every worker is busy and the queue is full; try again shortly");
        response.headers.emplace_back("Retry-After", "1");
        return response;
    }
    // A render ends at its deadline; the margin only guards against a
    // worker that never answers.
    if (answer.wait_until(pJob->deadline + std::chrono::seconds(30)) != std::future_status::ready) {
        m_metrics.CountTimeLimit();
        return Problem(503, "the chart was not made within the render time limit");
    }
    return answer.get();
}

HttpResponse CChartService::ListTemplates() {
    nlohmann::ordered_json templates = nlohmann::ordered_json::array();
    for (const std::string& strName : m_forms.Names()) {
        std::shared_ptr<const ChartForm> pForm;
        std::string strError;
        nlohmann::ordered_json entry = {{"name", strName}};
        if (m_forms.Get(strName, pForm, strError) != Lookup::kFound) {
            entry["error"] = strError;
        } else if (pForm->bDeclaresSize) {
            entry["width"] = pForm->fWidth;
            entry["height"] = pForm->fHeight;
        } else {
            entry["width"] = nullptr;
            entry["height"] = nullptr;
        }
        templates.push_back(std::move(entry));
    }
    return Text("application/json", Dump({{"templates", std::move(templates)}}));
}

HttpResponse CChartService::ListProfiles() const {
    nlohmann::ordered_json profiles = nlohmann::ordered_json::array();
    for (const std::string& strName : m_profiles.Names()) profiles.push_back(strName);
    return Text("application/json", Dump({{"profiles", std::move(profiles)}}));
}

}  // namespace cli
}  // namespace vitalchart
