#include "tools/memory_sink.h"

#include <utility>

namespace vitalchart {
namespace cli {

CMemorySink::CMemorySink(Format format, const PageSettings& settings) : m_format(format), m_settings(settings) {}

bool CMemorySink::BeginPage(int, std::string&) {
    const PageSettings& s = m_settings;
    switch (m_format) {
        case Format::kTrace:
            m_pTrace = std::make_unique<CRecordingDC>(s.nCodePage, s.bPrinting);
            break;
        case Format::kPng:
            m_pCairo = CCairoDC::CreatePng(s.nWidth, s.nHeight, s.nCodePage, s.bPrinting);
            break;
        case Format::kSvg:
            m_pCairo = CCairoDC::CreateSvgInMemory(s.nWidth, s.nHeight, s.nDpi, s.nCodePage, s.bPrinting);
            break;
        case Format::kPdf:
            // One document: later pages start a page of it. A failure here
            // is kept by the surface and reported by Finish.
            if (m_pCairo) {
                m_pCairo->ShowPage();
            } else {
                m_pCairo = CCairoDC::CreatePdfInMemory(s.nWidth, s.nHeight, s.nDpi, s.nCodePage, s.bPrinting);
            }
            break;
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
            const std::unique_ptr<CCairoDC> pDC = std::move(m_pCairo);
            if (!pDC->EncodePng(arrBytes, m_settings.nPngCompression) || !pDC->Finish()) {
                rError = pDC->GetError();
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
    const std::unique_ptr<CCairoDC> pDC = std::move(m_pCairo);
    if (!pDC->Finish()) {
        rError = pDC->GetError();
        return false;
    }
    m_outputs.push_back(pDC->TakeDocument());
    return true;
}

}  // namespace cli
}  // namespace vitalchart
