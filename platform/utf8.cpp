#include "platform/utf8.h"

namespace vitalchart {

std::size_t Utf8SequenceLength(const char* p, std::size_t nRemaining) {
    if (nRemaining == 0) return 0;
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const unsigned char lead = u[0];
    if (lead < 0x80) return 1;
    // The lead byte sets the length; the bounds of the second byte rule out
    // the overlong forms, the surrogates and what lies above U+10FFFF.
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (n > nRemaining) return 0;
    if (u[1] < lo || u[1] > hi) return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (u[k] < 0x80 || u[k] > 0xBF) return 0;
    }
    return n;
}

}  // namespace vitalchart
