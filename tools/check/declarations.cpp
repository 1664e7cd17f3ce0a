#include "tools/check/declarations.h"

#include "platform/code_page.h"
#include "render/color_triple.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

void CDeclarationChecker::CheckDeclaration(const TagSeen& tag, std::size_t nOrder) {
    const bool bPen = tag.nCode == kElementPen;
    const char* pszWhat = bPen ? "pen" : "font";
    Declarations& rDeclared = bPen ? m_pens : m_fonts;
    Declaration declaration;
    declaration.nLine = tag.nLine;
    declaration.nOrder = nOrder;
    if (const std::string* pId = tag.Find("id")) {
        declaration.strId = *pId;
        declaration.bHasId = true;
    }
    std::vector<std::string> missing;
    for (const AttributeRule& attr : AttributesOf(tag.nCode)) {
        if (attr.need == AttributeNeed::kDeclares && tag.Find(attr.pszName) == nullptr) missing.push_back(attr.pszName);
    }
    if (!missing.empty()) {
        declaration.strMissing = ListNames(missing);
        m_log.Warn(tag, tag.nColumn, "missing-required",
                   "'" + ElementName(tag.nCode) + "' without " + declaration.strMissing + " is rejected: " +
                       (declaration.bHasId ? std::string(pszWhat) + " " + Show(m_nCodePage, declaration.strId) + " is"
                                           : std::string("no ") + pszWhat + " is") +
                       " not declared");
        if (declaration.bHasId) {
            rDeclared.byKey[FoldCaseKey(m_nCodePage, declaration.strId)].push_back(rDeclared.entries.size());
        }
        rDeclared.entries.push_back(declaration);
        return;
    }
    declaration.bAccepted = true;
    std::vector<std::size_t>& sameKey = rDeclared.byKey[FoldCaseKey(m_nCodePage, declaration.strId)];
    for (std::size_t nIndex : sameKey) {
        const Declaration& earlier = rDeclared.entries[nIndex];
        if (!earlier.bAccepted || !EqualsNoCase(m_nCodePage, earlier.strId, declaration.strId)) continue;
        if (earlier.strId == declaration.strId) {
            m_log.Warn(tag, tag.ValueColumn("id"), "duplicate-id",
                       std::string(pszWhat) + " id " + Show(m_nCodePage, declaration.strId) +
                           " is already declared on line " + std::to_string(earlier.nLine) +
                           ": the first one wins, and this " + pszWhat + " is never selected");
        } else {
            m_log.Warn(tag, tag.ValueColumn("id"), "duplicate-id",
                       std::string(pszWhat) + " id " + Show(m_nCodePage, declaration.strId) + " differs from " +
                           Show(m_nCodePage, earlier.strId) + " (line " + std::to_string(earlier.nLine) +
                           ") only in letter case: ids are compared without case, so the first one is always "
                           "selected");
        }
        break;
    }
    m_values.CheckValues(tag);
    if (bPen && !m_bPrintColorCleared) {
        const std::string* pColor = tag.Find("color");
        declaration.bColoredInPrint = pColor != nullptr && ParseColorTriple(*pColor).ToColorRef() != RGB(0, 0, 0);
    }
    sameKey.push_back(rDeclared.entries.size());
    rDeclared.entries.push_back(declaration);
}

void CDeclarationChecker::CheckSize(const TagSeen& tag, std::size_t nOrder, const TagSeen* pSizeTag,
                                    std::size_t nSizeOrder) {
    m_values.CheckValues(tag);
    const bool bGivesSize = tag.Find("width") != nullptr || tag.Find("height") != nullptr;
    if (&tag == pSizeTag) {
        for (const char* pszName : {"width", "height"}) {
            if (tag.Find(pszName) == nullptr) {
                m_log.Warn(
                    tag, tag.nColumn, "missing-size",
                    std::string("'vitalsize' without '") + pszName + "': the size query reads a " + pszName + " of 0");
            }
        }
    } else if (pSizeTag == nullptr || nOrder < nSizeOrder) {
        if (bGivesSize) {
            m_log.Warn(tag, tag.nColumn, "size-not-first",
                       "the size query reads only the first tag of each line: this 'vitalsize' declares no size");
        }
    } else if (bGivesSize) {
        m_log.Warn(tag, tag.nColumn, "repeated-size",
                   "only the first 'vitalsize' (line " + std::to_string(pSizeTag->nLine) +
                       ") counts for the size: this width and height are not read");
    }

    const std::string* pPrintColor = tag.Find("print-color");
    if (pPrintColor == nullptr || !EqualsNoCase(m_nCodePage, *pPrintColor, "false") || m_bPrintColorCleared) return;
    m_bPrintColorCleared = true;
    std::vector<std::string> colored;
    std::int32_t nFirstLine = 0;
    for (const Declaration& pen : m_pens.entries) {
        if (!pen.bAccepted || !pen.bColoredInPrint) continue;
        if (colored.empty()) nFirstLine = pen.nLine;
        colored.push_back(pen.strId);
    }
    if (colored.empty()) return;
    const std::size_t nMore = colored.size() - 1;
    m_log.Warn(tag, tag.ValueColumn("print-color"), "print-color-late",
               "print colour is turned off after the pen " + Show(m_nCodePage, colored.front()) + " (line " +
                   std::to_string(nFirstLine) + ")" +
                   (nMore > 0 ? " and " + Plural(nMore, "more pen", "more pens") : std::string()) +
                   ": a pen takes its colour when it is declared, so in print they keep their colour; put "
                   "'vitalsize' before the pens");
}

void CDeclarationChecker::CheckReferences(const TagSeen& tag, std::size_t nOrder) {
    // Only the ids the element reads: another one is told as an unknown attribute.
    for (const AttributeRule& attr : AttributesOf(tag.nCode)) {
        if (attr.kind == AttributeKind::kPenId) CheckReference(tag, nOrder, attr.pszName, m_pens, "pen");
        if (attr.kind == AttributeKind::kFontId) CheckReference(tag, nOrder, attr.pszName, m_fonts, "font");
    }
}

void CDeclarationChecker::CheckReference(const TagSeen& tag, std::size_t nOrder, const char* pszAttribute,
                                         const Declarations& declared, const char* pszWhat) {
    const std::string* pId = tag.Find(pszAttribute);
    if (pId == nullptr) return;
    const bool bPen = std::string(pszWhat) == "pen";
    const char* pszCheck = bPen ? "unknown-pen" : "unknown-font";
    const std::int32_t nColumn = tag.ValueColumn(pszAttribute);
    const std::string strKeep =
        std::string(": the element ") + (bPen ? "draws" : "writes") + " with the " + pszWhat + " already selected";
    const Declaration* pLater = nullptr;
    const Declaration* pRejected = nullptr;
    const auto found = declared.byKey.find(FoldCaseKey(m_nCodePage, *pId));
    if (found != declared.byKey.end()) {
        for (std::size_t nIndex : found->second) {
            const Declaration& entry = declared.entries[nIndex];
            if (!EqualsNoCase(m_nCodePage, entry.strId, *pId)) continue;
            if (entry.bAccepted && entry.nOrder < nOrder) return;
            if (entry.bAccepted && pLater == nullptr) pLater = &entry;
            if (!entry.bAccepted && entry.nOrder < nOrder && pRejected == nullptr) pRejected = &entry;
        }
    }
    // (SuggestName gives up on long lists anyway; do not gather one per unknown id.)
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < declared.entries.size() && declared.entries.size() <= 256; ++i) {
        const Declaration& entry = declared.entries[i];
        if (entry.bAccepted && entry.nOrder < nOrder) ids.push_back(entry.strId);
    }
    if (pRejected != nullptr) {
        m_log.Warn(tag, nColumn, pszCheck,
                   std::string(pszWhat) + " " + Show(m_nCodePage, *pId) + " was rejected on line " +
                       std::to_string(pRejected->nLine) + " (no " + pRejected->strMissing + ")" + strKeep);
    } else if (pLater != nullptr) {
        m_log.Warn(tag, nColumn, pszCheck,
                   std::string(pszWhat) + " " + Show(m_nCodePage, *pId) + " is declared only later, on line " +
                       std::to_string(pLater->nLine) + strKeep);
    } else {
        m_log.Warn(tag, nColumn, pszCheck,
                   "'" + std::string(pszAttribute) + "' names no " + pszWhat + " " + Show(m_nCodePage, *pId) +
                       DidYouMean(SuggestName(m_nCodePage, *pId, ids)) + strKeep);
    }
}

}  // namespace cli
}  // namespace vitalchart
