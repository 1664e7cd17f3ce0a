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
    std::string strId;
    bool bHasId = false;
    std::int32_t nLine = 0;
    std::size_t nOrder = 0;  // index among the template's elements
    bool bAccepted = false;
    std::string strMissing;  // the required attributes a rejected one lacks
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
// sizes the size query does not read.
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

private:
    void CheckReference(const TagSeen& tag, std::size_t nOrder, const char* pszAttribute, const Declarations& declared,
                        const char* pszWhat);

    CFindingLog& m_log;
    CValueChecker& m_values;
    UINT m_nCodePage;
    Declarations m_pens;
    Declarations m_fonts;
    bool m_bPrintColorCleared = false;
};

}  // namespace cli
}  // namespace vitalchart
