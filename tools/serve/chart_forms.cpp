#include "tools/serve/chart_forms.h"

#include "render/chart_renderer.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

bool LoadForm(const std::string& strBytes, const std::string& strName, ChartForm& rForm, std::string& rError) {
    const DetectedEncoding detected = DetectEncoding(strBytes);
    if (detected.encoding == TextEncoding::kNeither) {
        rError = "it is neither UTF-8 nor GBK (byte " + std::to_string(detected.nOffset) + ")";
        return false;
    }
    rForm.strName = strName;
    rForm.nCodePage = detected.encoding == TextEncoding::kGbk ? CP_GBK : CP_UTF8;
    if (!rForm.chartTemplate.SetText(strBytes, strName + ".xml")) {
        rError = "it is too large";
        return false;
    }
    rForm.bDeclaresSize = CChartRenderer().GetSizeByTemplet(&rForm.fWidth, &rForm.fHeight, rForm.chartTemplate) != 0;
    return true;
}

}  // namespace

CChartForms::CChartForms(const std::string& strDir) : m_cache(strDir, ".xml", kMaxTemplateBytes, LoadForm) {}

Lookup CChartForms::Get(std::string strName, std::shared_ptr<const ChartForm>& rForm, std::string& rError) {
    const std::string kSuffix = ".xml";
    if (strName.size() > kSuffix.size() &&
        strName.compare(strName.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
        strName.resize(strName.size() - kSuffix.size());
    }
    return m_cache.Get(strName, rForm, rError);
}

}  // namespace cli
}  // namespace vitalchart
