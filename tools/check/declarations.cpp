#include "tools/check/declarations.h"

#include <algorithm>

#include "platform/code_page.h"
#include "render/color_triple.h"
#include "tools/check/grammar_lookup.h"
#include "tools/check/messages.h"
#include "tools/check/name_suggestion.h"

namespace vitalchart {
namespace cli {

namespace {

const char* What(bool bPen) {
    return bPen ? "pen" : "font";
}

const char* CheckOf(bool bPen) {
    return bPen ? "unknown-pen" : "unknown-font";
}

// What the elements that name it do without it.
std::string Keeps(bool bPen, bool bOne) {
    const char* pszVerb = bPen ? (bOne ? "draws" : "draw") : (bOne ? "writes" : "write");
    return std::string(pszVerb) + " with the " + What(bPen) + " already selected";
}

}  // namespace

void CDeclarationChecker::CheckDeclaration(const TagSeen& tag, std::size_t nOrder) {
    const bool bPen = tag.nCode == kElementPen;
    Declarations& rDeclared = bPen ? m_pens : m_fonts;
    Declaration declaration;
    declaration.pTag = &tag;
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
        // Told in Finish, with the elements that would have used it.
        declaration.strMissing = ListNames(missing);
        for (const AttributeSeen& unknown : tag.unknown) {
            const std::string strFor = SuggestName(m_nCodePage, unknown.strName, AttributeNames(tag.nCode));
            if (std::find(missing.begin(), missing.end(), strFor) == missing.end()) continue;
            declaration.pMisspelt = &unknown;
            declaration.strMisspeltFor = strFor;
            if (strFor == "id") declaration.strId = *tag.Find(unknown.strName.c_str());
            break;
        }
        if (!declaration.strId.empty() || declaration.bHasId) {
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
                       std::string(What(bPen)) + " id " + Show(m_nCodePage, declaration.strId) +
                           " is already declared on line " + std::to_string(earlier.nLine) +
                           ": the first one wins, and this " + What(bPen) + " is never selected");
        } else {
            m_log.Warn(tag, tag.ValueColumn("id"), "duplicate-id",
                       std::string(What(bPen)) + " id " + Show(m_nCodePage, declaration.strId) + " differs from " +
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
        if (attr.kind == AttributeKind::kPenId) CheckReference(tag, nOrder, attr.pszName, true);
        if (attr.kind == AttributeKind::kFontId) CheckReference(tag, nOrder, attr.pszName, false);
    }
}

void CDeclarationChecker::CheckReference(const TagSeen& tag, std::size_t nOrder, const char* pszAttribute, bool bPen) {
    const std::string* pId = tag.Find(pszAttribute);
    if (pId == nullptr) return;
    const Declarations& declared = bPen ? m_pens : m_fonts;
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
    Reference reference{&tag, nOrder, pszAttribute, bPen, Reference::kUnknown, 0, *pId};
    if (pRejected != nullptr) {
        reference.kind = Reference::kRejected;
        reference.nDeclaration = static_cast<std::size_t>(pRejected - declared.entries.data());
    } else if (pLater != nullptr) {
        reference.kind = Reference::kLater;
        reference.nDeclaration = static_cast<std::size_t>(pLater - declared.entries.data());
    }
    m_references.push_back(reference);
}

std::string CDeclarationChecker::Affected(const std::vector<const Reference*>& users, bool bPen,
                                          bool bFirstIsHere) const {
    std::vector<std::int32_t> lines;
    for (std::size_t i = bFirstIsHere ? 1 : 0; i < users.size(); ++i) lines.push_back(users[i]->pTag->nLine);
    if (bFirstIsHere) {
        if (lines.empty()) return ": the element " + Keeps(bPen, true);
        return ": this element and " + std::to_string(lines.size()) + " more that use it (" + LineList(lines) + ") " +
               Keeps(bPen, false);
    }
    if (lines.empty()) return std::string();
    if (lines.size() == 1) return ", so the element on " + LineList(lines) + " that uses it " + Keeps(bPen, true);
    return ", so the " + std::to_string(lines.size()) + " elements that use it (" + LineList(lines) + ") " +
           Keeps(bPen, false);
}

std::vector<const CDeclarationChecker::Reference*> CDeclarationChecker::Take(bool bPen, const Reference& first) {
    std::vector<const Reference*> taken;
    for (Reference& other : m_references) {
        if (other.bTold || other.bPen != bPen || other.kind != first.kind) continue;
        const bool bSame = first.kind == Reference::kUnknown
                               ? FoldCaseKey(m_nCodePage, other.strId) == FoldCaseKey(m_nCodePage, first.strId)
                               : other.nDeclaration == first.nDeclaration;
        if (!bSame) continue;
        other.bTold = true;
        if (!m_log.Drops(CheckOf(bPen), 0, other.pTag->nLine)) taken.push_back(&other);
    }
    return taken;
}

void CDeclarationChecker::TellRejected(bool bPen) {
    const Declarations& declared = bPen ? m_pens : m_fonts;
    for (std::size_t i = 0; i < declared.entries.size(); ++i) {
        const Declaration& entry = declared.entries[i];
        if (entry.bAccepted) continue;
        Reference first{nullptr, 0, nullptr, bPen, Reference::kRejected, i, std::string()};
        const std::string strAffected = Affected(Take(bPen, first), bPen, false);
        const TagSeen& tag = *entry.pTag;
        const std::string strNamed = std::string(What(bPen)) + " " + Show(m_nCodePage, entry.strId);
        if (entry.pMisspelt != nullptr) {
            m_told.emplace_back(&tag, entry.pMisspelt->nColumn);
            m_log.Warn(tag, entry.pMisspelt->nColumn, "unknown-attribute",
                       "'" + ElementName(tag.nCode) + "' does not read the attribute " +
                           Show(m_nCodePage, entry.pMisspelt->strName) + DidYouMean(entry.strMisspeltFor) +
                           ": without " + entry.strMissing + " the " +
                           (entry.strId.empty() ? std::string(What(bPen)) : strNamed) + " is rejected" + strAffected);
        } else {
            m_log.Warn(tag, tag.nColumn, "missing-required",
                       "'" + ElementName(tag.nCode) + "' without " + entry.strMissing + " is rejected: " +
                           (entry.strId.empty() ? std::string("no ") + What(bPen) + " is declared"
                                                : strNamed + " is not declared") +
                           strAffected);
        }
    }
}

void CDeclarationChecker::TellReferences(bool bPen) {
    const Declarations& declared = bPen ? m_pens : m_fonts;
    for (const Reference& reference : m_references) {
        if (reference.bTold || reference.bPen != bPen) continue;
        const std::vector<const Reference*> group = Take(bPen, reference);
        if (group.empty()) continue;
        const Reference& first = *group.front();
        const TagSeen& tag = *first.pTag;
        const std::string strWhich = std::string(What(bPen)) + " " + Show(m_nCodePage, first.strId);
        std::string strMessage;
        if (first.kind == Reference::kRejected) {
            const Declaration& entry = declared.entries[first.nDeclaration];
            strMessage =
                strWhich + " was rejected on line " + std::to_string(entry.nLine) + " (no " + entry.strMissing + ")";
        } else if (first.kind == Reference::kLater) {
            strMessage = strWhich + " is declared only later, on line " +
                         std::to_string(declared.entries[first.nDeclaration].nLine);
        } else {
            // (SuggestName gives up on long lists anyway; do not gather one per unknown id.)
            std::vector<std::string> ids;
            for (std::size_t i = 0; i < declared.entries.size() && declared.entries.size() <= 256; ++i) {
                const Declaration& entry = declared.entries[i];
                if (entry.bAccepted && entry.nOrder < first.nOrder) ids.push_back(entry.strId);
            }
            strMessage = "'" + std::string(first.pszAttribute) + "' names no " + strWhich +
                         DidYouMean(SuggestName(m_nCodePage, first.strId, ids));
        }
        m_log.Warn(tag, tag.ValueColumn(first.pszAttribute), CheckOf(bPen), strMessage + Affected(group, bPen, true));
    }
}

void CDeclarationChecker::Finish() {
    for (bool bPen : {true, false}) TellRejected(bPen);
    for (bool bPen : {true, false}) TellReferences(bPen);
}

std::int32_t CDeclarationChecker::ToldColumn(const TagSeen& tag) const {
    for (const auto& told : m_told) {
        if (told.first == &tag) return told.second;
    }
    return 0;
}

}  // namespace cli
}  // namespace vitalchart
