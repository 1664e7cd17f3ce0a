#include "render/keyword_table.h"

namespace vitalchart {

CKeywordTable::~CKeywordTable() = default;

int CKeywordTable::FindKeyword(std::string_view name) const {
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
        // Exact, case-sensitive, whole-name comparison (an embedded zero byte
        // makes the name differ, since the lengths are compared too).
        if (name == p->pszName) return p->nCode;
    }
    return kElementUnknown;
}

}  // namespace vitalchart
