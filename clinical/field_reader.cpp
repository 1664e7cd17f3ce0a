#include "clinical/field_reader.h"

#include <charconv>
#include <utility>

#include "clinical/data_text_writer.h"

namespace vitalchart::clinical {

CFieldReader::CFieldReader(std::string strFile, std::vector<CDiagnostic>& rDiagnostics)
    : m_strFile(std::move(strFile)), m_rDiagnostics(rDiagnostics) {}

void CFieldReader::Error(const std::string& strPointer, const std::string& strMessage) {
    m_rDiagnostics.push_back(CDiagnostic{m_strFile, strPointer, strMessage, false});
    ++m_nErrors;
}

void CFieldReader::Warning(const std::string& strPointer, const std::string& strMessage) {
    m_rDiagnostics.push_back(CDiagnostic{m_strFile, strPointer, strMessage, true});
}

bool CFieldReader::ExpectObject(const CJsonValue& v, const std::string& strPointer,
                                std::initializer_list<std::string_view> arrKnown) {
    if (v.m_nKind != CJsonValue::kObject) {
        Error(strPointer, std::string("must be an object, not ") + v.KindName());
        return false;
    }
    for (const std::string& strKey : v.m_arrKeys) {
        bool bKnown = false;
        for (std::string_view known : arrKnown) bKnown = bKnown || known == strKey;
        if (!bKnown) Error(ChildPointer(strPointer, strKey), "is not one of this object's members");
    }
    return true;
}

bool CFieldReader::ExpectArray(const CJsonValue& v, const std::string& strPointer) {
    if (v.m_nKind == CJsonValue::kArray) return true;
    Error(strPointer, std::string("must be an array, not ") + v.KindName());
    return false;
}

const CJsonValue* CFieldReader::Member(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                                       bool bRequired) {
    const CJsonValue* p = object.Find(pszKey);
    if (p == nullptr && bRequired) Error(ChildPointer(strPointer, pszKey), "is missing");
    return p;
}

bool CFieldReader::ReadString(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                              std::string& rOut, bool bRequired) {
    const CJsonValue* p = Member(object, strPointer, pszKey, bRequired);
    if (p == nullptr) return false;
    if (p->m_nKind != CJsonValue::kString) {
        Error(ChildPointer(strPointer, pszKey), std::string("must be a string, not ") + p->KindName());
        return false;
    }
    rOut = p->m_strText;
    return true;
}

bool CFieldReader::CheckChartText(const std::string& strText, const std::string& strPointer) {
    if (CDataTextWriter::IsSafeText(strText)) return true;
    Error(strPointer, QuoteForMessage(strText) +
                          " holds a double quote, a semicolon or a control character, which a data text cannot carry");
    return false;
}

bool CFieldReader::ReadChartText(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                                 std::string& rOut, bool bRequired) {
    std::string strText;
    if (!ReadString(object, strPointer, pszKey, strText, bRequired)) return false;
    if (!CheckChartText(strText, ChildPointer(strPointer, pszKey))) return false;
    rOut = std::move(strText);
    return true;
}

bool WholeNumber(const std::string& strText, long long nMin, long long nMax, long long& rOut) {
    long long n = 0;
    const char* pEnd = strText.data() + strText.size();
    auto result = std::from_chars(strText.data(), pEnd, n);
    if (result.ec != std::errc() || result.ptr != pEnd || n < nMin || n > nMax) return false;
    rOut = n;
    return true;
}

bool CFieldReader::ReadInteger(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                               long long& rOut, long long nMin, long long nMax, bool bRequired) {
    const CJsonValue* p = Member(object, strPointer, pszKey, bRequired);
    if (p == nullptr) return false;
    const std::string strPointerHere = ChildPointer(strPointer, pszKey);
    if (p->m_nKind != CJsonValue::kNumber) {
        Error(strPointerHere, std::string("must be a whole number, not ") + p->KindName());
        return false;
    }
    if (!WholeNumber(p->m_strText, nMin, nMax, rOut)) {
        Error(strPointerHere, QuoteForMessage(p->m_strText) + " is not a whole number from " + std::to_string(nMin) +
                                  " to " + std::to_string(nMax));
        return false;
    }
    return true;
}

bool CFieldReader::ReadInt(const CJsonValue& object, const std::string& strPointer, const char* pszKey, int& rOut,
                           int nMin, int nMax, bool bRequired) {
    long long n = 0;
    if (!ReadInteger(object, strPointer, pszKey, n, nMin, nMax, bRequired)) return false;
    rOut = static_cast<int>(n);
    return true;
}

bool CFieldReader::ReadBool(const CJsonValue& object, const std::string& strPointer, const char* pszKey, bool& rOut) {
    const CJsonValue* p = Member(object, strPointer, pszKey, false);
    if (p == nullptr) return false;
    if (p->m_nKind != CJsonValue::kBool) {
        Error(ChildPointer(strPointer, pszKey), std::string("must be true or false, not ") + p->KindName());
        return false;
    }
    rOut = p->m_strText == "true";
    return true;
}

bool CFieldReader::ReadChoice(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                              std::initializer_list<std::string_view> arrWords, int& rIndex, bool bRequired) {
    std::string strWord;
    if (!ReadString(object, strPointer, pszKey, strWord, bRequired)) return false;
    int i = 0;
    std::string strList;
    for (std::string_view word : arrWords) {
        if (word == strWord) {
            rIndex = i;
            return true;
        }
        strList += (i == 0 ? "" : ", ") + std::string(word);
        ++i;
    }
    Error(ChildPointer(strPointer, pszKey), QuoteForMessage(strWord) + " is not one of " + strList);
    return false;
}

}  // namespace vitalchart::clinical
