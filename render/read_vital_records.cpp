#include <cstdint>
#include <memory>
#include <utility>

#include "markup/line_walk.h"
#include "markup/tag_scanner.h"
#include "platform/code_page.h"
#include "render/chart_renderer.h"

namespace vitalchart {

BOOL CChartRenderer::ReadVitalRecords(const char* pszData, std::int32_t nLength) {
    if (pszData == nullptr || nLength <= 0) return 0;
    // The host's text is read where it lies: the scanner never reads past its
    // length, and nothing of it is kept but the records' own copies.
    const UINT nCodePage = GetCodePage();
    CTagAttributes tag;
    WalkTextLines(
        pszData, nLength,
        [&](const char* pszLine, std::int32_t nLineLength, std::int32_t& nPos) {
            const std::string_view name = ReadTagNameView(pszLine, nLineLength, nPos);
            const ElementRule* pTag = nullptr;
            for (const ElementRule* p = DataTagsBegin(); p != DataTagsEnd(); ++p) {
                if (EqualsNoCase(nCodePage, name, p->pszName)) {
                    pTag = p;
                    break;
                }
            }
            // A line whose tag is neither d nor print is given up whole.
            if (pTag == nullptr) {
                nPos = nLineLength;
                return true;
            }
            ScanAttributes(pszLine, nLineLength, tag, nPos);
            (this->*pTag->pfnAction)(Attributes(*pTag, tag));
            return true;
        },
        static_cast<std::int32_t>(ByteOrderMarkLength(nCodePage, pszData, static_cast<std::size_t>(nLength))));
    return 1;
}

void CChartRenderer::ReadReading(const CElementAttributes& attributes) {
    auto pRecord = std::make_unique<CVitalRecord>();
    if (const std::string_view* p = attributes.Find("vitalsigns")) pRecord->m_strName = *p;
    if (const std::string_view* p = attributes.Find("vitalsignsvalues")) pRecord->m_strValues = *p;
    if (const std::string_view* p = attributes.Find("vitalsignsoriginalvalues")) pRecord->m_strOriginalValues = *p;
    pRecord->m_nCellIndex = attributes.Integer("cellindex");
    pRecord->m_nOriginalCellIndex = attributes.Integer("originalCellIndex");
    pRecord->m_nSpecialSymbolFlag = attributes.Integer("specialSymbolFlag");
    // A reading the list cannot take is lost; reading goes on.
    AddRecord(std::move(pRecord));
}

void CChartRenderer::ReadPrintTag(const CElementAttributes& attributes) {
    // A later print tag never clears the flag.
    if (attributes.IsWord("resume", "true")) m_bResumePrint = 1;
}

}  // namespace vitalchart
