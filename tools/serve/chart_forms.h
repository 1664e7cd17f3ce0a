#pragma once

#include <memory>
#include <string>
#include <vector>

#include "render/chart_template.h"
#include "tools/serve/stamped_cache.h"

namespace vitalchart {
namespace cli {

// A chart template of the service's folder, read and scanned once, shared
// by every render that uses it.
struct ChartForm {
    std::string strName;
    CChartTemplate chartTemplate;
    UINT nCodePage = CP_UTF8;  // the template's own: UTF-8, or GBK
    bool bDeclaresSize = false;
    float fWidth = 0.0f;  // the declared size in millimetres
    float fHeight = 0.0f;
};

// The templates NAME.xml of one folder (see CStampedCache).
class CChartForms {
public:
    // Templates larger than this are not read.
    static constexpr std::size_t kMaxTemplateBytes = 16u << 20;

    explicit CChartForms(const std::string& strDir);

    // The template NAME (or NAME.xml).
    Lookup Get(std::string strName, std::shared_ptr<const ChartForm>& rForm, std::string& rError);
    std::vector<std::string> Names() const { return m_cache.Names(); }

private:
    CStampedCache<ChartForm> m_cache;
};

}  // namespace cli
}  // namespace vitalchart
