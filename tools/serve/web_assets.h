#pragma once

#include <string_view>

namespace vitalchart {
namespace cli {

// A file of the chart service's web page, built into the program from
// tools/serve/page/.
struct WebAsset {
    std::string_view path;  // as requested: "/", "/app.js", ...
    std::string_view contentType;
    std::string_view bytes;
};

// The asset at the path; null when there is none.
const WebAsset* FindWebAsset(std::string_view path);

}  // namespace cli
}  // namespace vitalchart
