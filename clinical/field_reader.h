#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "clinical/diagnostic.h"
#include "clinical/json_value.h"

namespace vitalchart::clinical {

// Reads typed members out of a parsed document and records, under the file's
// name and the member's JSON Pointer, what is missing or of the wrong kind.
// Every Read* leaves its output alone and returns false when the member is
// absent (an error only when bRequired) or wrong (always an error).
class CFieldReader {
public:
    CFieldReader(std::string strFile, std::vector<CDiagnostic>& rDiagnostics);

    const std::string& GetFile() const { return m_strFile; }
    void Error(const std::string& strPointer, const std::string& strMessage);
    void Warning(const std::string& strPointer, const std::string& strMessage);
    // True when an error was recorded through this reader.
    bool HasErrors() const { return m_nErrors > 0; }

    // True when v is an object; each member not named in arrKnown is an error.
    bool ExpectObject(const CJsonValue& v, const std::string& strPointer,
                      std::initializer_list<std::string_view> arrKnown);
    // True when v is an array.
    bool ExpectArray(const CJsonValue& v, const std::string& strPointer);
    // The member, or null when absent ("is missing" when bRequired).
    const CJsonValue* Member(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                             bool bRequired);

    bool ReadString(const CJsonValue& object, const std::string& strPointer, const char* pszKey, std::string& rOut,
                    bool bRequired = false);
    // A string that goes into the data text as it is: CDataTextWriter::IsSafeText.
    bool ReadChartText(const CJsonValue& object, const std::string& strPointer, const char* pszKey, std::string& rOut,
                       bool bRequired = false);
    bool ReadInteger(const CJsonValue& object, const std::string& strPointer, const char* pszKey, long long& rOut,
                     long long nMin, long long nMax, bool bRequired = false);
    bool ReadInt(const CJsonValue& object, const std::string& strPointer, const char* pszKey, int& rOut, int nMin,
                 int nMax, bool bRequired = false);
    bool ReadBool(const CJsonValue& object, const std::string& strPointer, const char* pszKey, bool& rOut);
    // One of arrWords; rIndex receives its position in the list.
    bool ReadChoice(const CJsonValue& object, const std::string& strPointer, const char* pszKey,
                    std::initializer_list<std::string_view> arrWords, int& rIndex, bool bRequired = false);

    // The checks of ReadChartText on a value already in hand.
    bool CheckChartText(const std::string& strText, const std::string& strPointer);

private:
    std::string m_strFile;
    std::vector<CDiagnostic>& m_rDiagnostics;
    int m_nErrors = 0;
};

// The whole number a JSON number's text writes, when it is one within
// nMin..nMax (no fraction, no exponent).
bool WholeNumber(const std::string& strText, long long nMin, long long nMax, long long& rOut);

}  // namespace vitalchart::clinical
