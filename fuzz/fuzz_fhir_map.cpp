// The FHIR mapping-table reader on raw bytes; a table it accepts reads a
// small bundle, which is paginated with a small profile.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_clinical.h"

using namespace vitalchart;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    static const clinical::CHospitalProfile s_profile =
        fuzz::LoadEmbedded<clinical::CHospitalProfile>([](auto& rProfile, auto& rDiagnostics) {
            return rProfile.LoadProfile(fuzz::kProfile, "profile.json", rDiagnostics);
        });
    std::vector<clinical::CDiagnostic> arrDiagnostics;
    clinical::CFhirMap map;
    const bool bLoaded =
        map.LoadMap(std::string_view(reinterpret_cast<const char*>(pData), nSize), "fhir-map.json", arrDiagnostics);
    fuzz::Require(bLoaded != clinical::HasErrors(arrDiagnostics), "loading and errors disagree");
    if (!bLoaded) return 0;
    clinical::CReadingsDocument document;
    if (clinical::CFhirBundleReader::ReadBundle(fuzz::kBundle, "bundle.json", map, document, arrDiagnostics)) {
        fuzz::CheckPagination(document, s_profile);
    }
    return 0;
}
