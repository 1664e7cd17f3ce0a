// The chart service's request handling behind the HTTP library, on a
// request written as text:
//
//   METHOD PATH[?NAME=VALUE&...]\n
//   Field: value\n ...
//   \n
//   BODY
//
// Query values are taken as the library hands them over, already decoded, so
// any byte may appear in them. The service serves a small template and the
// clinical targets' profile and mapping table from a scratch folder; every
// answer must be a chart of the format asked for or problem details whose
// status is the answer's, and the refusal made before the body is read must
// be the one the whole request gets.

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "fuzz/fuzz_clinical.h"
#include "tools/serve/chart_service.h"

using namespace vitalchart;

namespace {

// Bodies beyond this say nothing the smaller ones do not, and cost time.
constexpr std::size_t kMaxInput = 16384;

const char* const kTemplate = R"(<vitalsign>
<vitalsize width="60" height="40"/>
<vitalpen id="t" pen-width="1" color="0,0,255"/>
<vitalfont id="f" font-name="宋体" font-size="8"/>
<vitaltext text="体温单" left="+2" top="+1" right="20" bottom="3" font-id="f"/>
<vitallineout name="体温" x="+5" y="+35" cx="2" cy="1" scale="0.2" base-value="35" symbol="1" special-symbol="2" pen-id="t"/>
<vitallineout name="脉搏" x="+5" y="+35" cx="2" cy="1" scale="4" base-value="20" symbol="4" pen-id="t"/>
<vitaltextout name="血压" x="+5" y="+2" cx="4" cy="3" font-id="f"/>
<vitaltextout name="日期" x="+5" y="+6" cx="14" cy="3" align="center"/>
<vitaltextout name="事件" x="+5" y="+10" cx="2" cy="6" align="vertical"/>
</vitalsign>
)";

// Fonts of the Latin faces only, when they are installed (scripts/setup.sh).
const char* const kLatinFonts = "/usr/share/fonts/truetype/liberation2";

// The service, its workers and its scratch folders, made once.
class CFuzzedService {
public:
    CFuzzedService() : m_pool(1, 1) {
        char szDir[] = "/tmp/vitalchart-fuzz-serve-XXXXXX";
        fuzz::Require(::mkdtemp(szDir) != nullptr, "cannot make the scratch folder");
        m_strDir = szDir;
        // Every PDF embeds the glyphs it uses, and cutting them out of the
        // CJK fonts costs ten times the rest of a request. That is the
        // drawing library's work, which fuzz_cairo drives; here the fonts
        // are the small Latin ones, so the search stays on the handling.
        if (::access(kLatinFonts, R_OK) == 0) {
            std::ofstream(m_strDir + "/fonts.conf")
                << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << kLatinFonts << "</dir><cachedir>" << m_strDir
                << "/fonts</cachedir></fontconfig>\n";
            ::setenv("FONTCONFIG_FILE", (m_strDir + "/fonts.conf").c_str(), 1);
        }
        ::mkdir((m_strDir + "/templates").c_str(), 0700);
        ::mkdir((m_strDir + "/profiles").c_str(), 0700);
        std::ofstream(m_strDir + "/templates/form.xml") << kTemplate;
        std::ofstream(m_strDir + "/profiles/ward.json") << fuzz::kProfile;
        std::ofstream(m_strDir + "/profiles/fhir-map.json") << fuzz::kMap;
        cli::ServiceConfig config;
        config.strTemplates = m_strDir + "/templates";
        config.strProfiles = m_strDir + "/profiles";
        config.limits.nMaxBody = 8192;
        config.limits.timeLimit = std::chrono::seconds(5);
        config.limits.nMaxPixels = 1 << 18;
        m_pService = std::make_unique<cli::CChartService>(config, m_pool);
    }
    ~CFuzzedService() {
        m_pool.Stop();
        std::system(("rm -rf '" + m_strDir + "'").c_str());
    }

    cli::CChartService& Service() { return *m_pService; }

private:
    cli::CWorkerPool m_pool;
    std::string m_strDir;
    std::unique_ptr<cli::CChartService> m_pService;
};

// Reads the request from the text; false when it has no first line.
bool Decode(const std::string& strInput, cli::HttpRequest& rRequest) {
    std::size_t nEnd = strInput.find('\n');
    if (nEnd == std::string::npos) return false;
    const std::string strLine = strInput.substr(0, nEnd);
    const std::size_t nSpace = strLine.find(' ');
    rRequest.strMethod = strLine.substr(0, nSpace);
    const std::string strTarget = nSpace == std::string::npos ? "/" : strLine.substr(nSpace + 1);
    const std::size_t nQuery = strTarget.find('?');
    rRequest.strPath = strTarget.substr(0, nQuery);
    for (std::size_t nStart = nQuery; nStart != std::string::npos && nStart < strTarget.size();) {
        const std::size_t nNext = strTarget.find('&', nStart + 1);
        const std::string strParam =
            strTarget.substr(nStart + 1, nNext == std::string::npos ? nNext : nNext - nStart - 1);
        const std::size_t nEquals = strParam.find('=');
        rRequest.params.emplace_back(strParam.substr(0, nEquals),
                                     nEquals == std::string::npos ? "" : strParam.substr(nEquals + 1));
        nStart = nNext;
    }
    std::size_t nStart = nEnd + 1;
    while (nStart < strInput.size() && strInput[nStart] != '\n') {
        nEnd = strInput.find('\n', nStart);
        if (nEnd == std::string::npos) nEnd = strInput.size();
        const std::string strField = strInput.substr(nStart, nEnd - nStart);
        const std::size_t nColon = strField.find(':');
        const std::size_t nValue =
            nColon == std::string::npos ? strField.size() : strField.find_first_not_of(' ', nColon + 1);
        rRequest.headers.emplace_back(strField.substr(0, nColon),
                                      nValue == std::string::npos ? "" : strField.substr(nValue));
        nStart = nEnd + 1;
    }
    if (nStart < strInput.size()) rRequest.strBody = strInput.substr(nStart + 1);
    return true;
}

void CheckAnswer(const cli::HttpRequest& request, const cli::HttpResponse& response) {
    const int nStatus = response.nStatus;
    if (nStatus == 200) {
        if (request.strPath != "/v1/charts") return;
        std::string strFormat;
        for (const auto& param : request.params) {
            if (param.first == "format") strFormat = param.second;
        }
        const std::string strMagic = strFormat == "png"   ? "\x89PNG"
                                     : strFormat == "pdf" ? "%PDF-"
                                     : strFormat == "svg" ? "<?xml"
                                                          : "";
        fuzz::Require(response.strBody.compare(0, strMagic.size(), strMagic) == 0, "a chart of another format",
                      strFormat);
        return;
    }
    // 500 means a file of the service's own could not be used, or a chart
    // failed that should not have.
    fuzz::Require(nStatus == 400 || nStatus == 404 || nStatus == 405 || nStatus == 413 || nStatus == 415 ||
                      nStatus == 422 || nStatus == 503,
                  "an unexpected status", std::to_string(nStatus) + " " + response.strBody);
    fuzz::Require(response.strContentType == "application/problem+json", "an error that is no problem details");
    const auto problem = nlohmann::json::parse(response.strBody, nullptr, false);
    fuzz::Require(problem.is_object() && problem.value("status", 0) == nStatus, "problem details of another status",
                  response.strBody);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    static CFuzzedService s_service;
    if (nSize > kMaxInput) return 0;
    cli::HttpRequest request;
    if (!Decode(std::string(reinterpret_cast<const char*>(pData), nSize), request)) return 0;
    cli::CChartService& service = s_service.Service();
    const std::optional<cli::HttpResponse> screened = service.Screen(request);
    const cli::HttpResponse response = service.Handle(request);
    if (screened) fuzz::Require(screened->nStatus == response.nStatus, "the refusal before the body is not kept");
    CheckAnswer(request, response);
    return 0;
}
