#include "tools/serve/serve_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <string>

#include "tools/command_options.h"
#include "tools/option_adders.h"

namespace vitalchart {
namespace cli {

namespace {

// A whole decimal number within [nMin, nMax], nothing before or after it.
bool ParseBounded(const std::string& str, long long nMin, long long nMax, long long& rValue) {
    const char* first = str.data();
    const char* last = str.data() + str.size();
    long long nValue = 0;
    const auto result = std::from_chars(first, last, nValue);
    if (result.ec != std::errc() || result.ptr != last || first == last || nValue < nMin || nValue > nMax) {
        return false;
    }
    rValue = nValue;
    return true;
}

void AddNumber(CLI::App& app, const char* pszName, const char* pszValue, const std::string& strHelp, long long nMin,
               long long nMax, std::function<void(long long)> fn) {
    const std::string strName = std::string("--") + pszName;
    AddValue(app, strName.c_str(), pszValue, strHelp, [=](const std::string& strValue) {
        long long nValue = 0;
        if (!ParseBounded(strValue, nMin, nMax, nValue)) {
            throw CCommandLineError(strName + " wants a whole number from " + std::to_string(nMin) + " to " +
                                    std::to_string(nMax) + ", not '" + strValue + "'");
        }
        fn(nValue);
    });
}

}  // namespace

void AddServeOptions(CLI::App& app, CommandLine& rLine) {
    ServeSettings& rServe = rLine.serve;
    AddValue(app, "--listen", "HOST:PORT", "address to listen on (default 127.0.0.1:8787; port 0: any free one)",
             [&rServe](const std::string& strValue) { rServe.strListen = strValue; });
    AddValue(app, "--templates", "DIR", "folder of the chart templates NAME.xml (required)",
             [&rServe](const std::string& strValue) { rServe.strTemplates = strValue; });
    AddValue(app, "--profiles", "DIR", "folder of the hospital profiles NAME.json and fhir-map.json",
             [&rServe](const std::string& strValue) { rServe.strProfiles = strValue; });
    AddNumber(app, "workers", "N", "render threads (default: one per core)", 1, 256,
              [&rServe](long long n) { rServe.nWorkers = static_cast<int>(n); });
    AddNumber(app, "queue", "N", "charts that may wait for a worker before 503 (default: four per worker)", 0, 4096,
              [&rServe](long long n) { rServe.nQueue = static_cast<int>(n); });
    AddNumber(app, "max-body", "BYTES", "largest request body taken (default 4194304)", 1, 1LL << 30,
              [&rServe](long long n) { rServe.nMaxBody = static_cast<std::size_t>(n); });
    AddNumber(app, "time-limit", "MS", "render time limit in milliseconds (default 10000)", 1, 3600000,
              [&rServe](long long n) { rServe.nTimeLimitMs = n; });
}

}  // namespace cli
}  // namespace vitalchart
