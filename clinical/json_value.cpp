#include "clinical/json_value.h"

#include <exception>
#include <nlohmann/json.hpp>
#include <unordered_set>
#include <utility>

namespace vitalchart::clinical {

namespace {

using json = nlohmann::json;

// Builds the tree from the parser's events, checking what the parser itself
// lets through: depth, repeated member names. Stops at the first problem.
class CTreeBuilder : public nlohmann::json_sax<json> {
public:
    CTreeBuilder(const std::string& strFile, CJsonValue& rRoot, std::vector<CDiagnostic>& rDiagnostics)
        : m_strFile(strFile), m_rRoot(rRoot), m_rDiagnostics(rDiagnostics) {}

    bool null() override { return Add(CJsonValue::kNull, std::string()) != nullptr; }
    bool boolean(bool b) override { return Add(CJsonValue::kBool, b ? "true" : "false") != nullptr; }
    bool number_integer(number_integer_t n) override { return Add(CJsonValue::kNumber, std::to_string(n)) != nullptr; }
    bool number_unsigned(number_unsigned_t n) override {
        return Add(CJsonValue::kNumber, std::to_string(n)) != nullptr;
    }
    bool number_float(number_float_t, const string_t& s) override {
        // The parser writes the process locale's decimal point into the text
        // it hands over; the document's is always '.'.
        std::string strText;
        strText.reserve(s.size());
        for (char c : s) {
            const bool bKept = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E';
            strText += bKept ? c : '.';
        }
        return Add(CJsonValue::kNumber, std::move(strText)) != nullptr;
    }
    bool string(string_t& s) override { return Add(CJsonValue::kString, std::move(s)) != nullptr; }
    bool binary(binary_t&) override { return Fail("binary values are not JSON"); }

    bool start_object(std::size_t) override { return Open(CJsonValue::kObject); }
    bool start_array(std::size_t) override { return Open(CJsonValue::kArray); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& strKey) override {
        Level& level = m_arrLevels.back();
        if (!level.keys.insert(strKey).second) {
            m_strPendingKey = strKey;
            m_bKeyPending = true;
            return FailAt(Pointer(true), "member " + QuoteForMessage(strKey) + " is given more than once");
        }
        m_strPendingKey = std::move(strKey);
        m_bKeyPending = true;
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) override {
        std::string strWhat = ex.what();
        if (ex.id == 406) {
            // "number overflow parsing '1e999'"
            const std::size_t nQuote = strWhat.find('\'');
            std::string strNumber = nQuote == std::string::npos ? std::string() : strWhat.substr(nQuote);
            if (!strNumber.empty() && strNumber.back() == '\'') strNumber = strNumber.substr(1, strNumber.size() - 2);
            return FailAt(Pointer(m_bKeyPending), QuoteForMessage(strNumber) + " is too large a number");
        }
        // "[json.exception.parse_error.101] parse error at line 1, column 5:
        // syntax error while parsing value - invalid literal; last read: 'x'"
        const std::size_t nAt = strWhat.find(" at line ");
        if (nAt != std::string::npos) strWhat = strWhat.substr(nAt + 4);
        const std::size_t nDash = strWhat.find(" - ");
        const std::size_t nColon = strWhat.find(": ");
        std::string strWhere = nColon == std::string::npos ? std::string() : strWhat.substr(0, nColon);
        std::string strDetail = nDash == std::string::npos ? strWhat : strWhat.substr(nDash + 3);
        const std::size_t nLast = strDetail.find("; last read");
        if (nLast != std::string::npos) strDetail = strDetail.substr(0, nLast);
        if (nDash == std::string::npos && nColon != std::string::npos) strDetail = strWhat.substr(nColon + 2);
        return FailAt(Pointer(m_bKeyPending),
                      "not JSON" + (strWhere.empty() ? "" : " at " + strWhere) + ": " + strDetail);
    }

    bool Failed() const { return m_bFailed; }

private:
    struct Level {
        CJsonValue* pValue;
        std::unordered_set<std::string> keys;
    };

    CJsonValue* Add(CJsonValue::EKind nKind, std::string strText) {
        CJsonValue value;
        value.m_nKind = nKind;
        value.m_strText = std::move(strText);
        if (m_arrLevels.empty()) {
            m_rRoot = std::move(value);
            return &m_rRoot;
        }
        CJsonValue* pParent = m_arrLevels.back().pValue;
        if (pParent->m_nKind == CJsonValue::kObject) {
            pParent->m_arrKeys.push_back(std::move(m_strPendingKey));
            m_bKeyPending = false;
        }
        pParent->m_arrItems.push_back(std::move(value));
        return &pParent->m_arrItems.back();
    }

    bool Open(CJsonValue::EKind nKind) {
        if (m_arrLevels.size() >= kMaxJsonDepth) {
            return FailAt(Pointer(m_bKeyPending),
                          "nested deeper than " + std::to_string(kMaxJsonDepth) + " arrays and objects");
        }
        CJsonValue* pValue = Add(nKind, std::string());
        m_arrLevels.push_back(Level{pValue, {}});
        return true;
    }

    bool Close() {
        m_arrLevels.pop_back();
        return true;
    }

    // The pointer of the value being read: the open containers' open
    // children, then the next index of an innermost array or, when bKey, the
    // pending member name of an innermost object.
    std::string Pointer(bool bKey) const {
        std::string strOut;
        for (std::size_t i = 0; i < m_arrLevels.size(); ++i) {
            const CJsonValue* pContainer = m_arrLevels[i].pValue;
            const bool bObject = pContainer->m_nKind == CJsonValue::kObject;
            if (i + 1 < m_arrLevels.size()) {
                // The child that is open is the container's last item.
                const std::size_t nLast = pContainer->m_arrItems.size() - 1;
                strOut = bObject ? ChildPointer(strOut, pContainer->m_arrKeys[nLast]) : ChildPointer(strOut, nLast);
            } else if (!bObject) {
                strOut = ChildPointer(strOut, pContainer->m_arrItems.size());
            } else if (bKey) {
                strOut = ChildPointer(strOut, m_strPendingKey);
            }
        }
        return strOut;
    }

    bool Fail(const std::string& strMessage) { return FailAt(Pointer(m_bKeyPending), strMessage); }

    bool FailAt(const std::string& strPointer, const std::string& strMessage) {
        m_bFailed = true;
        m_rDiagnostics.push_back(CDiagnostic{m_strFile, strPointer, strMessage, false});
        return false;
    }

    const std::string& m_strFile;
    CJsonValue& m_rRoot;
    std::vector<CDiagnostic>& m_rDiagnostics;
    std::vector<Level> m_arrLevels;
    std::string m_strPendingKey;
    bool m_bKeyPending = false;
    bool m_bFailed = false;
};

}  // namespace

const CJsonValue* CJsonValue::Find(std::string_view strKey) const {
    if (m_nKind != kObject) return nullptr;
    for (std::size_t i = 0; i < m_arrKeys.size(); ++i) {
        if (m_arrKeys[i] == strKey) return &m_arrItems[i];
    }
    return nullptr;
}

const char* CJsonValue::KindName() const {
    switch (m_nKind) {
        case kNull:
            return "null";
        case kBool:
            return "a boolean";
        case kNumber:
            return "a number";
        case kString:
            return "a string";
        case kArray:
            return "an array";
        case kObject:
            return "an object";
    }
    return "a value";
}

bool CJsonValue::Parse(std::string_view bytes, const std::string& strFile, CJsonValue& rRoot,
                       std::vector<CDiagnostic>& rDiagnostics) {
    rRoot = CJsonValue();
    if (bytes.size() > kMaxJsonBytes) {
        rDiagnostics.push_back(
            CDiagnostic{strFile, "", "is larger than " + std::to_string(kMaxJsonBytes >> 20) + " MiB", false});
        return false;
    }
    CTreeBuilder builder(strFile, rRoot, rDiagnostics);
    bool bOk = false;
    try {
        bOk = json::sax_parse(bytes.begin(), bytes.end(), &builder);
    } catch (const std::exception& ex) {
        rDiagnostics.push_back(CDiagnostic{strFile, "", std::string("cannot be read: ") + ex.what(), false});
        bOk = false;
    }
    if (!bOk || builder.Failed()) {
        if (!builder.Failed()) {
            rDiagnostics.push_back(CDiagnostic{strFile, "", "is not a JSON document", false});
        }
        rRoot = CJsonValue();
        return false;
    }
    return true;
}

}  // namespace vitalchart::clinical
