#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "markup/vital_record.h"
#include "platform/string_map.h"
#include "render/chart_renderer.h"
#include "support/trace_parser.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace test {

// The scanner's views of the map's names and values (the map must outlive them).
inline CTagAttributes TagOf(const CMapStringToString& map) {
    CTagAttributes tag;
    for (const auto& entry : map.Entries()) tag.AddAttribute(entry.first, entry.second);
    return tag;
}

// A renderer drawing on a recording surface at a scale of 1 to 1 (one
// millimetre is 4 device units, ten are 38), with a 600 by 800 chart
// rectangle at the origin: painters can be called one at a time.
struct PainterRig {
    explicit PainterRig(UINT nCodePage = CP_UTF8, BOOL bPrinting = 0, int nNum = 96, int nDen = 96)
        : dc(nCodePage, bPrinting), renderer(&dc, CChartGeometry({0, 0, 600, 800}, {nNum, nDen}, {nNum, nDen})) {}
    // The same on another chart rectangle.
    explicit PainterRig(const RECT& rcChart) : dc(CP_UTF8, 0), renderer(&dc, CChartGeometry(rcChart, {}, {})) {}

    // Appends one reading, as a d tag of the data text would.
    void AddReading(const std::string& strName, int nCell, const std::string& strValue,
                    const std::string& strOriginal = "", int nOriginalCell = -1, int nFlag = 0) {
        renderer.AddRecord(strName, strValue, strOriginal, nCell, nOriginalCell, nFlag);
    }

    // Runs the element operation (a painter) on the attribute map, as the
    // template walk runs it.
    void Paint(ElementAction pfnAction, const CMapStringToString& map) {
        const CTagAttributes tag = TagOf(map);
        for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
            if (p->pfnAction == pfnAction) (renderer.*pfnAction)(renderer.Attributes(*p, tag));
        }
    }

    const std::string& Trace() const { return dc.GetTrace(); }

    CRecordingDC dc;
    CChartRenderer renderer;
};

// The attributes of an element of the code as its operation reads them, at
// a scale of 1 to 1: test::ElementInput(kElementPen, map).attributes.
struct ElementInput {
    ElementInput(int nCode, const CMapStringToString& map, UINT nCodePage = CP_UTF8)
        : tag(TagOf(map)), attributes(*FindElementRule(nCode), tag, Geometry(), nCodePage) {}
    ElementInput(const ElementInput&) = delete;
    ElementInput& operator=(const ElementInput&) = delete;

    static const CChartGeometry& Geometry() {
        static const CChartGeometry s_geometry({0, 0, 600, 800}, {96, 96}, {96, 96});
        return s_geometry;
    }

    CTagAttributes tag;
    CElementAttributes attributes;
};

// An element's attribute map from name/value pairs.
inline CMapStringToString Attributes(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    CMapStringToString map;
    for (const auto& pair : pairs) map.SetAt(pair.first, pair.second);
    return map;
}

}  // namespace test
}  // namespace vitalchart
