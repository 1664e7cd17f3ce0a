#include "tools/serve/plain_name.h"

namespace vitalchart {
namespace cli {

bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > 128 || name.front() == '.') return false;
    if (name.find("..") != std::string_view::npos) return false;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '/' || c == '\\') return false;
    }
    return true;
}

}  // namespace cli
}  // namespace vitalchart
