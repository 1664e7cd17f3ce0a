#include "tools/size_command.h"

#include <charconv>
#include <iostream>
#include <string>

#include "render/chart_renderer.h"
#include "render/chart_template.h"
#include "tools/output_files.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoSize = 1;

std::string ShortestFloat(float f) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, f);
    return std::string(buf, result.ptr);
}

}  // namespace

int RunSize(const CommandLine& line) {
    std::string strText;
    std::string strError;
    if (!ReadWholeFile(line.strTemplate, strText, strError)) return Fail(strError);
    CChartTemplate chartTemplate;
    if (!chartTemplate.SetText(strText, SettleTemplatePath(line.strTemplate.c_str()))) {
        return Fail(line.strTemplate + " is too large");
    }
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    if (!CChartRenderer().GetSizeByTemplet(&fWidth, &fHeight, chartTemplate)) {
        std::cerr << "vitalchart: " << line.strTemplate << " declares no size (no vitalsize element)\n";
        return kExitNoSize;
    }
    std::cout << ShortestFloat(fWidth) << " " << ShortestFloat(fHeight) << "\n" << std::flush;
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}

}  // namespace cli
}  // namespace vitalchart
