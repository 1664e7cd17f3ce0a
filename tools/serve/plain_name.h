#pragma once

#include <string_view>

namespace vitalchart {
namespace cli {

// Whether a template or profile name a request gives may name a file of the
// service's folder: 1 to 128 bytes, none of them a path separator ('/' or
// '\'), a NUL or another control byte, no "..", and not beginning with a dot,
// so that no name reaches outside the folder or a hidden file in it.
bool IsPlainName(std::string_view name);

}  // namespace cli
}  // namespace vitalchart
