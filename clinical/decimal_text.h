#pragma once

#include <string>

namespace vitalchart::clinical {

// Largest magnitude a reading's number may have; anything larger is a slip
// of the keyboard or hostile, never a vital sign.
constexpr double kMaxReadingMagnitude = 1e9;

// A value as the chart writes it: digits with an optional sign and decimal
// point ("-1", "38.9"). Reads that form, and JSON's exponent form, which is
// rewritten without the exponent (3.75e1 becomes 37.5); digits written
// otherwise are kept as they are. False for anything else, and for
// magnitudes of kMaxReadingMagnitude or more (then *pTooLarge, when given,
// is set). Never depends on the locale.
bool PlainDecimal(const std::string& strText, std::string& rPlain, bool* pTooLarge = nullptr);
// The value of a plain decimal text.
double DecimalValue(const std::string& strPlain);
// The plain decimal text with exactly nDecimals digits after the point,
// rounded half away from zero on the digits as written (36.25 to 36.3).
std::string RoundDecimal(const std::string& strPlain, int nDecimals);
// A computed value written with nDecimals decimals, rounded as RoundDecimal
// rounds the shortest text that reads back as the value.
std::string FormatDecimal(double dValue, int nDecimals);

}  // namespace vitalchart::clinical
