#pragma once

#include <memory>
#include <string>

#include "tools/page_sink.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// Pages as pictures, a file a page (numbered when there are several): PNG
// images or SVG drawings.
class CPictureSink : public CPageSink {
public:
    CPictureSink(Format format, const PageSettings& settings, COutputFiles& rOutputs);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override { return m_pDC.get(); }
    bool EndPage(std::string& rError) override;
    bool Finish(std::string&) override { return true; }

private:
    Format m_format;
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    std::unique_ptr<CDC> m_pDC;
    std::string m_strTarget;
    std::string m_strTemp;
};

}  // namespace cli
}  // namespace vitalchart
