#include "tools/pdf_sink.h"

namespace vitalchart {
namespace cli {

CPdfSink::CPdfSink(const PageSettings& settings, COutputFiles& rOutputs) : m_settings(settings), m_rOutputs(rOutputs) {
    // As for pictures: the chart's fonts are the process's own.
    CCairoDC::ShareFontsWithProcess();
}

bool CPdfSink::BeginPage(int, std::string& rError) {
    if (m_pDC) {
        // A failure here is kept by the surface and reported by Finish.
        m_pDC->ShowPage();
        return true;
    }
    const std::string strTemp = m_rOutputs.Reserve(m_settings.strOutput, rError);
    if (strTemp.empty()) return false;
    m_pDC = CCairoDC::CreatePdf(strTemp, m_settings.nWidth, m_settings.nHeight, m_settings.nDpi, m_settings.nCodePage,
                                m_settings.bPrinting);
    return true;
}

bool CPdfSink::Finish(std::string& rError) {
    // No page begun: the file was never made.
    if (!m_pDC || m_pDC->Finish()) return true;
    rError = m_settings.strOutput + ": " + m_pDC->GetError();
    return false;
}

}  // namespace cli
}  // namespace vitalchart
