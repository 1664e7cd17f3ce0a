#include "tools/init/chart_request.h"

#include <algorithm>
#include <charconv>

namespace vitalchart {
namespace cli {

namespace {

constexpr ChartRow kRows[] = {ChartRow::kRespiration, ChartRow::kBloodPressure, ChartRow::kIntake, ChartRow::kOutput,
                              ChartRow::kStools,      ChartRow::kUrine,         ChartRow::kWeight, ChartRow::kHeight,
                              ChartRow::kSkinTest,    ChartRow::kPain};

// A whole number and nothing else.
bool WholeNumber(const std::string& str, int& rValue) {
    const char* pEnd = str.data() + str.size();
    const auto result = std::from_chars(str.data(), pEnd, rValue);
    return !str.empty() && result.ec == std::errc() && result.ptr == pEnd;
}

// Millimetres with at most one decimal, as tenths: "185.5" is 1855.
bool Tenths(const std::string& str, int& rTenths) {
    const std::size_t nDot = str.find('.');
    int nWhole = 0;
    int nTenth = 0;
    if (!WholeNumber(str.substr(0, nDot), nWhole) || nWhole < 0) return false;
    if (nDot != std::string::npos && (str.size() != nDot + 2 || !WholeNumber(str.substr(nDot + 1), nTenth))) {
        return false;
    }
    rTenths = nWhole * 10 + nTenth;
    return true;
}

std::vector<std::string> Split(const std::string& str, char c) {
    std::vector<std::string> parts;
    std::size_t nStart = 0;
    for (;;) {
        const std::size_t nEnd = str.find(c, nStart);
        parts.push_back(str.substr(nStart, nEnd - nStart));
        if (nEnd == std::string::npos) return parts;
        nStart = nEnd + 1;
    }
}

std::string Upper(std::string str) {
    for (char& c : str) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return str;
}

}  // namespace

bool ParsePaper(const std::string& strValue, ChartRequest& rRequest, std::string& rError) {
    struct Named {
        const char* pszName;
        int nWidth;
        int nHeight;
    };
    static const Named kPapers[] = {{"A4", 2100, 2970}, {"A3", 2970, 4200}, {"B5", 1760, 2500}};
    for (const Named& paper : kPapers) {
        if (Upper(strValue) == paper.pszName) {
            rRequest.strPaper = paper.pszName;
            rRequest.nPaperWidthTenths = paper.nWidth;
            rRequest.nPaperHeightTenths = paper.nHeight;
            return true;
        }
    }
    const std::size_t nX = strValue.find_first_of("xX");
    int nWidth = 0;
    int nHeight = 0;
    if (nX == std::string::npos || !Tenths(strValue.substr(0, nX), nWidth) ||
        !Tenths(strValue.substr(nX + 1), nHeight)) {
        rError = "--paper wants A4, A3, B5 or WIDTHxHEIGHT in millimetres, not '" + strValue + "'";
        return false;
    }
    if (nWidth < 500 || nHeight < 500 || nWidth > 10000 || nHeight > 10000) {
        rError = "--paper: " + strValue + " mm is outside 50 to 1000 mm a side";
        return false;
    }
    rRequest.strPaper = strValue;
    rRequest.nPaperWidthTenths = nWidth;
    rRequest.nPaperHeightTenths = nHeight;
    return true;
}

bool ParseDays(const std::string& strValue, ChartRequest& rRequest, std::string& rError) {
    int nDays = 0;
    if (!WholeNumber(strValue, nDays) || nDays < 1 || nDays > 31) {
        rError = "--days wants a whole number of days from 1 to 31, not '" + strValue + "'";
        return false;
    }
    rRequest.nDays = nDays;
    return true;
}

bool ParseTimes(const std::string& strValue, ChartRequest& rRequest, std::string& rError) {
    std::vector<int> hours;
    for (const std::string& strHour : Split(strValue, ',')) {
        int nHour = 0;
        if (!WholeNumber(strHour, nHour) || nHour < 0 || nHour > 23 || (!hours.empty() && nHour <= hours.back())) {
            rError = "--times wants rising hours of the day from 0 to 23, comma-separated, not '" + strValue + "'";
            return false;
        }
        hours.push_back(nHour);
    }
    rRequest.hours = hours;
    return true;
}

bool ParseScale(const std::string& strValue, ChartRequest& rRequest, std::string& rError) {
    const std::vector<std::string> parts = Split(strValue, ':');
    ScaleRange range = {0, 0};
    const bool bRange = parts.size() == 3 && WholeNumber(parts[1], range.nLow) && WholeNumber(parts[2], range.nHigh);
    if (!bRange || (parts[0] != "temperature" && parts[0] != "pulse" && parts[0] != "heart-rate")) {
        rError = "--scale wants temperature:LOW:HIGH, pulse:LOW:HIGH or heart-rate:LOW:HIGH, not '" + strValue + "'";
        return false;
    }
    const bool bTemperature = parts[0] == "temperature";
    const ScaleRange limits = bTemperature ? ScaleRange{25, 45} : ScaleRange{0, 400};
    if (range.nLow < limits.nLow || range.nHigh > limits.nHigh || range.nLow >= range.nHigh) {
        rError = "--scale " + parts[0] + " wants LOW below HIGH, from " + std::to_string(limits.nLow) + " to " +
                 std::to_string(limits.nHigh) + ", not '" + strValue + "'";
        return false;
    }
    if (!rRequest.bScalesGiven) {
        rRequest.bScalesGiven = true;
        rRequest.pulse.reset();
    }
    if (bTemperature) {
        rRequest.temperature = range;
    } else if (parts[0] == "pulse") {
        rRequest.pulse = range;
    } else {
        rRequest.heartRate = range;
    }
    return true;
}

bool ParseRows(const std::string& strValue, ChartRequest& rRequest, std::string& rError) {
    std::vector<ChartRow> rows;
    if (!strValue.empty()) {
        for (const std::string& strName : Split(strValue, ',')) {
            const ChartRow* pRow = std::find_if(std::begin(kRows), std::end(kRows),
                                                [&strName](ChartRow row) { return strName == RowName(row); });
            if (pRow == std::end(kRows) || std::find(rows.begin(), rows.end(), *pRow) != rows.end()) {
                std::string strKnown;
                for (ChartRow row : kRows) strKnown += std::string(strKnown.empty() ? "" : ", ") + RowName(row);
                rError = "--rows: '" + strName + "' is no row, or is given twice (known: " + strKnown + ")";
                return false;
            }
            rows.push_back(*pRow);
        }
    }
    rRequest.rows = rows;
    return true;
}

bool ParseLanguage(const std::string& strValue, ChartRequest& rRequest, std::string& rError) {
    if (strValue == "zh" || strValue == "en") {
        rRequest.language = strValue == "zh" ? ChartLanguage::kChinese : ChartLanguage::kEnglish;
        return true;
    }
    rError = "--lang wants zh or en, not '" + strValue + "'";
    return false;
}

const char* RowName(ChartRow row) {
    switch (row) {
        case ChartRow::kRespiration:
            return "respiration";
        case ChartRow::kBloodPressure:
            return "blood-pressure";
        case ChartRow::kIntake:
            return "intake";
        case ChartRow::kOutput:
            return "output";
        case ChartRow::kStools:
            return "stools";
        case ChartRow::kUrine:
            return "urine";
        case ChartRow::kWeight:
            return "weight";
        case ChartRow::kHeight:
            return "height";
        case ChartRow::kSkinTest:
            return "skin-test";
        case ChartRow::kPain:
            return "pain";
    }
    return "";
}

}  // namespace cli
}  // namespace vitalchart
