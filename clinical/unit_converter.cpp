#include "clinical/unit_converter.h"

#include <cmath>
#include <cstring>

#include "clinical/decimal_text.h"

namespace vitalchart::clinical {

namespace {

enum EQuantity { kTemperature, kMass, kLength, kVolume, kPressure, kRate, kMassConcentration, kUnity };

// value in the quantity's base unit = value × factor + offset
struct UnitRow {
    const char* pszUnit;
    EQuantity nQuantity;
    double dFactor;
    double dOffset;
};

constexpr UnitRow kUnits[] = {
    {"Cel", kTemperature, 1.0, 0.0},
    {"[degF]", kTemperature, 5.0 / 9.0, -32.0 * 5.0 / 9.0},
    {"K", kTemperature, 1.0, -273.15},
    {"g", kMass, 1.0, 0.0},
    {"kg", kMass, 1000.0, 0.0},
    {"mg", kMass, 0.001, 0.0},
    {"[lb_av]", kMass, 453.59237, 0.0},
    {"[oz_av]", kMass, 28.349523125, 0.0},
    {"cm", kLength, 1.0, 0.0},
    {"m", kLength, 100.0, 0.0},
    {"mm", kLength, 0.1, 0.0},
    {"[in_i]", kLength, 2.54, 0.0},
    {"[ft_i]", kLength, 30.48, 0.0},
    {"mL", kVolume, 1.0, 0.0},
    {"L", kVolume, 1000.0, 0.0},
    {"dL", kVolume, 100.0, 0.0},
    {"mm[Hg]", kPressure, 1.0, 0.0},
    {"kPa", kPressure, 1000.0 / 133.322387415, 0.0},
    {"/min", kRate, 1.0, 0.0},
    {"/h", kRate, 1.0 / 60.0, 0.0},
    // Bilirubin of a newborn's jaundice row, in g/L.
    {"g/L", kMassConcentration, 1.0, 0.0},
    {"mg/dL", kMassConcentration, 0.01, 0.0},
    {"mg/L", kMassConcentration, 0.001, 0.0},
    {"g/dL", kMassConcentration, 10.0, 0.0},
    {"1", kUnity, 1.0, 0.0},
};

const UnitRow* Find(const std::string& strUnit) {
    for (const UnitRow& row : kUnits) {
        if (strUnit == row.pszUnit) return &row;
    }
    return nullptr;
}

}  // namespace

std::string CUnitConverter::Canonical(const std::string& strUnit) {
    std::string strOut;
    int nDepth = 0;
    for (char c : strUnit) {
        if (c == '{') {
            ++nDepth;
        } else if (c == '}') {
            if (nDepth > 0) --nDepth;
        } else if (nDepth == 0) {
            strOut += c;
        }
    }
    if (strOut.empty() && !strUnit.empty()) return "1";
    if (strOut.compare(0, 2, "1/") == 0) strOut.erase(0, 1);
    return strOut;
}

bool CUnitConverter::IsKnown(const std::string& strUnit) {
    return Find(Canonical(strUnit)) != nullptr;
}

bool CUnitConverter::CanConvert(const std::string& strFrom, const std::string& strTo) {
    const std::string strA = Canonical(strFrom);
    const std::string strB = Canonical(strTo);
    if (strA == strB) return true;
    const UnitRow* pFrom = Find(strA);
    const UnitRow* pTo = Find(strB);
    return pFrom != nullptr && pTo != nullptr && pFrom->nQuantity == pTo->nQuantity;
}

bool CUnitConverter::Convert(const std::string& strPlain, const std::string& strFrom, const std::string& strTo,
                             int nDecimals, std::string& rOut) {
    const std::string strA = Canonical(strFrom);
    const std::string strB = Canonical(strTo);
    if (strA == strB) {
        rOut = strPlain;
        return true;
    }
    if (!CanConvert(strA, strB)) return false;
    const UnitRow* pFrom = Find(strA);
    const UnitRow* pTo = Find(strB);
    const double dBase = DecimalValue(strPlain) * pFrom->dFactor + pFrom->dOffset;
    const double dOut = (dBase - pTo->dOffset) / pTo->dFactor;
    if (!std::isfinite(dOut) || std::fabs(dOut) >= kMaxReadingMagnitude) return false;
    rOut = FormatDecimal(dOut, nDecimals);
    return true;
}

}  // namespace vitalchart::clinical
