#include "tools/serve/hospital_profiles.h"

#include <algorithm>

namespace vitalchart {
namespace cli {

namespace {

// The errors of a file that cannot be loaded, on one line.
std::string Errors(const std::vector<clinical::CDiagnostic>& arrDiagnostics) {
    std::string strErrors;
    for (const clinical::CDiagnostic& diagnostic : arrDiagnostics) {
        if (diagnostic.m_bWarning) continue;
        strErrors += (strErrors.empty() ? "" : "; ") + diagnostic.Format();
    }
    return strErrors;
}

bool LoadProfile(const std::string& strBytes, const std::string& strName, clinical::CHospitalProfile& rProfile,
                 std::string& rError) {
    std::vector<clinical::CDiagnostic> arrDiagnostics;
    if (rProfile.LoadProfile(strBytes, strName + ".json", arrDiagnostics)) return true;
    rError = Errors(arrDiagnostics);
    return false;
}

bool LoadMap(const std::string& strBytes, const std::string& strName, clinical::CFhirMap& rMap, std::string& rError) {
    std::vector<clinical::CDiagnostic> arrDiagnostics;
    if (rMap.LoadMap(strBytes, strName + ".json", arrDiagnostics)) return true;
    rError = Errors(arrDiagnostics);
    return false;
}

}  // namespace

CHospitalProfiles::CHospitalProfiles(const std::string& strDir)
    : m_profiles(strDir, ".json", kMaxProfileBytes, LoadProfile), m_maps(strDir, ".json", kMaxProfileBytes, LoadMap) {}

Lookup CHospitalProfiles::GetProfile(const std::string& strName,
                                     std::shared_ptr<const clinical::CHospitalProfile>& rProfile, std::string& rError) {
    if (strName == kFhirMapName) return Lookup::kUnknown;
    return m_profiles.Get(strName, rProfile, rError);
}

Lookup CHospitalProfiles::GetFhirMap(std::shared_ptr<const clinical::CFhirMap>& rMap, std::string& rError) {
    return m_maps.Get(kFhirMapName, rMap, rError);
}

std::vector<std::string> CHospitalProfiles::Names() const {
    std::vector<std::string> names = m_profiles.Names();
    names.erase(std::remove(names.begin(), names.end(), kFhirMapName), names.end());
    return names;
}

}  // namespace cli
}  // namespace vitalchart
