#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/walk_observer.h"
#include "tools/layout/element_layout.h"
#include "vitalchart/surface/dc.h"

namespace vitalchart {
namespace cli {

// Builds a page's layout from what the template walk says and what the
// surface is asked to draw: each drawing call goes to the element the walk
// is in, or to the pass itself between elements.
class CLayoutRecorder : public CWalkObserver {
public:
    // pSurface (lent) is the surface drawn on, asked for the pen, font and
    // text colour in force at the end of each element.
    CLayoutRecorder(PageLayout& rPage, CDC* pSurface);

    void BeginElement(const CTemplateScan::Element& element, bool bActs) override;
    void EndElement() override;
    void PenSelected(std::string_view id) override { m_strPenId = id; }
    void FontSelected(std::string_view id) override { m_strFontId = id; }

    // Where the surface's drawing calls go now.
    ElementLayout& Current() { return *m_pCurrent; }

private:
    PageLayout& m_rPage;
    CDC* m_pSurface;
    ElementLayout* m_pCurrent;
    std::string m_strPenId;
    std::string m_strFontId;
};

}  // namespace cli
}  // namespace vitalchart
