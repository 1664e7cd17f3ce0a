#pragma once

#include <string>

namespace vitalchart {
namespace cli {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(const std::string& strBytes);

}  // namespace cli
}  // namespace vitalchart
