#pragma once

#include "tools/page_sink.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace cli {

// Pages as the recording surface's trace: a file a page (numbered when there
// are several), or every page one after the other on standard output,
// written only once all are drawn.
class CTraceSink : public CPageSink {
public:
    CTraceSink(const PageSettings& settings, COutputFiles& rOutputs);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override { return m_pDC.get(); }
    bool EndPage(std::string& rError) override;
    bool Finish(std::string& rError) override;

private:
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    std::unique_ptr<CRecordingDC> m_pDC;
    int m_nPage = 0;
    std::string m_strAll;  // the pages for standard output
};

}  // namespace cli
}  // namespace vitalchart
