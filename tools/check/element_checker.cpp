#include "tools/check/element_checker.h"

#include <string>

#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "vitalchart/plugin.h"

namespace vitalchart {
namespace cli {

void CElementChecker::CheckElements(const std::vector<TagSeen>& elements) {
    // The size query reads the first vitalsize that begins a line.
    const TagSeen* pSizeTag = nullptr;
    std::size_t nSizeOrder = 0;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].nCode == kElementSize && elements[i].bLineFirst) {
            pSizeTag = &elements[i];
            nSizeOrder = i;
            break;
        }
    }
    double fWidthMm = GetPluginWidth();
    double fHeightMm = GetPluginHeight();
    if (pSizeTag != nullptr) {
        const std::string* pWidth = pSizeTag->Find("width");
        const std::string* pHeight = pSizeTag->Find("height");
        if (pWidth != nullptr && DoubleToFloat(crt::atof(pWidth->c_str())) > 0.0f) {
            fWidthMm = DoubleToFloat(crt::atof(pWidth->c_str()));
        }
        if (pHeight != nullptr && DoubleToFloat(crt::atof(pHeight->c_str())) > 0.0f) {
            fHeightMm = DoubleToFloat(crt::atof(pHeight->c_str()));
        }
    } else {
        m_log.Add(0, 1, 1, Severity::kWarning, "no-size",
                  "no 'vitalsize' element begins a line: the size query finds none, and the host uses its default "
                  "size of " +
                      FormatNumber(GetPluginWidth()) + " by " + FormatNumber(GetPluginHeight()) + " mm");
    }
    m_ruling.SetChartSize(fWidthMm, fHeightMm);

    // Declarations first, so that a drawing element can be told of a pen
    // declared after it; closing tags are told already and have no attributes.
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const TagSeen& tag = elements[i];
        if (tag.bClosing) continue;
        if (tag.nCode == kElementPen || tag.nCode == kElementFont) m_declarations.CheckDeclaration(tag, i);
        if (tag.nCode == kElementSize) m_declarations.CheckSize(tag, i, pSizeTag, nSizeOrder);
    }
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const TagSeen& tag = elements[i];
        if (tag.bClosing || tag.nCode == kElementPen || tag.nCode == kElementFont || tag.nCode == kElementSize) {
            continue;
        }
        CheckDrawing(tag, i);
    }
    m_ruling.Compute(elements);
}

void CElementChecker::CheckDrawing(const TagSeen& tag, std::size_t nOrder) {
    const std::string strElement = ElementName(tag.nCode);
    std::vector<std::string> missing;
    std::vector<std::string> coordinates;
    for (const AttributeRule& attr : AttributesOf(tag.nCode)) {
        if (tag.Find(attr.pszName) != nullptr) continue;
        if (attr.need == AttributeNeed::kDraws) missing.push_back(attr.pszName);
        if (attr.need == AttributeNeed::kCoordinate) coordinates.push_back(attr.pszName);
    }
    if (!missing.empty()) {
        m_log.Warn(tag, tag.nColumn, "draws-nothing",
                   "'" + strElement + "' without " + ListNames(missing) + " draws nothing");
        return;
    }
    if (!coordinates.empty()) {
        m_log.Warn(tag, tag.nColumn, "missing-coordinate",
                   "'" + strElement + "' without " + ListNames(coordinates) + ": the renderer reads " +
                       (coordinates.size() == 1 ? "it" : "them") + " as 0");
    }
    m_values.CheckValues(tag);
    m_declarations.CheckReferences(tag, nOrder);
    m_values.CheckRepeat(tag);
    m_values.CheckScale(tag);
}

}  // namespace cli
}  // namespace vitalchart
