#pragma once

#include <string>
#include <vector>

#include "tools/serve/http_message.h"

namespace vitalchart {
namespace cli {

// A problem details answer (application/problem+json): the status, its
// title, and the detail of this occurrence; "errors" lists the findings in a
// readings document or bundle, each with its JSON Pointer. Texts that are not
// UTF-8 (a name from the request) are written with replacement characters.
HttpResponse Problem(int nStatus, const std::string& strDetail);

struct ProblemFinding {
    std::string strPointer;
    std::string strDetail;
};
HttpResponse Problem(int nStatus, const std::string& strDetail, const std::vector<ProblemFinding>& arrErrors);

// The reason phrase of a status this service answers ("Not Found").
const char* StatusTitle(int nStatus);

}  // namespace cli
}  // namespace vitalchart
