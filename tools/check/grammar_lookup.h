#pragma once

#include <string>
#include <vector>

#include "render/element_grammar.h"
#include "vitalchart/platform/win_types.h"

namespace vitalchart {
namespace cli {

// What the checker asks the renderer's element grammar: every attribute it
// knows of, and how each is read, comes from the grammar's rules.

// The attributes of one element or data tag, in the order they are read.
struct AttributeRange {
    const AttributeRule* pBegin = nullptr;
    const AttributeRule* pEnd = nullptr;
    const AttributeRule* begin() const { return pBegin; }
    const AttributeRule* end() const { return pEnd; }
};

// The attributes that the element (a template element code, kDataReading or
// kDataPrint) reads; empty for the root element and any unknown code.
AttributeRange AttributesOf(int nCode);

// The attribute's rule when the element reads it, else null.
const AttributeRule* FindAttribute(int nCode, const std::string& strName);

// The names of the attributes the element reads, in the order they are read.
std::vector<std::string> AttributeNames(int nCode);

// The element's or data tag's name; empty for an unknown code.
std::string ElementName(int nCode);

// Whether the element or data tag runs an operation: everything but the root
// element and unknown names.
bool IsActedOn(int nCode);

// The template's element names, in the order the keyword look-up searches them.
std::vector<std::string> TemplateElementNames();

// The data text's tag names, d and print.
std::vector<std::string> DataTagNames();

// The code of a data tag's name, compared without case; kElementUnknown for
// any other name.
int FindDataTag(UINT nCodePage, const std::string& strName);

// The words of a '|'-separated list, such as an attribute rule's pszWords;
// empty for null.
std::vector<std::string> SplitWords(const char* pszWords);

}  // namespace cli
}  // namespace vitalchart
