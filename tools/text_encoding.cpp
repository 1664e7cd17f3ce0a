#include "tools/text_encoding.h"

#include "platform/code_page.h"

namespace vitalchart {
namespace cli {

bool IsValidUtf8(const std::string& strBytes) {
    std::size_t i = 0;
    while (i < strBytes.size()) {
        auto b = static_cast<unsigned char>(strBytes[i]);
        std::size_t n = CharLength(CP_UTF8, strBytes.data() + i, strBytes.size() - i);
        // A multi-byte lead that did not make a whole character is malformed,
        // and so is a stray continuation or an invalid lead byte.
        if (n == 1 && b >= 0x80) return false;
        i += n;
    }
    return true;
}

}  // namespace cli
}  // namespace vitalchart
