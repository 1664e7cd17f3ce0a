#include "render/color_triple.h"

#include "platform/crt_number.h"

namespace vitalchart {

COLORREF ColorTriple::ToColorRef() const {
    // Each component keeps its low 8 bits: 256 is 0 and -1 is 255.
    return RGB(static_cast<BYTE>(static_cast<unsigned>(nRed) & 0xFF),
               static_cast<BYTE>(static_cast<unsigned>(nGreen) & 0xFF),
               static_cast<BYTE>(static_cast<unsigned>(nBlue) & 0xFF));
}

ColorTriple ParseColorTriple(std::string_view text) {
    ColorTriple triple;
    const std::size_t nFirst = text.find(',');
    if (nFirst == std::string_view::npos) return triple;
    triple.nRed = crt::atoi(text.substr(0, nFirst));
    triple.read = ColorRead::kRedOnly;
    const std::string_view rest = text.substr(nFirst + 1);
    const std::size_t nSecond = rest.find(',');
    if (nSecond == std::string_view::npos) return triple;
    triple.nGreen = crt::atoi(rest.substr(0, nSecond));
    triple.nBlue = crt::atoi(rest.substr(nSecond + 1));
    triple.read = ColorRead::kAll;
    return triple;
}

}  // namespace vitalchart
