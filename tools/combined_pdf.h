#pragma once

#include <string>
#include <vector>

#include "tools/pdf_metadata.h"

namespace vitalchart {
namespace cli {

// One chart's PDF in a combined one.
struct CombinedChart {
    std::string strPath;   // the chart's PDF file
    std::string strLabel;  // its outline entry and the prefix of its pages' labels
};

// Writes the charts' pages, chart after chart, as one PDF file at strTarget
// (already reserved), finished with the metadata (FinishDocument). Its
// outline has an entry for each chart, at its first page, holding an entry
// for each of its pages, the weeks ("Week 1", "Week 2", ...); its pages are
// labelled by chart: "LABEL 1", "LABEL 2", ... False with rError saying why
// when a chart's file cannot be read or the result cannot be written.
bool WriteCombinedPdf(const std::vector<CombinedChart>& charts, const PdfMetadata& metadata,
                      const std::string& strTarget, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
