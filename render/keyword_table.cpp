#include "render/keyword_table.h"

#include <vector>

namespace vitalchart {

CKeywordTable::~CKeywordTable() = default;

int CKeywordTable::FindKeyword(std::string_view name) const {
    // The names as views, measured once.
    static const std::vector<std::string_view> s_names = [] {
        std::vector<std::string_view> names;
        for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) {
            names.emplace_back(p->pszName);
        }
        return names;
    }();
    for (std::size_t i = 0; i < s_names.size(); ++i) {
        // Exact, case-sensitive, whole-name comparison (an embedded zero byte
        // makes the name differ, since the lengths are compared too). Every
        // name begins "vital": the bytes after it decide, compared in place.
        const std::string_view candidate = s_names[i];
        if (name.size() != candidate.size()) continue;
        std::size_t k = name.size();
        while (k > 0 && name[k - 1] == candidate[k - 1]) --k;
        if (k == 0) return TemplateElementsBegin()[i].nCode;
    }
    return kElementUnknown;
}

}  // namespace vitalchart
