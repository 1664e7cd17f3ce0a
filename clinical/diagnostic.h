#pragma once

#include <string>
#include <vector>

namespace vitalchart::clinical {

// One finding about an input file: where (the file and the JSON Pointer of the
// offending value, empty for the whole document), what is wrong, and whether
// it is only a warning.
class CDiagnostic {
public:
    std::string m_strFile;
    std::string m_strPointer;
    std::string m_strMessage;
    bool m_bWarning = false;

    // "file: /pointer: message", with "warning: " before a warning's message;
    // control bytes are written \xhh so one finding is always one line.
    std::string Format() const;
};

// True when any finding in the list is an error.
bool HasErrors(const std::vector<CDiagnostic>& arrDiagnostics);

// A JSON Pointer one step below strParent: the member name escaped (~0, ~1).
std::string ChildPointer(const std::string& strParent, const std::string& strKey);
// A JSON Pointer one step below strParent: the array index.
std::string ChildPointer(const std::string& strParent, std::size_t nIndex);

// The text with control bytes written \xhh, for one-line output.
std::string Printable(const std::string& strText);

// Text quoted for a message: 'text', control bytes as \xhh, cut after 60
// bytes (at a character boundary) with "..." so a megabyte value stays short.
std::string QuoteForMessage(const std::string& strText);

}  // namespace vitalchart::clinical
