#include "tools/init_command.h"

#include <iostream>
#include <string>

#include "tools/init/chart_plan.h"
#include "tools/init/exact_millimetres.h"
#include "tools/init/sample_readings.h"
#include "tools/init/template_writer.h"
#include "tools/output_files.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;

// The text in the code page asked for; a GBK template says so in its first line.
bool Encoded(std::string strText, UINT nCodePage, std::string& rOut, std::string& rError) {
    if (nCodePage != CP_GBK) {
        rOut = std::move(strText);
        return true;
    }
    const std::string strUtf8 = "encoding=\"UTF-8\"";
    const std::size_t nAt = strText.find(strUtf8);
    if (nAt != std::string::npos) strText.replace(nAt, strUtf8.size(), "encoding=\"GBK\"");
    return ConvertText(strText, CP_UTF8, CP_GBK, rOut, rError);
}

}  // namespace

std::string SampleDataPath(const std::string& strTemplate) {
    const std::size_t nSlash = strTemplate.find_last_of('/');
    const std::size_t nDot = strTemplate.find_last_of('.');
    const bool bExtension = nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash + 1);
    return (bExtension ? strTemplate.substr(0, nDot) : strTemplate) + ".data";
}

int RunInit(const CommandLine& line) {
    if (line.OutputIsStdout()) return Fail("init needs -o FILE, the template to write");
    const ChartRequest& request = line.chartRequest;
    std::string strError;
    ChartPlan plan;
    if (!PlanChart(request, plan, strError)) return Fail(strError);

    const UINT nCodePage = line.codePage.value_or(CP_UTF8);
    std::string strTemplate;
    std::string strData;
    if (!Encoded(WriteChartTemplate(request, plan), nCodePage, strTemplate, strError) ||
        !Encoded(WriteSampleReadings(request, plan), nCodePage, strData, strError)) {
        return Fail(strError);
    }
    const std::string& strTemplatePath = *line.output;
    const std::string strDataPath = SampleDataPath(strTemplatePath);
    COutputFiles outputs;
    for (const auto& file : {std::make_pair(strTemplatePath, &strTemplate), std::make_pair(strDataPath, &strData)}) {
        const std::string strTemp = outputs.Reserve(file.first, strError);
        if (strTemp.empty() || !WriteBytes(strTemp, *file.second, strError)) return Fail(strError);
    }
    if (!outputs.Commit(strError)) return Fail(strError);
    std::cout << strTemplatePath << ": " << request.strPaper << ", " << request.nDays << " days of "
              << request.hours.size() << " time points, columns " << ExactMillimetres(plan.nColumn) << " mm, grid rows "
              << ExactMillimetres(plan.nGridRow) << " mm; sample readings in " << strDataPath << "\n"
              << std::flush;
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}

}  // namespace cli
}  // namespace vitalchart
