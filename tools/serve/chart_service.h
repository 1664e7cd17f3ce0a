#pragma once

#include <optional>
#include <string>

#include "tools/serve/chart_forms.h"
#include "tools/serve/chart_job.h"
#include "tools/serve/hospital_profiles.h"
#include "tools/serve/http_message.h"
#include "tools/serve/service_metrics.h"
#include "tools/serve/worker_pool.h"

namespace vitalchart {
namespace cli {

// Where the service finds its files, and its limits.
struct ServiceConfig {
    std::string strTemplates;  // the folder of NAME.xml templates
    std::string strProfiles;   // the folder of NAME.json profiles and fhir-map.json; empty: none
    ChartLimits limits;
};

// The chart service's answers, behind whatever reads and writes HTTP:
//
//   POST /v1/charts?template=NAME&format=pdf|png|svg|trace[&page=N][&dpi=N][&print=0|1][&profile=NAME]
//   GET  /v1/templates, /v1/profiles, /healthz, /metrics, and the web page at /
//
// Charts are made on the render pool's workers; every other answer on the
// calling thread. Errors are problem details. Any thread may call.
class CChartService {
public:
    CChartService(const ServiceConfig& config, CWorkerPool& pool);

    // The answer to give before the body is read, when the request line and
    // header fields decide it already: an unknown path or method, a query,
    // body type or Content-Encoding the service does not take, a declared
    // Content-Length over the limit. Nothing: read the body and Handle.
    std::optional<HttpResponse> Screen(const HttpRequest& head) const;

    // The answer to a whole request (Screen included); a chart's body is
    // handed on to the worker that draws it.
    HttpResponse Handle(HttpRequest request);

    CServiceMetrics& Metrics() { return m_metrics; }
    const ChartLimits& Limits() const { return m_config.limits; }

private:
    HttpResponse HandleChart(HttpRequest& rRequest);
    HttpResponse ListTemplates();
    HttpResponse ListProfiles() const;

    const ServiceConfig m_config;
    CWorkerPool& m_rPool;
    CChartForms m_forms;
    CHospitalProfiles m_profiles;
    CServiceMetrics m_metrics;
};

}  // namespace cli
}  // namespace vitalchart
