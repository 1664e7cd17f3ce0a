#include "render/color_triple.h"

#include "platform/crt_number.h"

namespace vitalchart {

COLORREF ColorTriple::ToColorRef() const {
    // Each component keeps its low 8 bits: 256 is 0 and -1 is 255.
    return RGB(static_cast<BYTE>(static_cast<unsigned>(nRed) & 0xFF),
               static_cast<BYTE>(static_cast<unsigned>(nGreen) & 0xFF),
               static_cast<BYTE>(static_cast<unsigned>(nBlue) & 0xFF));
}

ColorTriple ParseColorTriple(const std::string& strText) {
    ColorTriple triple;
    std::size_t nFirst = strText.find(',');
    if (nFirst == std::string::npos) return triple;
    triple.nRed = crt::atoi(strText.substr(0, nFirst).c_str());
    triple.read = ColorRead::kRedOnly;
    std::string strRest = strText.substr(nFirst + 1);
    std::size_t nSecond = strRest.find(',');
    if (nSecond == std::string::npos) return triple;
    triple.nGreen = crt::atoi(strRest.substr(0, nSecond).c_str());
    triple.nBlue = crt::atoi(strRest.substr(nSecond + 1).c_str());
    triple.read = ColorRead::kAll;
    return triple;
}

}  // namespace vitalchart
