#pragma once

namespace vitalchart {

// The platform's MulDiv: the 64-bit product a * b divided by c, rounded to the
// nearest integer with halves away from zero; -1 when c is 0 or the result
// does not fit in 32 bits.
int MulDiv(int a, int b, int c);

}  // namespace vitalchart
