#pragma once

#include <cstddef>
#include <string>

namespace vitalchart {

class CChartRenderer;
class CElementAttributes;

// Element codes of the chart template, and of the data text's two tags.
enum ElementCode : int {
    kElementUnknown = -1,
    kElementSign = 100,       // vitalsign
    kElementPen = 101,        // vitalpen
    kElementFont = 102,       // vitalfont
    kElementLine = 103,       // vitalline
    kElementText = 104,       // vitaltext
    kElementLineOut = 105,    // vitallineout
    kElementTextOut = 106,    // vitaltextout
    kElementSize = 107,       // vitalsize
    kElementLineBlock = 108,  // vitallineblock
    kElementRing = 109,       // vitalring
    kElementHatch = 110,      // vitalhatch
    kElementReason = 111,     // vitalreason
    kDataReading = 200,       // d
    kDataPrint = 201,         // print
};

// How an attribute's value is read.
enum class AttributeKind {
    kPosition,  // a position expression on the attribute's axis, in millimetres
    kLength,    // a position expression used as a length on the attribute's axis
    kInteger,   // as atoi reads it
    kDecimal,   // as atof reads it, kept in single precision
    kColor,     // a colour triple r,g,b
    kText,      // raw text
    kWord,      // compared with keywords without regard to case
    kSymbol,    // an integer marker kind; 1 to 8 draw a marker
    kPenId,     // the id of a declared pen
    kFontId,    // the id of a declared font
};

enum class Axis { kNone, kX, kY };

// What an element does when the attribute is absent.
enum class AttributeNeed {
    kOptional,    // a default takes its place
    kDeclares,    // a pen or font without it is not declared
    kDraws,       // the element draws nothing without it
    kCoordinate,  // read as 0: the device origin, or a length of 0
};

// Who reads an attribute.
enum class AttributeUse {
    kDrawing,   // the element's operation: it changes what is drawn
    kChecking,  // only `vitalchart check`: the renderer never reads it, and nothing drawn changes
};

// One attribute an element reads.
struct AttributeRule {
    const char* pszName;
    AttributeKind kind;
    Axis axis;
    AttributeNeed need;
    int nDefault;                 // integers and marker kinds: the value when absent
    const char* pszWords;         // words: those that change what is drawn, '|' between them
    const char* pszDefaultWords;  // words: those that spell out the default
    const char* pszAbsent;        // what happens without it, for the template reference
    const char* pszMeaning;       // what it is, for the template reference
    AttributeUse use = AttributeUse::kDrawing;
};

// What the template walk does with an element.
enum class ElementRole {
    kRoot,      // the rest of its line is given up unread
    kDeclares,  // declares a pen or a font for the elements after it
    kSetting,   // a setting of the chart
    kForm,      // part of the ruled form: not drawn on continuation pages in print
    kReadings,  // draws the readings of the data text
    kDataTag,   // a tag of the data text
};

// The renderer operation an element runs.
using ElementAction = void (CChartRenderer::*)(const CElementAttributes&);

// One element of the template language (or one tag of the data text): its
// name, code, the operation it runs and every attribute that operation reads,
// in the order it reads them. The keyword look-up, the template walk, the
// attribute reads of the painters, the template checker and the template
// reference all follow from these rows.
struct ElementRule {
    const char* pszName;
    int nCode;
    ElementRole role;
    ElementAction pfnAction;  // null for the root element
    const AttributeRule* pAttributes;
    std::size_t nAttributes;
    const char* pszPurpose;

    const AttributeRule* begin() const { return pAttributes; }
    const AttributeRule* end() const { return pAttributes + nAttributes; }
    // The attribute's rule, or null when the element does not read it.
    const AttributeRule* Find(const std::string& strName) const;
    // Its index among the element's attributes, or -1.
    int IndexOf(const std::string& strName) const;
};

// The template's elements in the order the keyword look-up searches them.
const ElementRule* TemplateElementsBegin();
const ElementRule* TemplateElementsEnd();
std::size_t TemplateElementCount();
// The data text's tags, d and print.
const ElementRule* DataTagsBegin();
const ElementRule* DataTagsEnd();

// The rule of a template element or data tag by its code, or null.
const ElementRule* FindElementRule(int nCode);
// A small index for per-rule bookkeeping: template elements first, then the
// data tags; -1 for an unknown code.
int ElementRuleIndex(int nCode);
constexpr int kElementRuleCount = 14;

}  // namespace vitalchart
