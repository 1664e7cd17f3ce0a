#include "tools/serve/chart_input.h"

#include "clinical/fhir_bundle_reader.h"
#include "clinical/paginator.h"
#include "clinical/readings_document.h"
#include "tools/serve/json_kind.h"
#include "tools/serve/media_type.h"
#include "tools/serve/problem.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

// Findings listed in one answer; a document of errors says enough by then.
constexpr std::size_t kMaxFindings = 20;

HttpResponse Unprocessable(const std::string& strDetail, const std::vector<clinical::CDiagnostic>& arrDiagnostics) {
    std::vector<ProblemFinding> arrErrors;
    for (const clinical::CDiagnostic& diagnostic : arrDiagnostics) {
        if (diagnostic.m_bWarning) continue;
        if (arrErrors.size() == kMaxFindings) break;
        arrErrors.push_back({diagnostic.m_strPointer, diagnostic.m_strMessage});
    }
    return Problem(422, strDetail, arrErrors);
}

// A page's text in the template's code page.
std::optional<HttpResponse> ToTemplateCodePage(std::string& rText, UINT nFrom, UINT nTo, const std::string& strWhat) {
    if (nFrom == nTo) return std::nullopt;
    std::string strConverted;
    std::string strWhy;
    if (!ConvertText(rText, nFrom, nTo, strConverted, strWhy)) {
        return Problem(422, strWhat + " cannot be written in the template's code page: " + strWhy);
    }
    rText.swap(strConverted);
    return std::nullopt;
}

std::optional<HttpResponse> ReadDataText(const BodyType& type, const std::string& strBody, UINT nTemplateCodePage,
                                         ChartInput& rInput) {
    UINT nCodePage = type.nCodePage;
    if (nCodePage == CP_UTF8 && !IsValidUtf8(strBody)) return Problem(400, "the data text is not valid UTF-8");
    if (nCodePage == 0) {
        const DetectedEncoding detected = DetectEncoding(strBody);
        if (detected.encoding == TextEncoding::kNeither) {
            return Problem(400, "the data text is neither UTF-8 nor GBK (byte " + std::to_string(detected.nOffset) +
                                    "); name its charset");
        }
        nCodePage = detected.encoding == TextEncoding::kGbk    ? CP_GBK
                    : detected.encoding == TextEncoding::kUtf8 ? CP_UTF8
                                                               : nTemplateCodePage;
    }
    rInput.pages.push_back(strBody);
    return ToTemplateCodePage(rInput.pages.back(), nCodePage, nTemplateCodePage, "the data text");
}

std::optional<HttpResponse> ReadClinical(const BodyType& type, const std::string& strBody,
                                         const std::string& strProfile, UINT nTemplateCodePage,
                                         CHospitalProfiles& profiles, ChartInput& rInput) {
    std::string strError;
    const JsonKind kind = SniffJson(strBody, strError);
    if (kind == JsonKind::kMalformed) return Problem(400, "the body is not JSON: " + strError);
    if (type.kind == BodyType::kFhir && kind != JsonKind::kBundle) {
        return Problem(422, "the body is JSON but no FHIR Bundle");
    }
    if (strProfile.empty()) return Problem(400, "readings need a hospital profile: add profile=NAME");
    std::shared_ptr<const clinical::CHospitalProfile> pProfile;
    switch (profiles.GetProfile(strProfile, pProfile, strError)) {
        case Lookup::kFound:
            break;
        case Lookup::kBadName:
            return Problem(400, "a profile name holds no path separator, '..', control byte or leading dot");
        case Lookup::kUnknown:
            return Problem(404, "no profile '" + strProfile + "'");
        case Lookup::kUnusable:
            return Problem(500, "the profile '" + strProfile + "' cannot be used: " + strError);
    }

    std::vector<clinical::CDiagnostic> arrDiagnostics;
    clinical::CReadingsDocument document;
    if (kind == JsonKind::kBundle) {
        std::shared_ptr<const clinical::CFhirMap> pMap;
        switch (profiles.GetFhirMap(pMap, strError)) {
            case Lookup::kFound:
                break;
            case Lookup::kUnusable:
                return Problem(500, "the FHIR mapping table cannot be used: " + strError);
            default:
                return Problem(415, "this service has no FHIR mapping table for bundles");
        }
        if (!clinical::CFhirBundleReader::ReadBundle(strBody, "bundle", *pMap, document, arrDiagnostics)) {
            return Unprocessable("the Bundle holds no stay that can be charted", arrDiagnostics);
        }
    } else if (!document.LoadReadings(strBody, "readings", arrDiagnostics)) {
        return Unprocessable("the body is JSON but no readings document", arrDiagnostics);
    }
    clinical::CPagination pagination;
    if (!clinical::CPaginator::Paginate(document, *pProfile, false, pagination)) {
        return Unprocessable("the stay cannot be laid out on pages", pagination.m_arrDiagnostics);
    }
    for (const clinical::CDiagnostic& diagnostic : arrDiagnostics) rInput.nWarnings += diagnostic.m_bWarning ? 1 : 0;
    for (const clinical::CDiagnostic& diagnostic : pagination.m_arrDiagnostics) {
        rInput.nWarnings += diagnostic.m_bWarning ? 1 : 0;
    }
    rInput.pages = std::move(pagination.m_arrPages);
    for (std::size_t i = 0; i < rInput.pages.size(); ++i) {
        auto problem = ToTemplateCodePage(rInput.pages[i], CP_UTF8, nTemplateCodePage, "page " + std::to_string(i + 1));
        if (problem) return problem;
    }
    return std::nullopt;
}

}  // namespace

std::optional<BodyType> TakeBodyType(const std::string* pContentType, std::string& rError) {
    MediaType media;
    if (pContentType == nullptr || !ParseMediaType(*pContentType, media)) {
        rError = "the body needs a Content-Type: text/plain, application/json or application/fhir+json";
        return std::nullopt;
    }
    BodyType type;
    const std::string& strCharset = media.strCharset;
    if (media.strType == "text/plain") {
        if (strCharset.empty()) return type;
        if (strCharset == "utf-8" || strCharset == "utf8" || strCharset == "us-ascii") {
            type.nCodePage = CP_UTF8;
        } else if (strCharset == "gbk" || strCharset == "gb2312" || strCharset == "cp936") {
            type.nCodePage = CP_GBK;
        } else {
            rError = "a data text is UTF-8 or GBK, not charset " + strCharset;
            return std::nullopt;
        }
        return type;
    }
    if (media.strType == "application/json" || media.strType == "application/fhir+json") {
        if (!strCharset.empty() && strCharset != "utf-8" && strCharset != "utf8") {
            rError = "JSON is UTF-8, not charset " + strCharset;
            return std::nullopt;
        }
        type.kind = media.strType == "application/json" ? BodyType::kReadings : BodyType::kFhir;
        return type;
    }
    rError =
        "the service takes text/plain (a data text), application/json (a readings document or FHIR Bundle) "
        "and application/fhir+json, not " +
        media.strType;
    return std::nullopt;
}

std::optional<HttpResponse> ReadChartInput(const BodyType& type, const std::string& strBody,
                                           const std::string& strProfile, UINT nTemplateCodePage,
                                           CHospitalProfiles& profiles, ChartInput& rInput) {
    rInput = ChartInput();
    if (type.kind == BodyType::kDataText) return ReadDataText(type, strBody, nTemplateCodePage, rInput);
    return ReadClinical(type, strBody, strProfile, nTemplateCodePage, profiles, rInput);
}

}  // namespace cli
}  // namespace vitalchart
