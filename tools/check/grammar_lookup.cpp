#include "tools/check/grammar_lookup.h"

#include "platform/code_page.h"

namespace vitalchart {
namespace cli {

AttributeRange AttributesOf(int nCode) {
    const ElementRule* pRule = FindElementRule(nCode);
    if (pRule == nullptr || pRule->pAttributes == nullptr) return AttributeRange();
    return AttributeRange{pRule->begin(), pRule->end()};
}

const AttributeRule* FindAttribute(int nCode, const std::string& strName) {
    const ElementRule* pRule = FindElementRule(nCode);
    return pRule == nullptr ? nullptr : pRule->Find(strName);
}

std::vector<std::string> AttributeNames(int nCode) {
    std::vector<std::string> names;
    for (const AttributeRule& attr : AttributesOf(nCode)) names.push_back(attr.pszName);
    return names;
}

std::string ElementName(int nCode) {
    const ElementRule* pRule = FindElementRule(nCode);
    return pRule != nullptr ? pRule->pszName : std::string();
}

bool IsActedOn(int nCode) {
    const ElementRule* pRule = FindElementRule(nCode);
    return pRule != nullptr && pRule->pfnAction != nullptr;
}

std::vector<std::string> TemplateElementNames() {
    std::vector<std::string> names;
    for (const ElementRule* p = TemplateElementsBegin(); p != TemplateElementsEnd(); ++p) names.push_back(p->pszName);
    return names;
}

std::vector<std::string> DataTagNames() {
    std::vector<std::string> names;
    for (const ElementRule* p = DataTagsBegin(); p != DataTagsEnd(); ++p) names.push_back(p->pszName);
    return names;
}

int FindDataTag(UINT nCodePage, const std::string& strName) {
    for (const ElementRule* p = DataTagsBegin(); p != DataTagsEnd(); ++p) {
        if (EqualsNoCase(nCodePage, strName, p->pszName)) return p->nCode;
    }
    return kElementUnknown;
}

std::vector<std::string> SplitWords(const char* pszWords) {
    std::vector<std::string> words;
    if (pszWords == nullptr) return words;
    const std::string strAll(pszWords);
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nBar = strAll.find('|', nStart);
        words.push_back(strAll.substr(nStart, nBar == std::string::npos ? std::string::npos : nBar - nStart));
        if (nBar == std::string::npos) return words;
        nStart = nBar + 1;
    }
}

}  // namespace cli
}  // namespace vitalchart
