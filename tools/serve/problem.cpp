#include "tools/serve/problem.h"

#include <nlohmann/json.hpp>

namespace vitalchart {
namespace cli {

const char* StatusTitle(int nStatus) {
    switch (nStatus) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 415:
            return "Unsupported Media Type";
        case 422:
            return "Unprocessable Content";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return nStatus >= 500 ? "Server Error" : "Client Error";
    }
}

HttpResponse Problem(int nStatus, const std::string& strDetail) {
    return Problem(nStatus, strDetail, {});
}

HttpResponse Problem(int nStatus, const std::string& strDetail, const std::vector<ProblemFinding>& arrErrors) {
    nlohmann::ordered_json problem = {
        {"type", "about:blank"}, {"title", StatusTitle(nStatus)}, {"status", nStatus}, {"detail", strDetail}};
    if (!arrErrors.empty()) {
        nlohmann::ordered_json errors = nlohmann::ordered_json::array();
        for (const ProblemFinding& finding : arrErrors) {
            errors.push_back({{"pointer", finding.strPointer}, {"detail", finding.strDetail}});
        }
        problem["errors"] = std::move(errors);
    }
    HttpResponse response;
    response.nStatus = nStatus;
    response.strContentType = "application/problem+json";
    response.strBody = problem.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    return response;
}

}  // namespace cli
}  // namespace vitalchart
