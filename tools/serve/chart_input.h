#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/serve/hospital_profiles.h"
#include "tools/serve/http_message.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// What a chart request's body holds, by its Content-Type.
struct BodyType {
    enum Kind {
        kDataText,  // text/plain: one page
        kReadings,  // application/json: a readings document, or a FHIR Bundle
        kFhir,      // application/fhir+json: a FHIR Bundle
    } kind = kDataText;
    UINT nCodePage = 0;  // a data text's charset parameter; 0: found from its bytes
};

// The body type of a Content-Type value (null: none given); nothing, with
// rError, for a type or charset the service does not take (415).
std::optional<BodyType> TakeBodyType(const std::string* pContentType, std::string& rError);

// The data texts of a body, in the template's code page, one per page.
struct ChartInput {
    std::vector<std::string> pages;
    int nWarnings = 0;  // what pagination could not place on the chart
};

// Reads the body as its type says: a data text as it is (converted from
// UTF-8 or GBK to the template's code page), a readings document or a FHIR
// Bundle paginated with the profile NAME of the service's folder. Nothing on
// success; otherwise the problem to answer: 400 (not JSON, a data text
// neither UTF-8 nor GBK, no profile named), 404 (no such profile), 415 (FHIR
// without a mapping table), 422 (valid JSON but no readings document or
// Bundle, a stay that cannot be paginated, text the template's code page
// cannot write) or 500 (a profile that cannot be loaded).
std::optional<HttpResponse> ReadChartInput(const BodyType& type, const std::string& strBody,
                                           const std::string& strProfile, UINT nTemplateCodePage,
                                           CHospitalProfiles& profiles, ChartInput& rInput);

}  // namespace cli
}  // namespace vitalchart
