#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/page_sink.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace cli {

// Pages as the recording surface's trace: a file a page (numbered when there
// are several), or the pages' traces appended to rStandardOutput, which the
// render writes on standard output once all are drawn.
class CTraceSink : public CPageSink {
public:
    CTraceSink(const PageSettings& settings, COutputFiles& rOutputs, std::string& rStandardOutput);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override { return m_pDC.get(); }
    bool EndPage(std::string& rError) override;
    bool Finish(std::string&) override { return true; }

private:
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    std::string& m_rStandardOutput;
    std::unique_ptr<CRecordingDC> m_pDC;
    std::string m_strTemp;  // the page's file, reserved when it begins
};

// Every page a run; the pages meant for standard output are written there
// one after the other, in page order, only once all are drawn.
class CTraceOutput : public CPageOutput {
public:
    CTraceOutput(const PageSettings& settings, COutputFiles& rOutputs);

    std::unique_ptr<CPageSink> MakeSink(std::size_t nRun, std::string& rError) override;
    bool Finish(std::string& rError) override;

private:
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    std::vector<std::string> m_pageTexts;  // a run's trace for standard output
};

}  // namespace cli
}  // namespace vitalchart
