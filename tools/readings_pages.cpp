#include "tools/readings_pages.h"

#include <string>
#include <vector>

#include "clinical/fhir_bundle_reader.h"
#include "tools/output_files.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

using clinical::CDiagnostic;

namespace {

// The name the built-in mapping table goes by in messages and the report.
constexpr const char* kDefaultMapName = "fhir-map.json (built in)";

bool ReadInput(const std::string& strPath, std::string& rBytes) {
    std::string strError;
    if (ReadWholeFile(strPath, rBytes, strError)) return true;
    Fail(strError);
    return false;
}

// Writes each finding on standard error, a warning as an error under
// --strict. True when none is an error.
bool WriteFindings(std::vector<CDiagnostic>& arrFindings, bool bStrict) {
    bool bOk = true;
    for (CDiagnostic& finding : arrFindings) {
        if (bStrict) finding.m_bWarning = false;
        bOk = bOk && finding.m_bWarning;
        Note(ForTerminal(finding.Format(), CP_UTF8));
    }
    return bOk;
}

}  // namespace

bool PaginateReadings(const CommandLine& line, clinical::CPagination& rPages) {
    rPages = clinical::CPagination();
    std::vector<CDiagnostic> arrFindings;
    std::string strBytes;
    clinical::CHospitalProfile profile;
    bool bOk = ReadInput(line.strProfile, strBytes) && profile.LoadProfile(strBytes, line.strProfile, arrFindings);
    // The readings are read even when the profile is not, so that one run
    // names the mistakes of both.
    clinical::CReadingsDocument document;
    if (line.strFhir.empty()) {
        bOk = ReadInput(line.strReadings, strBytes) && document.LoadReadings(strBytes, line.strReadings, arrFindings) &&
              bOk;
    } else {
        clinical::CFhirMap map;
        std::string strMap(DefaultFhirMap());
        const std::string strMapName = line.strMap.empty() ? kDefaultMapName : line.strMap;
        bOk = (line.strMap.empty() || ReadInput(line.strMap, strMap)) && map.LoadMap(strMap, strMapName, arrFindings) &&
              ReadInput(line.strFhir, strBytes) &&
              clinical::CFhirBundleReader::ReadBundle(strBytes, line.strFhir, map, document, arrFindings) && bOk;
    }
    bOk = WriteFindings(arrFindings, line.bStrict) && bOk;
    if (!bOk) return false;
    bOk = clinical::CPaginator::Paginate(document, profile, line.bStrict, rPages);
    bOk = WriteFindings(rPages.m_arrDiagnostics, line.bStrict) && bOk;
    if (!bOk) rPages.m_arrPages.clear();
    return bOk;
}

}  // namespace cli
}  // namespace vitalchart
