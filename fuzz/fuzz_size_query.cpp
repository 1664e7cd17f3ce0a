// GetPluginSizeByTemplet on a template file holding the input.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "vitalchart/plugin.h"

using vitalchart::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    vitalchart::fuzz::CScratchFile& file = vitalchart::fuzz::ScratchTemplate();
    file.Write(std::string(reinterpret_cast<const char*>(pData), nSize));
    float fWidth = -1.0f;
    float fHeight = -1.0f;
    VitalChartBool bFound = GetPluginSizeByTemplet(&fWidth, &fHeight, file.Path().c_str());
    Require(bFound == 0 || bFound == 1, "the size query returned neither 0 nor 1");
    if (!bFound) Require(fWidth == 0.0f && fHeight == 0.0f, "a failed size query left a size");
    // A template without the element name cannot declare a size.
    if (std::string(reinterpret_cast<const char*>(pData), nSize).find("vitalsize") == std::string::npos) {
        Require(!bFound, "a size found without a vitalsize element");
    }
    // Null size pointers are the host's mistake, but must not bring it down.
    GetPluginSizeByTemplet(nullptr, nullptr, file.Path().c_str());
    return 0;
}
