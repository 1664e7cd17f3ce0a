#include "render/chart_template.h"

#include <cstdint>
#include <new>

namespace vitalchart {

CChartTemplate::CChartTemplate() = default;

CChartTemplate::~CChartTemplate() = default;

CChartTemplate::Load CChartTemplate::LoadFile(const char* pszPath) {
    m_strPath = SettleTemplatePath(pszPath);
    m_pBuffer.reset(new (std::nothrow) CByteBuffer(0));
    if (!m_pBuffer) return Load::kNoBuffer;
    if (m_pBuffer->LoadFile(0, m_strPath.c_str())) return Load::kLoaded;
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
    return 1;
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
