#include "tools/memory_sink.h"

#include <utility>

#include "tools/surface_module.h"

namespace vitalchart {
namespace cli {

CMemorySink::CMemorySink(Format format, const PageSettings& settings) : m_format(format), m_settings(settings) {}

bool CMemorySink::BeginPage(int, std::string& rError) {
    const PageSettings& s = m_settings;
    switch (m_format) {
        case Format::kTrace:
            m_pTrace = std::make_unique<CRecordingDC>(s.nCodePage, s.bPrinting);
            break;
        case Format::kPng:
            m_pCairo = CreatePngSurface(s.nWidth, s.nHeight, s.nCodePage, s.bPrinting, rError);
            return m_pCairo != nullptr;
        case Format::kSvg:
            m_pCairo = CreateSvgSurfaceInMemory(s.nWidth, s.nHeight, s.nDpi, s.nCodePage, s.bPrinting, rError);
            return m_pCairo != nullptr;
        case Format::kPdf:
            // One document: later pages start a page of it. A failure here
            // is kept by the surface and reported by Finish.
            if (m_pCairo) {
                ShowSurfacePage(*m_pCairo);
            } else {
                m_pCairo = CreatePdfSurfaceInMemory(s.nWidth, s.nHeight, s.nDpi, s.nCodePage, s.bPrinting, rError);
            }
            return m_pCairo != nullptr;
        case Format::kText:
        case Format::kJson:
            return false;
    }
    return true;
}

CDC* CMemorySink::GetSurface() {
    if (m_format == Format::kTrace) return m_pTrace.get();
    return m_pCairo.get();
}

bool CMemorySink::EndPage(std::string& rError) {
    switch (m_format) {
        case Format::kTrace:
            m_outputs.push_back(m_pTrace->GetTrace());
            m_pTrace.reset();
            return true;
        case Format::kPng: {
            std::vector<unsigned char> arrBytes;
            const std::unique_ptr<CDC> pDC = std::move(m_pCairo);
            if (!EncodeSurfacePng(*pDC, arrBytes, m_settings.nPngCompression) || !FinishSurface(*pDC)) {
                rError = SurfaceError(*pDC);
                return false;
            }
            m_outputs.emplace_back(arrBytes.begin(), arrBytes.end());
            return true;
        }
        case Format::kSvg:
            return FinishDocument(rError);
        default:
            return true;
    }
}

bool CMemorySink::Finish(std::string& rError) {
    if (m_format != Format::kPdf || !m_pCairo) return true;
    return FinishDocument(rError);
}

bool CMemorySink::FinishDocument(std::string& rError) {
    const std::unique_ptr<CDC> pDC = std::move(m_pCairo);
    if (!FinishSurface(*pDC)) {
        rError = SurfaceError(*pDC);
        return false;
    }
    m_outputs.push_back(TakeSurfaceDocument(*pDC));
    return true;
}

}  // namespace cli
}  // namespace vitalchart
