#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vitalchart {
namespace cli {

// Header fields and query parameters in the order they came.
using FieldList = std::vector<std::pair<std::string, std::string>>;

// A request as the chart service sees it once the HTTP library has read it:
// the method, the path and its decoded query parameters, the header fields
// (names as sent) and the body.
struct HttpRequest {
    std::string strMethod;
    std::string strPath;
    FieldList params;
    FieldList headers;
    std::string strBody;

    // The first header field of that name, compared without case; null when
    // there is none.
    const std::string* FindHeader(std::string_view name) const;
};

// The answer: status, content type, body and further header fields.
struct HttpResponse {
    int nStatus = 200;
    std::string strContentType;
    std::string strBody;
    FieldList headers;
};

}  // namespace cli
}  // namespace vitalchart
