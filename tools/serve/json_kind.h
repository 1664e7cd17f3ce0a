#pragma once

#include <string>
#include <string_view>

namespace vitalchart {
namespace cli {

// What a JSON body is, found in one pass without building it in memory.
enum class JsonKind {
    kMalformed,  // not JSON at all (rError: the parser's message)
    kBundle,     // an object whose "resourceType" is "Bundle"
    kOther,      // any other JSON text
};

JsonKind SniffJson(std::string_view bytes, std::string& rError);

}  // namespace cli
}  // namespace vitalchart
