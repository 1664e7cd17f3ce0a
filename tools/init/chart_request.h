#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vitalchart {
namespace cli {

// The rows under the grid that a new chart may have.
enum class ChartRow {
    kRespiration,
    kBloodPressure,
    kIntake,
    kOutput,
    kStools,
    kUrine,
    kWeight,
    kHeight,
    kSkinTest,
    kPain,
};

enum class ChartLanguage { kChinese, kEnglish };

// A scale's range in whole degrees or beats per minute.
struct ScaleRange {
    int nLow;
    int nHigh;
};

// What vitalchart init is asked to lay out: the paper, the days and time
// points of a page, the scales of the grid, the rows under it and the
// language of its captions.
struct ChartRequest {
    std::string strPaper = "A4";
    int nPaperWidthTenths = 2100;  // millimetres times 10
    int nPaperHeightTenths = 2970;
    int nDays = 7;
    std::vector<int> hours = {2, 6, 10, 14, 18, 22};
    ScaleRange temperature = {35, 42};
    std::optional<ScaleRange> pulse = ScaleRange{20, 180};
    std::optional<ScaleRange> heartRate;
    bool bScalesGiven = false;  // the first --scale replaces the default pulse scale
    std::vector<ChartRow> rows = {ChartRow::kRespiration, ChartRow::kBloodPressure, ChartRow::kIntake,
                                  ChartRow::kOutput,      ChartRow::kStools,        ChartRow::kUrine,
                                  ChartRow::kWeight};
    ChartLanguage language = ChartLanguage::kChinese;
};

// Each reads one option's value into the request; false with a one-line
// message naming what is wrong. Numbers are read without regard to the
// process locale.

// A4, A3, B5 (any case), or WIDTHxHEIGHT in millimetres ("190x260", "185.5x260").
bool ParsePaper(const std::string& strValue, ChartRequest& rRequest, std::string& rError);
// 1 to 31 days a page.
bool ParseDays(const std::string& strValue, ChartRequest& rRequest, std::string& rError);
// Hours of the day's time points, rising: "2,6,10,14,18,22".
bool ParseTimes(const std::string& strValue, ChartRequest& rRequest, std::string& rError);
// NAME:LOW:HIGH for temperature (in degrees), pulse or heart-rate (per minute).
bool ParseScale(const std::string& strValue, ChartRequest& rRequest, std::string& rError);
// Row names, comma-separated, in the order they are drawn; empty: none.
bool ParseRows(const std::string& strValue, ChartRequest& rRequest, std::string& rError);
// zh or en.
bool ParseLanguage(const std::string& strValue, ChartRequest& rRequest, std::string& rError);

// The name a row is asked for by: "respiration", "blood-pressure", ...
const char* RowName(ChartRow row);

}  // namespace cli
}  // namespace vitalchart
