#include "tools/batch_manifest.h"

#include <map>
#include <utility>

#include "clinical/diagnostic.h"
#include "clinical/field_reader.h"
#include "clinical/json_value.h"

namespace vitalchart {
namespace cli {

namespace {

using clinical::CDiagnostic;
using clinical::CFieldReader;
using clinical::CJsonValue;

// A path of the manifest, relative to the manifest's folder unless absolute.
std::string FromManifest(const std::string& strFolder, const std::string& strPath) {
    if (strPath.empty() || strPath[0] == '/' || strFolder.empty()) return strPath;
    return strFolder + "/" + strPath;
}

bool EndsWithPdf(const std::string& str) {
    if (str.size() < 4) return false;
    std::string strEnd = str.substr(str.size() - 4);
    for (char& c : strEnd) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return strEnd == ".pdf";
}

bool HasControl(const std::string& str) {
    for (char c : str) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// Why an output name cannot be a file inside the output folder; empty when it can.
std::string OutputProblem(const std::string& strOutput) {
    if (strOutput.empty()) return "is empty";
    if (strOutput[0] == '/') return "must be a path inside the output folder, not an absolute one";
    if (HasControl(strOutput)) return "holds a control character";
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nSlash = strOutput.find('/', nStart);
        const std::string strPart = strOutput.substr(nStart, nSlash - nStart);
        if (strPart.empty() || strPart == "." || strPart == "..") {
            return "must name a file inside the output folder, without empty, '.' or '..' parts";
        }
        if (nSlash == std::string::npos) break;
        nStart = nSlash + 1;
    }
    if (!EndsWithPdf(strOutput)) return "must end in .pdf: batch writes PDF files";
    return std::string();
}

// Reads one line's object into rChart; findings go to rDiagnostics.
void ReadChart(const CJsonValue& root, const std::string& strFolder, CFieldReader& reader, ManifestChart& rChart) {
    if (!reader.ExpectObject(root, "",
                             {"template", "data", "readings", "fhir", "map", "profile", "output", "label", "title",
                              "subject", "author"})) {
        return;
    }
    std::string strTemplate;
    if (reader.ReadString(root, "", "template", strTemplate, true)) {
        if (strTemplate.empty()) reader.Error("/template", "is empty");
        rChart.strTemplate = FromManifest(strFolder, strTemplate);
    }
    if (const CJsonValue* pData = root.Find("data")) {
        if (pData->m_nKind == CJsonValue::kString) {
            rChart.dataFiles.push_back(FromManifest(strFolder, pData->m_strText));
        } else if (pData->m_nKind == CJsonValue::kArray) {
            for (std::size_t i = 0; i < pData->m_arrItems.size(); ++i) {
                const CJsonValue& item = pData->m_arrItems[i];
                if (item.m_nKind != CJsonValue::kString) {
                    reader.Error(clinical::ChildPointer("/data", i),
                                 std::string("must be a string, not ") + item.KindName());
                } else {
                    rChart.dataFiles.push_back(FromManifest(strFolder, item.m_strText));
                }
            }
        } else {
            reader.Error("/data", std::string("must be a string or an array of strings, not ") + pData->KindName());
        }
    }
    std::pair<const char*, std::string*> paths[] = {{"readings", &rChart.strReadings},
                                                    {"fhir", &rChart.strFhir},
                                                    {"map", &rChart.strMap},
                                                    {"profile", &rChart.strProfile}};
    for (auto& path : paths) {
        std::string strPath;
        if (!reader.ReadString(root, "", path.first, strPath)) continue;
        if (strPath.empty()) reader.Error(std::string("/") + path.first, "is empty");
        *path.second = FromManifest(strFolder, strPath);
    }
    const bool bReadings = !rChart.strReadings.empty() || !rChart.strFhir.empty();
    if (!rChart.strReadings.empty() && !rChart.strFhir.empty()) {
        reader.Error("", "give readings or fhir, not both");
    } else if (bReadings && !rChart.dataFiles.empty()) {
        reader.Error("", "data and readings both give the pages; give one of them");
    } else if (bReadings && rChart.strProfile.empty()) {
        reader.Error("", "readings need a profile, the hospital's rules for laying them out");
    } else if (!rChart.strMap.empty() && rChart.strFhir.empty()) {
        reader.Error("/map", "is the mapping table of a FHIR bundle; it needs fhir");
    } else if (!bReadings && !rChart.strProfile.empty()) {
        reader.Error("/profile", "needs readings or fhir");
    }
    if (reader.ReadString(root, "", "output", rChart.strOutput, true)) {
        const std::string strProblem = OutputProblem(rChart.strOutput);
        if (!strProblem.empty()) reader.Error("/output", strProblem);
    }
    rChart.strLabel = rChart.strOutput.size() > 4 ? rChart.strOutput.substr(0, rChart.strOutput.size() - 4) : "";
    std::pair<const char*, std::optional<std::string>*> texts[] = {
        {"title", &rChart.title}, {"subject", &rChart.subject}, {"author", &rChart.author}};
    for (auto& text : texts) {
        std::string strText;
        if (!reader.ReadString(root, "", text.first, strText)) continue;
        if (HasControl(strText)) reader.Error(std::string("/") + text.first, "holds a control character");
        *text.second = strText;
    }
    if (reader.ReadString(root, "", "label", rChart.strLabel)) {
        if (rChart.strLabel.empty() || HasControl(rChart.strLabel)) {
            reader.Error("/label", "must be a text without control characters");
        }
    }
}

}  // namespace

std::vector<ManifestChart> ReadManifest(const std::string& strBytes, const std::string& strName) {
    const std::size_t nSlash = strName.find_last_of('/');
    const std::string strFolder = nSlash == std::string::npos ? std::string() : strName.substr(0, nSlash);
    std::vector<ManifestChart> charts;
    std::map<std::string, int> outputs;
    std::size_t nStart = 0;
    for (int nLine = 1; nStart < strBytes.size(); ++nLine) {
        std::size_t nEnd = strBytes.find('\n', nStart);
        if (nEnd == std::string::npos) nEnd = strBytes.size();
        std::string strLine = strBytes.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (nLine == 1 && strLine.compare(0, 3, "\xEF\xBB\xBF") == 0) strLine.erase(0, 3);
        if (strLine.find_first_not_of(" \t\r") == std::string::npos) continue;

        ManifestChart chart;
        chart.nLine = nLine;
        const std::string strWhere = strName + ":" + std::to_string(nLine);
        std::vector<CDiagnostic> findings;
        CFieldReader reader(strWhere, findings);
        CJsonValue root;
        if (CJsonValue::Parse(strLine, strWhere, root, findings)) ReadChart(root, strFolder, reader, chart);
        if (findings.empty() && !chart.strOutput.empty()) {
            const auto seen = outputs.emplace(chart.strOutput, nLine);
            if (!seen.second) {
                findings.push_back({strWhere, "/output",
                                    clinical::QuoteForMessage(chart.strOutput) + " is line " +
                                        std::to_string(seen.first->second) + "'s output too",
                                    false});
            }
        }
        for (const CDiagnostic& finding : findings) chart.arrErrors.push_back(finding.Format());
        charts.push_back(std::move(chart));
    }
    return charts;
}

}  // namespace cli
}  // namespace vitalchart
