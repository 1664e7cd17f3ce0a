#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "tools/serve/chart_forms.h"
#include "tools/serve/chart_input.h"
#include "tools/serve/chart_query.h"
#include "tools/serve/hospital_profiles.h"
#include "tools/serve/http_message.h"
#include "tools/serve/service_metrics.h"

namespace vitalchart {
namespace cli {

// What bounds one chart request, besides the drawing budget of each page.
struct ChartLimits {
    std::size_t nMaxBody = 4u << 20;
    // From the moment the request is taken to the last page drawn.
    std::chrono::milliseconds timeLimit{10000};
    // Pages of one PDF; a longer stay is asked for page by page.
    int nMaxPages = 100;
    // Pixels of one PNG page (64 MiB of image at 4 bytes a pixel).
    long long nMaxPixels = 16LL << 20;
};

// One chart request, read whole and checked as far as can be without
// reading files: its query and its body.
struct ChartJob {
    ChartQuery query;
    BodyType bodyType;
    std::string strBody;
    std::chrono::steady_clock::time_point deadline;
};

// Makes the chart on the calling thread, which must be the one that later
// draws on the thread's surfaces (a worker): finds the template, reads the
// body into pages, draws the pages asked for as the render verb draws them
// and answers them, or answers the problem. Never throws.
HttpResponse MakeChart(const ChartJob& job, CChartForms& forms, CHospitalProfiles& profiles, const ChartLimits& limits,
                       CServiceMetrics& metrics);

}  // namespace cli
}  // namespace vitalchart
