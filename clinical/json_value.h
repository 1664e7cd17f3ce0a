#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "clinical/diagnostic.h"

namespace vitalchart::clinical {

// Deepest nesting of arrays and objects a document may have.
constexpr std::size_t kMaxJsonDepth = 64;
// Largest document read, in bytes.
constexpr std::size_t kMaxJsonBytes = 64u << 20;

// One value of a JSON document, as written: numbers keep the text they were
// written with (so 39.0 stays "39.0"), object members keep their order.
class CJsonValue {
public:
    enum EKind { kNull, kBool, kNumber, kString, kArray, kObject };

    EKind m_nKind = kNull;
    // A string's content, a number as written (decimal point '.'), or
    // "true"/"false".
    std::string m_strText;
    // Array items, or the values of object members.
    std::vector<CJsonValue> m_arrItems;
    // Object member names, one for each of m_arrItems.
    std::vector<std::string> m_arrKeys;

    // The value of the member, or null when this is no object or has no such member.
    const CJsonValue* Find(std::string_view strKey) const;
    // "a string", "an object", ... for messages.
    const char* KindName() const;

    // Reads a whole document. Rejects, with a finding at the JSON Pointer
    // where the parser was: syntax errors, invalid UTF-8, numbers too large
    // for a double, a member name given twice in one object, nesting deeper
    // than kMaxJsonDepth and documents over kMaxJsonBytes. True when rRoot
    // holds the document.
    static bool Parse(std::string_view bytes, const std::string& strFile, CJsonValue& rRoot,
                      std::vector<CDiagnostic>& rDiagnostics);
};

}  // namespace vitalchart::clinical
