#pragma once

// What the clinical tests share: the repository's files, documents loaded
// with their findings, and pagination in one call.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "clinical/fhir_bundle_reader.h"
#include "clinical/paginator.h"

namespace vitalchart::clinical::test {

inline std::string SourcePath(const std::string& strRelative) {
    return std::string(VITALCHART_SOURCE_DIR) + "/" + strRelative;
}

inline std::string ReadFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& strPath, const std::string& strText) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out << strText;
}

// Every finding formatted, one a line, for failure messages and matching.
inline std::string Findings(const std::vector<CDiagnostic>& arrDiagnostics) {
    std::string strOut;
    for (const CDiagnostic& d : arrDiagnostics) strOut += d.Format() + "\n";
    return strOut;
}

// A shipped profile (profiles/NAME.json); fails the test when it does not load.
inline CHospitalProfile ShippedProfile(const std::string& strName) {
    CHospitalProfile profile;
    std::vector<CDiagnostic> arrDiagnostics;
    const std::string strFile = strName + ".json";
    EXPECT_TRUE(profile.LoadProfile(ReadFile(SourcePath("profiles/" + strFile)), strFile, arrDiagnostics))
        << Findings(arrDiagnostics);
    return profile;
}

// Reads the readings text under the file name and paginates it.
inline bool PaginateText(const std::string& strReadings, const std::string& strFile, const CHospitalProfile& profile,
                         bool bStrict, CPagination& rOut) {
    CReadingsDocument document;
    std::vector<CDiagnostic> arrDiagnostics;
    if (!document.LoadReadings(strReadings, strFile, arrDiagnostics)) {
        rOut = CPagination();
        rOut.m_arrDiagnostics = arrDiagnostics;
        return false;
    }
    return CPaginator::Paginate(document, profile, bStrict, rOut);
}

// A readings document of one patient admitted at 00:00:00 on 2024-12-01 and
// discharged at 23:59:00 on 2024-12-07, with the readings given (JSON objects
// separated by commas) and the events (likewise) added to the admission.
inline std::string StayOfAWeek(const std::string& strReadings, const std::string& strEvents = "") {
    return R"({"patient": {"name": "测试", "ward": "内科", "bed": "1", "admission": "2024-12-01T00:00:00"},
              "events": [{"kind": "discharge", "time": "2024-12-07T23:59:00"})" +
           (strEvents.empty() ? "" : ", " + strEvents) + R"(],
              "readings": [)" +
           strReadings + "]}";
}

inline std::vector<std::string> Lines(const std::string& strText) {
    std::vector<std::string> arrLines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);) arrLines.push_back(strLine);
    return arrLines;
}

}  // namespace vitalchart::clinical::test
