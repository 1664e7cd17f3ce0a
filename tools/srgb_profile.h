#pragma once

#include <string_view>

namespace vitalchart {
namespace cli {

// The sRGB IEC61966-2.1 colour profile (ICC) that a Debian package ships,
// built into the command: the output intent of a PDF/A document, whose
// colours are device RGB.
std::string_view SrgbProfile();

}  // namespace cli
}  // namespace vitalchart
