#include "surface/cairo/font_config.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <future>
#include <mutex>
#include <system_error>

namespace vitalchart {

namespace {

bool IsReadable(const std::string& strPath) {
    return !strPath.empty() && ::access(strPath.c_str(), R_OK) == 0;
}

// The font map in the data folder beside the library this code was loaded from.
std::string FontsConfBesideLibrary() {
    Dl_info info;
    if (::dladdr(reinterpret_cast<void*>(&FindFontsConf), &info) == 0 || info.dli_fname == nullptr) return {};
    std::string strLibrary = info.dli_fname;
    const std::size_t nSlash = strLibrary.find_last_of('/');
    const std::string strFolder = nSlash == std::string::npos ? std::string(".") : strLibrary.substr(0, nSlash);
    return strFolder + "/" VITALCHART_DATA_FROM_LIBRARY "/vitalchart/vitalchart-fonts.conf";
}

// The system's font configuration as fontconfig's own loader reads it, less
// the descriptions of every configuration file the system offers but does
// not use, which that loader parses too (dozens of files) for listing
// tools. Where the system's files name no cache folder, fontconfig's
// loader is left to add its own, and to say so.
FcConfig* LoadSystemFontConfig() {
    // fontconfig reads FC_DEBUG when its loader starts; this public call
    // reads it too, without loading anything, so the switch keeps working.
    FcStrFree(FcLangNormalize(reinterpret_cast<const FcChar8*>("C")));
    FcConfig* pConfig = FcConfigCreate();
    if (pConfig == nullptr) return nullptr;
    if (FcConfigParseAndLoad(pConfig, nullptr, FcTrue)) {
        FcStrList* pCacheDirs = FcConfigGetCacheDirs(pConfig);
        const bool bCached = pCacheDirs != nullptr && FcStrListNext(pCacheDirs) != nullptr;
        if (pCacheDirs != nullptr) FcStrListDone(pCacheDirs);
        if (bCached) return pConfig;
    }
    FcConfigDestroy(pConfig);
    return FcInitLoadConfig();
}

// A private configuration: the system's, then the chart's face name
// aliases. Nothing global changes. Null when fontconfig cannot build one,
// and the font map then uses the default configuration.
FcConfig* LoadFontConfig() {
    FcConfig* pConfig = LoadSystemFontConfig();
    if (pConfig == nullptr) return nullptr;
    const std::string strConf = FindFontsConf();
    if (!strConf.empty()) {
        FcConfigParseAndLoad(pConfig, reinterpret_cast<const FcChar8*>(strConf.c_str()), FcFalse);
    }
    if (!FcConfigBuildFonts(pConfig)) {
        FcConfigDestroy(pConfig);
        return nullptr;
    }
    return pConfig;
}

}  // namespace

std::string FindFontsConf() {
    const char* pszChosen = std::getenv("VITALCHART_FONTS_CONF");
    if (pszChosen != nullptr && IsReadable(pszChosen)) return pszChosen;
    const std::string strBeside = FontsConfBesideLibrary();
    return IsReadable(strBeside) ? strBeside : std::string();
}

FcConfig* SharedFontConfig() {
    // Reading the configuration again for each chart costs time and, inside
    // fontconfig's parser, a little memory each time.
    static FcConfig* const s_pConfig = LoadFontConfig();
    if (s_pConfig == nullptr) return nullptr;
    return FcConfigReference(s_pConfig);
}

namespace {

// The configuration being made current by BeginSharedFontConfig, if it was begun.
std::mutex s_sharingMutex;
std::shared_future<bool> s_sharing;

}  // namespace

bool MakeSharedFontConfigCurrent() {
    FcConfig* pConfig = SharedFontConfig();
    if (pConfig == nullptr) return false;
    // fontconfig takes its own reference.
    const bool bCurrent = FcConfigSetCurrent(pConfig) == FcTrue;
    FcConfigDestroy(pConfig);
    return bCurrent;
}

void BeginSharedFontConfig() {
    const std::lock_guard<std::mutex> lock(s_sharingMutex);
    if (s_sharing.valid()) return;
    try {
        s_sharing = std::async(std::launch::async, MakeSharedFontConfigCurrent).share();
    } catch (const std::system_error&) {
        std::promise<bool> made;
        made.set_value(MakeSharedFontConfigCurrent());
        s_sharing = made.get_future().share();
    }
}

void AwaitSharedFontConfig() {
    std::shared_future<bool> sharing;
    {
        const std::lock_guard<std::mutex> lock(s_sharingMutex);
        sharing = s_sharing;
    }
    if (sharing.valid()) sharing.wait();
}

}  // namespace vitalchart

extern "C" void vitalchart_begin_shared_fonts() {
    vitalchart::BeginSharedFontConfig();
}
