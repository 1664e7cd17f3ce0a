#pragma once

#include <cstdint>
#include <vector>

#include "markup/tag_attributes.h"
#include "render/element_grammar.h"

namespace vitalchart {

// A chart template's elements as the template walk reads them, scanned once
// so that every page drawn from the template replays them: the elements
// with an operation in walk order, each with its attributes as views into
// the template's text. The root element and unknown names end their line
// and leave nothing here.
class CTemplateScan {
public:
    struct Element {
        const ElementRule* pRule;
        bool bLineFirst;  // the first tag of its line (what the size query looks at)
        CTagAttributes attributes;
        // Where its tag begins: the line (from 1; empty lines count) and the
        // byte in the line (from 1), as an author finds it in an editor.
        std::int32_t nLine;
        std::int32_t nColumn;
    };

    // Walks the text from byte nStart; the scan keeps views into the text,
    // which must outlive it.
    void Scan(const char* pText, std::int32_t nLength, std::int32_t nStart);

    const std::vector<Element>& GetElements() const { return m_elements; }

private:
    std::vector<Element> m_elements;
};

}  // namespace vitalchart
