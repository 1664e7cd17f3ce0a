#include "tools/text_encoding.h"

#include "platform/utf8.h"

namespace vitalchart {
namespace cli {

bool IsValidUtf8(const std::string& strBytes) {
    std::size_t i = 0;
    while (i < strBytes.size()) {
        const std::size_t n = Utf8SequenceLength(strBytes.data() + i, strBytes.size() - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace cli
}  // namespace vitalchart
