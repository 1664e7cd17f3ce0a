// The data reader on a raw data text: the first byte picks the code page and
// whether the host's length stops one byte short of the text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "render/chart_renderer.h"
#include "vitalchart/surface/recording_dc.h"

using namespace vitalchart;
using vitalchart::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    if (nSize == 0 || nSize > 0x7FFFFFFF) return 0;
    const std::uint8_t nFlags = pData[0];
    std::string strText(reinterpret_cast<const char*>(pData) + 1, nSize - 1);
    std::size_t nLength = strText.size();
    if ((nFlags & 2) && nLength > 0) --nLength;
    auto text = fuzz::ExactCopy(strText, nLength);

    CRecordingDC dc((nFlags & 1) ? CP_GBK : CP_UTF8, 0);
    CChartRenderer renderer(&dc, CChartGeometry());
    BOOL bRead = renderer.ReadVitalRecords(text.get(), static_cast<std::int32_t>(nLength));
    Require(bRead == (nLength > 0 ? 1 : 0), "ReadVitalRecords result");
    Require(dc.GetTrace().empty(), "reading the data text drew on the surface");

    // Each record comes from a d tag, which takes three bytes ("<d>" or "<d"
    // and a line feed), or two at the very end of the text.
    const int nRecords = renderer.GetRecordCount();
    Require(static_cast<std::size_t>(nRecords) <= (nLength + 1) / 3, "more records than d tags could hold");
    for (int i = 0; i < nRecords; ++i) {
        const CVitalRecord* pRecord = renderer.GetRecord(i);
        Require(pRecord != nullptr, "a null record");
        Require(pRecord->m_strName.size() + pRecord->m_strValues.size() + pRecord->m_strOriginalValues.size() <=
                    3 * nLength,
                "record texts longer than the data text");
    }
    return 0;
}
