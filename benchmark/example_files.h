#pragma once

#include <string>

#include "tests/support/file_text.h"
#include "vitalchart/plugin.h"

namespace vitalchart {
namespace bench {

// The example as it first shipped (the chart the goals were set on), read once.
inline const std::string& ExampleTemplatePath() {
    static const std::string s_strPath = std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml";
    return s_strPath;
}
inline const std::string& ExampleTemplate() {
    static const std::string s_strText = test::ReadFileText(ExampleTemplatePath());
    return s_strText;
}
inline const std::string& ExampleData() {
    static const std::string s_strText = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    return s_strText;
}

// The example's chart rectangle at 96 dpi: 167 by 213 mm.
constexpr int kExampleRight = 631;
constexpr int kExampleBottom = 805;

// The example drawn through the plug-in's entry point on the surface.
inline void DrawExample(CDC* pDC) {
    const std::string& strData = ExampleData();
    DrawPlugin(pDC, 0, 0, kExampleBottom, kExampleRight, 96, 96, 96, 96, ExampleTemplatePath().c_str(), strData.data(),
               static_cast<int>(strData.size()), "", 0);
}

}  // namespace bench
}  // namespace vitalchart
