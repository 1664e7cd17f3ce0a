#pragma once

#include <string>

namespace vitalchart {
namespace cli {

// The figure in millimetres, at most one decimal, that the renderer reads as
// exactly nReference reference units (96 per inch): a whole millimetre when
// one does, else the tenth nearest to the length. Candidates are read with
// the renderer's own conversion, single-precision truncation to tenths
// included, so that "0.7" (read as 0.6 mm) is never taken for 0.7 mm, nor
// "4.2" (read as 15 units, not 16) for 4.23 mm.
std::string ExactMillimetres(int nReference);

// Tenths of a millimetre as a figure: 2100 is "210", 1855 is "185.5".
std::string TenthsFigure(int nTenths);

// What the renderer makes of a written figure, in reference units.
int ReferenceUnitsOf(const std::string& strMillimetres);

}  // namespace cli
}  // namespace vitalchart
