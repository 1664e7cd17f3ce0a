#include "render/chart_template.h"

#include <cstdint>
#include <new>

#include "platform/code_page.h"

namespace vitalchart {

CChartTemplate::CChartTemplate() = default;

CChartTemplate::~CChartTemplate() = default;

CChartTemplate::Load CChartTemplate::LoadFile(const char* pszPath, bool bScan) {
    m_strPath = SettleTemplatePath(pszPath);
    m_pBuffer.reset(new (std::nothrow) CByteBuffer(0));
    if (!m_pBuffer) return Load::kNoBuffer;
    if (m_pBuffer->LoadFile(0, m_strPath.c_str())) {
        if (bScan) ScanText();
        return Load::kLoaded;
    }
    m_pBuffer.reset();
    return Load::kNotFound;
}

BOOL CChartTemplate::SetText(const std::string& strText, const std::string& strPath) {
    m_strPath = strPath;
    m_pBuffer.reset(new (std::nothrow) CByteBuffer(0));
    if (!m_pBuffer) return 0;
    if (strText.size() > static_cast<std::size_t>(INT32_MAX) ||
        !m_pBuffer->Append(strText.data(), static_cast<std::int32_t>(strText.size()))) {
        m_pBuffer.reset();
        return 0;
    }
    ScanText();
    return 1;
}

void CChartTemplate::ScanText() {
    const CByteBuffer& buffer = GetBuffer();
    const std::size_t nLength = static_cast<std::size_t>(buffer.GetLength());
    m_scan.Scan(buffer.GetPtr(0), buffer.GetLength(), 0);
    const std::size_t nMark = ByteOrderMarkLength(CP_UTF8, buffer.GetPtr(0), nLength);
    m_bByteOrderMark = nMark > 0;
    if (m_bByteOrderMark) m_scanPastMark.Scan(buffer.GetPtr(0), buffer.GetLength(), static_cast<std::int32_t>(nMark));
}

const CTemplateScan& CChartTemplate::GetScan(UINT nCodePage) const {
    return m_bByteOrderMark && nCodePage == CP_UTF8 ? m_scanPastMark : m_scan;
}

const CByteBuffer& CChartTemplate::GetBuffer() const {
    static const CByteBuffer s_empty(0);
    return m_pBuffer ? *m_pBuffer : s_empty;
}

std::string SettleTemplatePath(const char* pszPath) {
    std::string str = pszPath != nullptr ? pszPath : "";
    const char* kBlank = " \t\r\n\v\f";
    const std::size_t nFirst = str.find_first_not_of(kBlank);
    if (nFirst == std::string::npos) return "vitalsign.xml";
    const std::size_t nLast = str.find_last_not_of(kBlank);
    return str.substr(nFirst, nLast - nFirst + 1);
}

}  // namespace vitalchart
