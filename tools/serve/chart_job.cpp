#include "tools/serve/chart_job.h"

#include <new>
#include <vector>

#include "render/chart_page.h"
#include "tools/memory_sink.h"
#include "tools/page_layout.h"
#include "tools/serve/deadline_dc.h"
#include "tools/serve/problem.h"

namespace vitalchart {
namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

const char* ContentTypeOf(Format format) {
    switch (format) {
        case Format::kPdf:
            return "application/pdf";
        case Format::kPng:
            return "image/png";
        case Format::kSvg:
            return "image/svg+xml";
        default:
            return "text/plain; charset=us-ascii";
    }
}

HttpResponse TimeLimitPassed(CServiceMetrics& metrics) {
    metrics.CountTimeLimit();
    HttpResponse response = Problem(503, "the chart was not made within the render time limit");
    response.headers.emplace_back("Retry-After", "1");
    return response;
}

std::optional<HttpResponse> FindForm(const std::string& strName, CChartForms& forms,
                                     std::shared_ptr<const ChartForm>& rForm) {
    std::string strError;
    switch (forms.Get(strName, rForm, strError)) {
        case Lookup::kFound:
            return std::nullopt;
        case Lookup::kBadName:
            return Problem(400, "a template name holds no path separator, '..', control byte or leading dot");
        case Lookup::kUnknown:
            return Problem(404, "no template '" + strName + "'");
        case Lookup::kUnusable:
            break;
    }
    return Problem(500, "the template '" + strName + "' cannot be used: " + strError);
}

HttpResponse Draw(const ChartJob& job, const ChartForm& form, const ChartInput& input, const ChartLimits& limits,
                  CServiceMetrics& metrics) {
    const ChartQuery& query = job.query;
    const int nPages = static_cast<int>(input.pages.size());
    if (query.page && *query.page > nPages) {
        return Problem(
            400, "page " + std::to_string(*query.page) + " was asked for, and the chart has " + std::to_string(nPages));
    }
    // A PDF holds every page unless one is asked for; the other formats are a page each.
    int nFirst = query.page.value_or(1);
    int nLast = query.page || query.format != Format::kPdf ? nFirst : nPages;
    if (nLast - nFirst + 1 > limits.nMaxPages) {
        return Problem(422, "the chart has " + std::to_string(nPages) + " pages and one PDF holds at most " +
                                std::to_string(limits.nMaxPages) + "; ask for them a page at a time with page=N");
    }

    CommandLine line;
    line.dpi = query.dpi;
    line.print = query.print;
    line.archive.strPaper = query.strPaper;
    line.archive.bFit = query.bFit;
    PageLayout layout = LayOutPages(line, query.format, form.chartTemplate, form.nCodePage, nLast - nFirst + 1);
    std::string strError;
    // On paper the page is the sheet; a chart larger than it is refused
    // unless fit=1 asks for it shrunk.
    if (!query.strPaper.empty() && !LayOutOnPaper(line, form.chartTemplate, layout, strError)) {
        return Problem(422, strError);
    }
    const PageSettings& settings = layout.settings;
    if (query.format == Format::kPng &&
        static_cast<long long>(settings.nWidth) * settings.nHeight > limits.nMaxPixels) {
        return Problem(400, "the page would be " + std::to_string(settings.nWidth) + " x " +
                                std::to_string(settings.nHeight) + " pixels, more than the " +
                                std::to_string(limits.nMaxPixels) + " a picture may have; ask for a lower dpi");
    }

    CMemorySink sink(query.format, settings);
    for (int nPage = nFirst; nPage <= nLast; ++nPage) {
        if (!sink.BeginPage(nPage - nFirst + 1, strError)) return Problem(500, strError);
        CDeadlineDC dc(*sink.GetSurface(), job.deadline);
        if (!DrawChartPage(&dc, layout.geometry, form.chartTemplate, input.pages[static_cast<std::size_t>(nPage - 1)],
                           0)) {
            if (dc.HasExpired()) return TimeLimitPassed(metrics);
            return Problem(503, "out of memory drawing page " + std::to_string(nPage));
        }
        if (!sink.EndPage(strError)) return Problem(500, "page " + std::to_string(nPage) + ": " + strError);
    }
    if (!sink.Finish(strError)) return Problem(500, strError);
    std::vector<std::string> outputs = sink.TakeOutputs();
    if (outputs.size() != 1) return Problem(500, "the chart was not made");

    HttpResponse response;
    response.strContentType = ContentTypeOf(query.format);
    response.strBody = std::move(outputs.front());
    response.headers.emplace_back("Chart-Page-Count", std::to_string(nPages));
    if (nFirst == nLast) response.headers.emplace_back("Chart-Page", std::to_string(nFirst));
    if (job.bodyType.kind != BodyType::kDataText) {
        response.headers.emplace_back("Chart-Warnings", std::to_string(input.nWarnings));
    }
    return response;
}

HttpResponse Make(const ChartJob& job, CChartForms& forms, CHospitalProfiles& profiles, const ChartLimits& limits,
                  CServiceMetrics& metrics) {
    const Clock::time_point start = Clock::now();
    if (start > job.deadline) return TimeLimitPassed(metrics);
    std::shared_ptr<const ChartForm> pForm;
    if (auto problem = FindForm(job.query.strTemplate, forms, pForm)) return *problem;
    ChartInput input;
    if (auto problem =
            ReadChartInput(job.bodyType, job.strBody, job.query.strProfile, pForm->nCodePage, profiles, input)) {
        return *problem;
    }
    if (input.pages.empty()) input.pages.emplace_back();
    HttpResponse response = Draw(job, *pForm, input, limits, metrics);
    if (response.nStatus == 200) {
        const int nDrawn =
            job.query.page || job.query.format != Format::kPdf ? 1 : static_cast<int>(input.pages.size());
        metrics.CountRender(Clock::now() - start, nDrawn);
    }
    return response;
}

}  // namespace

HttpResponse MakeChart(const ChartJob& job, CChartForms& forms, CHospitalProfiles& profiles, const ChartLimits& limits,
                       CServiceMetrics& metrics) {
    try {
        HttpResponse response = Make(job, forms, profiles, limits, metrics);
        // Charts are patients' records: no cache keeps them.
        response.headers.emplace_back("Cache-Control", "no-store");
        return response;
    } catch (const std::bad_alloc&) {
        return Problem(503, "out of memory making the chart");
    } catch (const std::exception& error) {
        return Problem(500, error.what());
    }
}

}  // namespace cli
}  // namespace vitalchart
