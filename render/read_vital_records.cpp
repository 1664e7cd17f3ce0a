#include <memory>
#include <new>

#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

void SetText(const CMapStringToString& map, const char* pszKey, std::string& rField) {
    map.Lookup(pszKey, rField);
}

void SetNumber(const CMapStringToString& map, const char* pszKey, std::int32_t& rField) {
    const std::string* p = map.Find(pszKey);
    if (p != nullptr) rField = crt::atoi(p->c_str());
}

}  // namespace

BOOL CChartRenderer::ReadVitalRecords(const char* pszData, std::int32_t nLength) {
    if (pszData == nullptr || nLength <= 0) return 0;
    CByteBuffer buffer(0);
    if (!buffer.Append(pszData, nLength)) return 0;

    UINT cp = GetCodePage();
    WalkLines(buffer, [&](const char* pszLine, std::int32_t nLineLength, std::int32_t& nPos) {
        std::string strName = ReadTagName(pszLine, nLineLength, nPos);
        CMapStringToString mapAttributes;
        CMapStringToString mapStyles;
        if (EqualsNoCase(cp, strName, "d")) {
            ParseAttributes(pszLine, nLineLength, mapAttributes, mapStyles, nPos);
            auto pRecord = std::make_unique<CVitalRecord>();
            SetText(mapAttributes, "vitalsigns", pRecord->m_strName);
            SetText(mapAttributes, "vitalsignsvalues", pRecord->m_strValues);
            SetText(mapAttributes, "vitalsignsoriginalvalues", pRecord->m_strOriginalValues);
            SetNumber(mapAttributes, "cellindex", pRecord->m_nCellIndex);
            SetNumber(mapAttributes, "originalCellIndex", pRecord->m_nOriginalCellIndex);
            SetNumber(mapAttributes, "specialSymbolFlag", pRecord->m_nSpecialSymbolFlag);
            // A record the list cannot take is lost; reading goes on.
            if (m_arrRecords.Add(pRecord.get())) pRecord.release();
        } else if (EqualsNoCase(cp, strName, "print")) {
            ParseAttributes(pszLine, nLineLength, mapAttributes, mapStyles, nPos);
            const std::string* pResume = mapAttributes.Find("resume");
            if (pResume != nullptr && EqualsNoCase(cp, *pResume, "true")) m_bResumePrint = 1;
        } else {
            nPos = nLineLength;
        }
        return true;
    });
    return 1;
}

}  // namespace vitalchart
