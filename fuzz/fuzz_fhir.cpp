// The FHIR bundle reader on raw bytes with a small mapping table; a bundle it
// reads is paginated with a small profile.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_clinical.h"

using namespace vitalchart;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    static const clinical::CFhirMap s_map = fuzz::LoadEmbedded<clinical::CFhirMap>(
        [](auto& rMap, auto& rDiagnostics) { return rMap.LoadMap(fuzz::kMap, "fhir-map.json", rDiagnostics); });
    static const clinical::CHospitalProfile s_profile =
        fuzz::LoadEmbedded<clinical::CHospitalProfile>([](auto& rProfile, auto& rDiagnostics) {
            return rProfile.LoadProfile(fuzz::kProfile, "profile.json", rDiagnostics);
        });
    std::vector<clinical::CDiagnostic> arrDiagnostics;
    clinical::CReadingsDocument document;
    const bool bLoaded = clinical::CFhirBundleReader::ReadBundle(
        std::string_view(reinterpret_cast<const char*>(pData), nSize), "bundle.json", s_map, document, arrDiagnostics);
    fuzz::Require(bLoaded != clinical::HasErrors(arrDiagnostics), "reading and errors disagree");
    if (bLoaded) fuzz::CheckPagination(document, s_profile);
    return 0;
}
