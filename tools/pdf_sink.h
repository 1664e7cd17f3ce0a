#pragma once

#include "tools/page_sink.h"
#include "vitalchart/surface/cairo_dc.h"

namespace vitalchart {
namespace cli {

// Every page in one PDF file, a PDF page each.
class CPdfSink : public CPageSink {
public:
    CPdfSink(const PageSettings& settings, COutputFiles& rOutputs);

    bool BeginPage(int nPage, std::string& rError) override;
    CDC* GetSurface() override { return m_pDC.get(); }
    bool EndPage(std::string&) override { return true; }
    bool Finish(std::string& rError) override;

private:
    PageSettings m_settings;
    COutputFiles& m_rOutputs;
    std::unique_ptr<CCairoDC> m_pDC;  // the file, from the first page on
};

}  // namespace cli
}  // namespace vitalchart
