#pragma once

#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// The command's messages (Note and Fail) made on one thread, kept while this
// lives instead of going to standard error: batch draws several charts at
// once and writes each chart's messages together, under the chart's name,
// rather than interleaved line by line. Captures nest; the innermost keeps.
class CMessageCapture {
public:
    CMessageCapture();
    ~CMessageCapture();
    CMessageCapture(const CMessageCapture&) = delete;
    CMessageCapture& operator=(const CMessageCapture&) = delete;

    // The messages kept so far, without the "vitalchart: " before them.
    const std::vector<std::string>& GetMessages() const { return m_messages; }

    // Keeps the message when the calling thread captures; false when it does
    // not, and the message is the caller's to write.
    static bool Capture(const std::string& strMessage);

private:
    std::vector<std::string> m_messages;
    CMessageCapture* m_pOuter;
};

}  // namespace cli
}  // namespace vitalchart
