#pragma once

#include <optional>
#include <string>

#include "tools/command_line.h"
#include "tools/serve/http_message.h"

namespace vitalchart {
namespace cli {

// What POST /v1/charts asks for in its query:
//   template=NAME&format=pdf|png|svg|trace[&page=N][&dpi=N][&print=0|1][&profile=NAME]
//   [&paper=A4|A3|B5|16K|letter[&fit=0|1]]
struct ChartQuery {
    std::string strTemplate;
    Format format = Format::kPdf;
    std::optional<int> page;  // from 1
    std::optional<int> dpi;
    std::optional<bool> print;
    std::string strProfile;  // for readings documents and FHIR bundles
    std::string strPaper;    // the sheet the chart lies on at full size; empty: the chart's own size
    bool bFit = false;       // shrink a chart larger than the paper onto it
};

// Resolutions a request may ask for; pictures are limited further by their
// size in pixels when they are drawn.
constexpr int kMinQueryDpi = 18;
constexpr int kMaxQueryDpi = 2400;

// Reads the parameters; false with rError naming the first one that is
// missing, unknown, given twice or malformed.
bool ParseChartQuery(const FieldList& params, ChartQuery& rQuery, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
