#pragma once

#include <string_view>

#include "render/element_grammar.h"

namespace vitalchart {

// The look-up of template element names: the grammar's elements, searched
// in their fixed order.
class CKeywordTable {
public:
    CKeywordTable() = default;
    virtual ~CKeywordTable();

    // The element code of the name, matched exactly (letter case counts), or -1.
    int FindKeyword(std::string_view name) const;
};

}  // namespace vitalchart
