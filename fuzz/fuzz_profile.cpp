// The hospital-profile reader on raw bytes; a profile it accepts paginates a
// small stay that crosses a year's end.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_clinical.h"

using namespace vitalchart;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    static const clinical::CReadingsDocument s_document =
        fuzz::LoadEmbedded<clinical::CReadingsDocument>([](auto& rDocument, auto& rDiagnostics) {
            return rDocument.LoadReadings(fuzz::kReadings, "readings.json", rDiagnostics);
        });
    std::vector<clinical::CDiagnostic> arrDiagnostics;
    clinical::CHospitalProfile profile;
    const bool bLoaded = profile.LoadProfile(std::string_view(reinterpret_cast<const char*>(pData), nSize),
                                             "profile.json", arrDiagnostics);
    fuzz::Require(bLoaded != clinical::HasErrors(arrDiagnostics), "loading and errors disagree");
    if (bLoaded) fuzz::CheckPagination(s_document, profile);
    return 0;
}
