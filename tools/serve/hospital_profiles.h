#pragma once

#include <memory>
#include <string>
#include <vector>

#include "clinical/fhir_map.h"
#include "clinical/hospital_profile.h"
#include "tools/serve/stamped_cache.h"

namespace vitalchart {
namespace cli {

// The hospital profiles NAME.json of one folder and its FHIR mapping table,
// fhir-map.json (see CStampedCache). Without a folder there are none.
class CHospitalProfiles {
public:
    static constexpr std::size_t kMaxProfileBytes = 4u << 20;
    // The mapping table's name in the folder; no profile has it.
    static constexpr const char* kFhirMapName = "fhir-map";

    explicit CHospitalProfiles(const std::string& strDir);

    Lookup GetProfile(const std::string& strName, std::shared_ptr<const clinical::CHospitalProfile>& rProfile,
                      std::string& rError);
    Lookup GetFhirMap(std::shared_ptr<const clinical::CFhirMap>& rMap, std::string& rError);
    // The profiles' names, sorted.
    std::vector<std::string> Names() const;

private:
    CStampedCache<clinical::CHospitalProfile> m_profiles;
    CStampedCache<clinical::CFhirMap> m_maps;
};

}  // namespace cli
}  // namespace vitalchart
