#include "markup/tag_scanner.h"
namespace vitalchart {
std::string ReadTagName(const char*, std::int32_t nLength, std::int32_t& nPos) { nPos = nLength; return {}; }
void ParseAttributes(const char*, std::int32_t nLength, CMapStringToString&, CMapStringToString&, std::int32_t& nPos) { nPos = nLength; }
}
