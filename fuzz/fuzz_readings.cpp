// The readings-document reader on raw bytes; what it accepts is paginated
// with a small profile, leniently and strictly.

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
    clinical::CReadingsDocument document;
    const bool bLoaded = document.LoadReadings(std::string_view(reinterpret_cast<const char*>(pData), nSize),
                                               "readings.json", arrDiagnostics);
    fuzz::Require(bLoaded != clinical::HasErrors(arrDiagnostics), "loading and errors disagree");
    if (bLoaded) fuzz::CheckPagination(document, s_profile);
    return 0;
}
