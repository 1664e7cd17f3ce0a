#include "clinical/report.h"

#include "clinical/diagnostic.h"

namespace vitalchart::clinical {

std::vector<std::string> FormatReport(const std::vector<CReportRow>& arrRows) {
    std::vector<std::string> arrLines;
    arrLines.reserve(arrRows.size());
    for (const CReportRow& row : arrRows) {
        std::string strLine = row.m_strFile + " " + row.m_strPointer + ": " + row.m_strWhat + " -> ";
        if (row.m_nPage == 0) {
            strLine += "nowhere: " + row.m_strNote;
        } else {
            strLine += "page " + std::to_string(row.m_nPage) + ", column " + std::to_string(row.m_nColumn) + ", " +
                       row.m_strRow + " \"" + row.m_strValue + "\"";
            if (!row.m_strNote.empty()) strLine += "; " + row.m_strNote;
        }
        arrLines.push_back(Printable(strLine));
    }
    return arrLines;
}

}  // namespace vitalchart::clinical
