#include "tools/picture_sink.h"

#include <utility>

#include "tools/surface_module.h"

namespace vitalchart {
namespace cli {

CPictureSink::CPictureSink(Format format, const PageSettings& settings, COutputFiles& rOutputs)
    : m_format(format), m_settings(settings), m_rOutputs(rOutputs) {}

bool CPictureSink::BeginPage(int nPage, std::string& rError) {
    m_strTarget = PageFileName(m_settings.strOutput, nPage, m_settings.nPages);
    m_strTemp = m_rOutputs.Reserve(m_strTarget, rError);
    if (m_strTemp.empty()) return false;
    if (m_format == Format::kSvg) {
        m_pDC = CreateSvgSurface(m_strTemp, m_settings.nWidth, m_settings.nHeight, m_settings.nDpi,
                                 m_settings.nCodePage, m_settings.bPrinting, rError);
    } else {
        m_pDC =
            CreatePngSurface(m_settings.nWidth, m_settings.nHeight, m_settings.nCodePage, m_settings.bPrinting, rError);
    }
    return m_pDC != nullptr;
}

bool CPictureSink::EndPage(std::string& rError) {
    const std::unique_ptr<CDC> pDC = std::move(m_pDC);
    // An SVG file is written as it is drawn; an image is encoded at the end.
    const bool bWritten = m_format == Format::kSvg || WriteSurfacePng(*pDC, m_strTemp, m_settings.nPngCompression);
    if (bWritten && FinishSurface(*pDC)) return true;
    rError = m_strTarget + ": " + SurfaceError(*pDC);
    return false;
}

}  // namespace cli
}  // namespace vitalchart
