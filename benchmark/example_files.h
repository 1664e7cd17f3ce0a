#pragma once

#include <string>

#include "tests/support/file_text.h"

namespace vitalchart {
namespace bench {

// The bundled example, read once.
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

}  // namespace bench
}  // namespace vitalchart
