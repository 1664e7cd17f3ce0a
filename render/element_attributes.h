#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "markup/tag_attributes.h"
#include "render/chart_geometry.h"
#include "render/element_grammar.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {

// Which attributes of which elements a renderer was asked to read, and any
// read of an attribute that its element's rule lacks: the record that keeps
// the grammar and the code that reads it in step.
class CGrammarUse {
public:
    void NoteRead(int nElementIndex, int nAttributeIndex);
    void NoteUnknown(const ElementRule& rule, const char* pszName);
    // Whether the attribute (by index in its element's rule) was read.
    bool WasRead(int nElementIndex, int nAttributeIndex) const;
    // "element.attribute" of the first read the grammar lacks; empty when none.
    const std::string& GetUnknown() const { return m_strUnknown; }

private:
    std::uint32_t m_arrRead[kElementRuleCount] = {};
    std::string m_strUnknown;
};

// One element's attributes as its operation reads them: each read names an
// attribute of the element's rule, which says its axis and default.
class CElementAttributes {
public:
    // The element's attributes as the scanner read them, with the geometry
    // (for positions) and the code page (for words); pUse, when given,
    // records each read.
    CElementAttributes(const ElementRule& rule, const CTagAttributes& attributes, const CChartGeometry& geometry,
                       UINT nCodePage, CGrammarUse* pUse = nullptr);

    const ElementRule& GetRule() const { return m_rule; }
    UINT GetCodePage() const { return m_nCodePage; }

    // The raw text, or null when the attribute is absent.
    const std::string_view* Find(const char* pszName) const;
    // A position or length as a device coordinate on the attribute's axis; 0 when absent.
    int Position(const char* pszName) const;
    // The integer as atoi reads it; the rule's default when absent.
    int Integer(const char* pszName) const;
    // The decimal in single precision into rValue; false when absent.
    bool Decimal(const char* pszName, float& rValue) const;
    // Whether the attribute is present and equals the word without regard to case.
    bool IsWord(const char* pszName, const char* pszWord) const;

private:
    const AttributeRule* Use(const char* pszName) const;

    const ElementRule& m_rule;
    const CTagAttributes& m_attributes;
    const CChartGeometry& m_geometry;
    UINT m_nCodePage;
    CGrammarUse* m_pUse;
    int m_nElementIndex;
};

}  // namespace vitalchart
