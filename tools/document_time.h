#pragma once

#include <cstdint>
#include <string>

namespace vitalchart {
namespace cli {

// When a document is made, in seconds since 1970 (UTC): the variable
// SOURCE_DATE_EPOCH when it is set, so that the same inputs give the same
// bytes, else now. False with rError when the variable is set but is not a
// whole number of seconds from 0 to the end of the year 9999.
bool DocumentTime(std::int64_t& rSeconds, std::string& rError);

// The moment as a PDF date in UTC: D:20241201083000Z.
std::string PdfDate(std::int64_t nSeconds);

// The moment as an XMP (ISO 8601) date in UTC: 2024-12-01T08:30:00Z.
std::string XmpDate(std::int64_t nSeconds);

}  // namespace cli
}  // namespace vitalchart
