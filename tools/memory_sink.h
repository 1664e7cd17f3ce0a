#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/page_sink.h"
#include "vitalchart/surface/dc.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace cli {

// Pages kept in memory instead of files: a PNG image, an SVG drawing or a
// trace a page, or one PDF document of every page. The surfaces are made on
// the thread that calls BeginPage, which must draw on them too.
// PageSettings::strOutput is not used.
class CMemorySink : public CPageSink {
public:
    CMemorySink(Format format, const PageSettings& settings);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override;
    bool EndPage(std::string& rError) override;
    bool Finish(std::string& rError) override;

    // After Finish: the bytes of each page in turn, or of the one PDF
    // document; handed over.
    std::vector<std::string> TakeOutputs() { return std::move(m_outputs); }

private:
    // Ends the Cairo document (SVG or PDF) and keeps its bytes as an output.
    bool FinishDocument(std::string& rError);

    Format m_format;
    PageSettings m_settings;
    std::unique_ptr<CDC> m_pCairo;
    std::unique_ptr<CRecordingDC> m_pTrace;
    std::vector<std::string> m_outputs;
};

}  // namespace cli
}  // namespace vitalchart
