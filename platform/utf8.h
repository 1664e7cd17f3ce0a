#pragma once

#include <cstddef>

namespace vitalchart {

// Length in bytes of the well-formed UTF-8 sequence that starts at p, looking
// at no more than the nRemaining bytes left: 1 for an ASCII byte, 2 to 4 for a
// multi-byte character. 0 when the bytes there are not one: a stray
// continuation byte, a lead byte that starts none (0xC0, 0xC1, 0xF5 to 0xFF),
// a sequence cut short, an overlong form, a surrogate (U+D800 to U+DFFF), a
// code point above U+10FFFF, or nRemaining 0.
std::size_t Utf8SequenceLength(const char* p, std::size_t nRemaining);

}  // namespace vitalchart
