#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/check/finding_log.h"
#include "tools/check/tag_seen.h"
#include "tools/check/value_checker.h"

namespace vitalchart {
namespace cli {

// A pen or font declaration, accepted or rejected.
struct Declaration {
    const TagSeen* pTag = nullptr;
    std::string strId;
    bool bHasId = false;
    std::int32_t nLine = 0;
    std::size_t nOrder = 0;  // index among the template's elements
    bool bAccepted = false;
    std::string strMissing;  // the required attributes a rejected one lacks
    // A rejected one: the attribute it does not read that stands for a
    // missing one ("font-szie" for "font-size"), and the id it was meant to
    // have (its id, or the value of a misspelt id).
    const AttributeSeen* pMisspelt = nullptr;
    std::string strMisspeltFor;
    std::string strMeantId;
    bool bColoredInPrint = false;
};

// The pens or the fonts of a template in declaration order, found by id.
struct Declarations {
    std::vector<Declaration> entries;
    std::unordered_map<std::string, std::vector<std::size_t>> byKey;  // folded id: indexes into entries
};

// Explains the template's pens, fonts and size: declarations the renderer
// rejects, ids declared twice, references to pens and fonts that are never
// found (or only later), print colour turned off after coloured pens, and
// sizes the size query does not read. A cascade is told once: a declaration
// rejected for a misspelt attribute is one finding at the misspelling that
// names the elements left with the pen or font already selected, and an id
// that names no pen or font is one finding at its first use that names the
// others.
class CDeclarationChecker {
public:
    // Findings go to the log; values are checked with the value checker.
    CDeclarationChecker(CFindingLog& log, CValueChecker& values)
        : m_log(log), m_values(values), m_nCodePage(log.GetCodePage()) {}

    // A vitalpen or vitalfont, the element at index nOrder of the template.
    void CheckDeclaration(const TagSeen& tag, std::size_t nOrder);
    // A vitalsize at index nOrder; pSizeTag (at nSizeOrder) is the one the size
    // query reads, null when there is none.
    void CheckSize(const TagSeen& tag, std::size_t nOrder, const TagSeen* pSizeTag, std::size_t nSizeOrder);
    // The pen and font that a drawing element at index nOrder selects by id.
    void CheckReferences(const TagSeen& tag, std::size_t nOrder);
    // Tells the rejected declarations and the references that find no pen or
    // font, each cascade once, after every element is checked.
    void Finish();
    // The column of the unknown attribute of the tag that a finding of
    // Finish told already, or 0.
    std::int32_t ToldColumn(const TagSeen& tag) const;

private:
    // A pen-id or font-id that selects no declared pen or font.
    struct Reference {
        enum Kind { kRejected, kLater, kUnknown };
        const TagSeen* pTag;
        std::size_t nOrder;
        const char* pszAttribute;
        bool bPen;
        Kind kind;
        std::size_t nDeclaration;  // kRejected, kLater: the entry it finds
        std::string strId;
        bool bTold = false;
    };

    void CheckReference(const TagSeen& tag, std::size_t nOrder, const char* pszAttribute, bool bPen);
    void TellRejected(bool bPen);
    void TellReferences(bool bPen);
    std::vector<const Reference*> Take(bool bPen, const Reference& first);
    std::string Affected(const std::vector<const Reference*>& users, bool bPen, bool bFirstIsHere) const;

    CFindingLog& m_log;
    CValueChecker& m_values;
    UINT m_nCodePage;
    Declarations m_pens;
    Declarations m_fonts;
    std::vector<Reference> m_references;
    std::vector<std::pair<const TagSeen*, std::int32_t>> m_told;
    bool m_bPrintColorCleared = false;
};

}  // namespace cli
}  // namespace vitalchart
