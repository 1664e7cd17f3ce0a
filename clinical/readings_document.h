#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "clinical/diagnostic.h"
#include "clinical/stay_records.h"

namespace vitalchart::clinical {

// A patient's stay as readings, the form vitalchart takes them in (see
// docs/readings.md and schemas/readings.schema.json): the header, the events
// and the readings, each remembering where in its file it was written.
class CReadingsDocument {
public:
    // The file the contents came from, for messages and the report.
    std::string m_strFile;
    CPatient m_patient;
    std::vector<CStayEvent> m_arrEvents;
    std::vector<CReading> m_arrReadings;
    std::vector<CSkippedEntry> m_arrSkipped;

    // Reads a readings document from its bytes; strFile names it in messages.
    // Replaces the contents. False, with at least one error in rDiagnostics,
    // when the document cannot be used.
    bool LoadReadings(std::string_view bytes, const std::string& strFile, std::vector<CDiagnostic>& rDiagnostics);

    // The checks a document must pass whatever it was read from: ids given
    // once, cooling links to existing readings, a value or a reason on each
    // reading. Adds errors to rDiagnostics; false when there is one.
    bool Check(std::vector<CDiagnostic>& rDiagnostics) const;
};

}  // namespace vitalchart::clinical
