#include "render/keyword_table.h"

namespace vitalchart {

CKeywordTable::~CKeywordTable() = default;

int CKeywordTable::FindKeyword(const std::string& strName) const {
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
        // Exact, case-sensitive, whole-name comparison (an embedded zero byte
        // makes the name differ, since std::string compares the lengths too).
        if (strName == p->pszName) return p->nCode;
    }
    return kElementUnknown;
}

}  // namespace vitalchart
