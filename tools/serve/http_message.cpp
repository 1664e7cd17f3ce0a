#include "tools/serve/http_message.h"

namespace vitalchart {
namespace cli {

namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char ca = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char cb = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (ca != cb) return false;
    }
    return true;
}

}  // namespace

const std::string* HttpRequest::FindHeader(std::string_view name) const {
    for (const auto& field : headers) {
        if (SameWithoutCase(field.first, name)) return &field.second;
    }
    return nullptr;
}

}  // namespace cli
}  // namespace vitalchart
