#pragma once

#include <string>
#include <string_view>

namespace vitalchart {
namespace cli {

// A Content-Type value: the type and subtype in lower case ("text/plain")
// and the charset parameter, if any, in lower case and unquoted.
struct MediaType {
    std::string strType;
    std::string strCharset;
};

// False when the value is no type/subtype followed by parameters.
bool ParseMediaType(std::string_view value, MediaType& rType);

}  // namespace cli
}  // namespace vitalchart
