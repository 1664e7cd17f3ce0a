#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "clinical/diagnostic.h"
#include "clinical/fhir_map.h"
#include "clinical/readings_document.h"

namespace vitalchart::clinical {

// Reads a FHIR R4 Bundle into a readings document: the Patient, the
// Encounter (admission, discharge or death, ward and bed with their
// transfers), completed Procedures as the events the mapping table names, and
// vital-signs Observations as readings. Observations the table cannot map, or
// whose value or unit cannot be read, become skipped entries that the
// pagination report lists with a warning.
class CFhirBundleReader {
public:
    // False, with at least one error in rDiagnostics, when the bytes are no
    // usable Bundle (not JSON, no Encounter with an admission time, ...).
    static bool ReadBundle(std::string_view bytes, const std::string& strFile, const CFhirMap& map,
                           CReadingsDocument& rDocument, std::vector<CDiagnostic>& rDiagnostics);
};

}  // namespace vitalchart::clinical
