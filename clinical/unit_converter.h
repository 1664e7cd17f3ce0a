#pragma once

#include <string>

namespace vitalchart::clinical {

// Converts reading values between the UCUM units vital signs are recorded in:
// temperature (Cel, [degF], K), mass (kg, g, mg, [lb_av], [oz_av]), length
// (m, cm, mm, [in_i], [ft_i]), volume (L, dL, mL), pressure (mm[Hg], kPa),
// rates (/min, /h) and mass concentration (g/L, g/dL, mg/dL, mg/L, for a
// bilirubin). Annotations in braces are ignored, as UCUM says, so
// {beats}/min is /min and {score} is 1.
class CUnitConverter {
public:
    // The unit with annotations dropped ("{beats}/min" to "/min", "1/min" to
    // "/min", "{score}" to "1").
    static std::string Canonical(const std::string& strUnit);
    // True when the unit is one of those listed above.
    static bool IsKnown(const std::string& strUnit);
    // True when a value in strFrom can be written in strTo.
    static bool CanConvert(const std::string& strFrom, const std::string& strTo);
    // strPlain (a plain decimal in strFrom) in strTo, with nDecimals
    // decimals. The same unit keeps the text unchanged. False when the units
    // are unknown or measure different things.
    static bool Convert(const std::string& strPlain, const std::string& strFrom, const std::string& strTo,
                        int nDecimals, std::string& rOut);
};

}  // namespace vitalchart::clinical
