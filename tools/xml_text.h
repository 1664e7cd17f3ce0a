#pragma once

#include <string>

namespace vitalchart {
namespace cli {

// Text as XML character data: the five special characters escaped, and
// control characters, which XML 1.0 cannot carry, written as spaces.
inline std::string XmlText(const std::string& strText) {
    std::string str;
    str.reserve(strText.size());
    for (char c : strText) {
        switch (c) {
            case '&':
                str += "&amp;";
                break;
            case '<':
                str += "&lt;";
                break;
            case '>':
                str += "&gt;";
                break;
            case '"':
                str += "&quot;";
                break;
            case '\'':
                str += "&apos;";
                break;
            default:
                str += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        }
    }
    return str;
}

}  // namespace cli
}  // namespace vitalchart
