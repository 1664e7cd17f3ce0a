#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/string_map.h"
#include "render/element_grammar.h"

namespace vitalchart {
namespace cli {

// One line of a text as the line walk hands it out.
struct TextLine {
    int nSource = 0;  // 0: the template; 1, 2, ...: the data texts
    std::int32_t nLine = 0;
    const char* pszLine = nullptr;
    std::int32_t nLength = 0;
};

// An attribute as the scanner met it.
struct AttributeSeen {
    std::string strName;
    std::int32_t nColumn = 0;       // where the name begins
    std::int32_t nValueColumn = 0;  // where the value begins
};

// A tag the renderer (or the data reader) acts on, with where it stands.
struct TagSeen {
    int nCode = kElementUnknown;
    int nSource = 0;
    std::int32_t nLine = 0;
    std::int32_t nColumn = 0;  // the tag's first byte
    bool bLineFirst = false;   // the first tag of its line, the one the size query looks at
    bool bClosing = false;     // written as </name>
    CMapStringToString mapAttributes;
    std::vector<AttributeSeen> attributes;
    std::vector<std::string> garbled;    // attributes whose value the scanner read out of step
    std::vector<AttributeSeen> unknown;  // attributes the element does not read, told by TellUnknownAttributes

    // Whether what the scanner made of the attribute's value is told already.
    bool IsGarbled(const char* pszName) const {
        return std::find(garbled.begin(), garbled.end(), pszName) != garbled.end();
    }

    // The value the renderer keeps, or null when the attribute is absent.
    const std::string* Find(const char* pszName) const { return mapAttributes.Find(pszName); }

    // Where the value that the renderer keeps begins (its last occurrence),
    // or the tag's column when the attribute is absent.
    std::int32_t ValueColumn(const char* pszName) const {
        for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
            if (it->strName == pszName) return it->nValueColumn;
        }
        return nColumn;
    }
};

// The tags of the walked texts that the later checks look at.
struct TagsSeen {
    std::vector<TagSeen> elements;  // the template's elements, in order
    std::vector<TagSeen> readings;  // the data texts' d tags, in order
};

}  // namespace cli
}  // namespace vitalchart
