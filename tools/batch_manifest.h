#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// One chart of a batch: a line of the manifest (docs/batch.md).
struct ManifestChart {
    int nLine = 0;  // from 1
    // The inputs, as render takes them: paths relative to the manifest's own
    // folder are made so.
    std::string strTemplate;
    std::vector<std::string> dataFiles;
    std::string strReadings;
    std::string strFhir;
    std::string strMap;
    std::string strProfile;
    std::string strOutput;  // the chart's PDF, as written: a path inside the output folder
    std::string strLabel;   // its outline entry and page labels in a combined PDF
    std::optional<std::string> title;
    std::optional<std::string> subject;
    std::optional<std::string> author;
    // What is wrong with the line, one finding each ("m.jsonl:3: /output:
    // is missing"); a chart with any fails with them and is not drawn.
    std::vector<std::string> arrErrors;
};

// The charts of a manifest: a JSON object a line, blank lines skipped, in
// order; strName is the manifest's path. Every line that is not blank is a
// chart, even one that is not JSON, so that shares of the manifest count the
// same lines whatever they hold. A second line writing the same output as an
// earlier one is an error of the later line.
std::vector<ManifestChart> ReadManifest(const std::string& strBytes, const std::string& strName);

}  // namespace cli
}  // namespace vitalchart
