#include "tools/serve/media_type.h"

namespace vitalchart {
namespace cli {

namespace {

std::string_view Trim(std::string_view str) {
    while (!str.empty() && (str.front() == ' ' || str.front() == '\t')) str.remove_prefix(1);
    while (!str.empty() && (str.back() == ' ' || str.back() == '\t')) str.remove_suffix(1);
    return str;
}

std::string Lower(std::string_view str) {
    std::string strOut(str);
    for (char& c : strOut) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return strOut;
}

// A token of the header grammar: letters, digits and !#$%&'*+-.^_`|~.
bool IsToken(std::string_view str) {
    if (str.empty()) return false;
    for (char c : str) {
        const bool bAlnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!bAlnum && std::string_view("!#$%&'*+-.^_`|~").find(c) == std::string_view::npos) return false;
    }
    return true;
}

}  // namespace

bool ParseMediaType(std::string_view value, MediaType& rType) {
    rType = MediaType();
    const std::size_t nSemicolon = value.find(';');
    const std::string_view type = Trim(value.substr(0, nSemicolon));
    const std::size_t nSlash = type.find('/');
    if (nSlash == std::string_view::npos || !IsToken(type.substr(0, nSlash)) || !IsToken(type.substr(nSlash + 1))) {
        return false;
    }
    rType.strType = Lower(type);
    std::string_view rest = nSemicolon == std::string_view::npos ? std::string_view() : value.substr(nSemicolon + 1);
    while (!rest.empty()) {
        const std::size_t nNext = rest.find(';');
        const std::string_view parameter = Trim(rest.substr(0, nNext));
        rest = nNext == std::string_view::npos ? std::string_view() : rest.substr(nNext + 1);
        if (parameter.empty()) continue;
        const std::size_t nEquals = parameter.find('=');
        if (nEquals == std::string_view::npos || !IsToken(parameter.substr(0, nEquals))) return false;
        std::string_view parameterValue = parameter.substr(nEquals + 1);
        if (parameterValue.size() >= 2 && parameterValue.front() == '"' && parameterValue.back() == '"') {
            parameterValue = parameterValue.substr(1, parameterValue.size() - 2);
        }
        if (Lower(parameter.substr(0, nEquals)) == "charset") rType.strCharset = Lower(parameterValue);
    }
    return true;
}

}  // namespace cli
}  // namespace vitalchart
