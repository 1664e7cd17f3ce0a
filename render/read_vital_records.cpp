#include <cstdint>

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
    auto text = [&attributes](const char* pszName) {
        const std::string_view* p = attributes.Find(pszName);
        return p != nullptr ? *p : std::string_view();
    };
    const std::string_view name = text("vitalsigns");
    const std::string_view values = text("vitalsignsvalues");
    const std::string_view originalValues = text("vitalsignsoriginalvalues");
    const std::int32_t nCell = attributes.Integer("cellindex");
    const std::int32_t nOriginalCell = attributes.Integer("originalCellIndex");
    const std::int32_t nFlag = attributes.Integer("specialSymbolFlag");
    // A reading the list cannot take is lost; reading goes on.
    AddRecord(name, values, originalValues, nCell, nOriginalCell, nFlag, text("reason"), text("comparator"));
}

void CChartRenderer::ReadPrintTag(const CElementAttributes& attributes) {
    // A later print tag never clears the flag.
    if (attributes.IsWord("resume", "true")) m_bResumePrint = 1;
}

}  // namespace vitalchart
