#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/command_line.h"
#include "tools/text_encoding.h"

namespace vitalchart {
namespace cli {

// The template and the data texts of a command, each read once and brought
// into one code page: the template's own (UTF-8, or GBK), or the one
// --encoding names. With auto detection each file's encoding is found on its
// own, and a data text written in the other one is converted to the
// template's, so that its names and values meet the template's.
class CInputTexts {
public:
    // Reads the files; false with rError naming a file that cannot be read,
    // that is neither UTF-8 nor GBK, or whose text the template's code page
    // cannot write.
    bool Read(const CommandLine& line, std::string& rError);

    UINT GetCodePage() const { return m_nCodePage; }
    const std::string& GetTemplate() const { return m_strTemplate; }
    // Adds data texts written in UTF-8 (pages laid out from readings),
    // converted to the code page; false with rError naming strSource when
    // the code page cannot write one of their characters.
    bool AddUtf8Texts(std::vector<std::string> arrTexts, const std::string& strSource, std::string& rError);
    // The data texts in the code page, in the order given.
    const std::vector<std::string>& GetDataTexts() const { return m_dataTexts; }
    // Hands the data texts over, leaving none.
    std::vector<std::string> TakeDataTexts() { return std::move(m_dataTexts); }
    // What each file was written in: the template first, then the data texts.
    const std::vector<DetectedEncoding>& GetEncodings() const { return m_encodings; }
    // One line per converted data text, for standard error.
    const std::vector<std::string>& GetConversions() const { return m_conversions; }

private:
    UINT m_nCodePage = CP_UTF8;
    std::string m_strTemplate;
    std::vector<std::string> m_dataTexts;
    std::vector<DetectedEncoding> m_encodings;
    std::vector<std::string> m_conversions;
};

}  // namespace cli
}  // namespace vitalchart
