#include "tools/serve/service_metrics.h"

namespace vitalchart {
namespace cli {

namespace {

// Seconds from microseconds with six decimals, written without the locale.
std::string Seconds(std::uint64_t nMicroseconds) {
    std::string strFraction = std::to_string(nMicroseconds % 1000000);
    strFraction.insert(0, 6 - strFraction.size(), '0');
    return std::to_string(nMicroseconds / 1000000) + "." + strFraction;
}

void Header(std::string& rText, const char* pszName, const char* pszType, const char* pszHelp) {
    rText += std::string("# HELP ") + pszName + " " + pszHelp + "\n# TYPE " + pszName + " " + pszType + "\n";
}

}  // namespace

void CServiceMetrics::CountAnswer(int nStatus) {
    if (nStatus >= 100 && nStatus < 600) ++m_answers[static_cast<std::size_t>(nStatus)];
}

void CServiceMetrics::CountRender(std::chrono::steady_clock::duration elapsed, int nPages) {
    const auto nMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    const std::uint64_t nCounted = nMicroseconds < 0 ? 0 : static_cast<std::uint64_t>(nMicroseconds);
    for (std::size_t i = 0; i < kBucketMicroseconds.size(); ++i) {
        if (static_cast<std::int64_t>(nCounted) <= kBucketMicroseconds[i]) {
            ++m_buckets[i];
            break;
        }
    }
    m_nRenderMicroseconds += nCounted;
    ++m_nRenders;
    m_nPages += static_cast<std::uint64_t>(nPages < 0 ? 0 : nPages);
}

std::string CServiceMetrics::Format() const {
    std::string strText;
    Header(strText, "vitalchart_http_requests_total", "counter", "HTTP requests answered, by status code.");
    for (std::size_t nStatus = 100; nStatus < m_answers.size(); ++nStatus) {
        const std::uint64_t n = m_answers[nStatus].load();
        if (n == 0) continue;
        strText +=
            "vitalchart_http_requests_total{code=\"" + std::to_string(nStatus) + "\"} " + std::to_string(n) + "\n";
    }
    Header(strText, "vitalchart_render_seconds", "histogram",
           "Time to make one chart: reading the body, pagination, drawing and encoding.");
    std::uint64_t nCumulative = 0;
    for (std::size_t i = 0; i < kBucketBounds.size(); ++i) {
        nCumulative += m_buckets[i].load();
        strText += std::string("vitalchart_render_seconds_bucket{le=\"") + kBucketBounds[i] + "\"} " +
                   std::to_string(nCumulative) + "\n";
    }
    const std::uint64_t nRenders = m_nRenders.load();
    strText += "vitalchart_render_seconds_bucket{le=\"+Inf\"} " + std::to_string(nRenders) + "\n";
    strText += "vitalchart_render_seconds_sum " + Seconds(m_nRenderMicroseconds.load()) + "\n";
    strText += "vitalchart_render_seconds_count " + std::to_string(nRenders) + "\n";
    Header(strText, "vitalchart_pages_drawn_total", "counter", "Chart pages drawn.");
    strText += "vitalchart_pages_drawn_total " + std::to_string(m_nPages.load()) + "\n";
    Header(strText, "vitalchart_render_time_limit_total", "counter",
           "Renders given up at the render time limit (answered 503).");
    strText += "vitalchart_render_time_limit_total " + std::to_string(m_nTimeLimits.load()) + "\n";
    Header(strText, "vitalchart_busy_total", "counter", "Chart requests refused with every worker busy (503).");
    strText += "vitalchart_busy_total " + std::to_string(m_nBusy.load()) + "\n";
    return strText;
}

}  // namespace cli
}  // namespace vitalchart
