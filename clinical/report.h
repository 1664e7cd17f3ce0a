#pragma once

#include <string>
#include <vector>

namespace vitalchart::clinical {

// Where one input (a reading, an event, a FHIR resource) went: the page and
// column, the row and the text written, or why it went nowhere.
struct CReportRow {
    std::string m_strFile;
    std::string m_strPointer;
    // What the input is: "temperature (oral) 2024-12-01 10:30:00".
    std::string m_strWhat;
    // 1 for the first page; 0 when the input went nowhere.
    int m_nPage = 0;
    int m_nColumn = -1;
    std::string m_strRow;
    std::string m_strValue;
    // Why it went nowhere, or a remark on where it went.
    std::string m_strNote;
};

// The report as text lines, one per row:
//   FILE POINTER: WHAT -> page P, column C, ROW "VALUE"[; NOTE]
//   FILE POINTER: WHAT -> nowhere: NOTE
std::vector<std::string> FormatReport(const std::vector<CReportRow>& arrRows);

}  // namespace vitalchart::clinical
