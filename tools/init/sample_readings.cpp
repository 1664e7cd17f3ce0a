#include "tools/init/sample_readings.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tools/init/chart_wording.h"

namespace vitalchart {
namespace cli {

namespace {

// How high the fever runs on each day of the stay, in tenths of a degree at
// the day's warmest hour.
constexpr int kFever[] = {14, 24, 16, 9, 5, 2};
constexpr const char* kStools[] = {"1", "0", "2", "1", "0", "1", "1"};
constexpr int kPain[] = {3, 2, 4, 1, 2, 0, 1};

// Of five parts of the day's fever, how much an hour has: none at night, all
// in the afternoon.
int FeverParts(int nHour) {
    if (nHour < 6) return 0;
    if (nHour < 10) return 1;
    if (nHour < 14) return 3;
    if (nHour < 18) return 5;
    return nHour < 22 ? 3 : 1;
}

std::string Tenths(int nTenths) {
    return std::to_string(nTenths / 10) + "." + std::to_string(nTenths % 10);
}

// The date nDays after 4 March 2024, as "2024-03-04" for the first day and
// "03-05" after it.
std::string Date(int nDays) {
    static const int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};  // 2024
    int nMonth = 2;                                                                    // March, from 0
    int nDay = 4 + nDays;
    while (nDay > kMonthDays[nMonth % 12]) nDay -= kMonthDays[nMonth++ % 12];
    auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    const std::string strMonthDay = two(nMonth % 12 + 1) + "-" + two(nDay);
    return nDays == 0 ? "2024-" + strMonthDay : strMonthDay;
}

class CSampleText {
public:
    CSampleText(const ChartRequest& request, const ChartPlan& plan) : m_request(request), m_plan(plan) {}

    const char* W(Word word) const { return WordOf(m_request.language, word); }
    void Reading(Word name, const std::string& strValue, int nCell, const std::string& strMore = "") {
        m_str += std::string("<d vitalsigns=\"") + W(name) + "\" vitalsignsvalues=\"" + strValue + "\" cellindex=\"" +
                 std::to_string(nCell) + "\"" + strMore + "/>\n";
    }
    void Write();
    const std::string& Text() const { return m_str; }

private:
    int Times() const { return static_cast<int>(m_request.hours.size()); }
    int Columns() const { return m_request.nDays * Times(); }
    // The temperature of a column, in tenths, kept clear of the band of
    // events at the top of the grid and above the scale's bottom.
    int Temperature(int nColumn) const {
        const int nDay = nColumn / Times();
        const int nFever = nDay < 6 ? kFever[nDay] : 0;
        const int nHour = m_request.hours[static_cast<std::size_t>(nColumn % Times())];
        const int nLow = m_request.temperature.nLow * 10 + 5;
        const int nHigh = std::max(nLow, m_request.temperature.nHigh * 10 - 25);
        return std::clamp(366 + nFever * FeverParts(nHour) / 5, nLow, nHigh);
    }
    bool HasRow(ChartRow row) const {
        return std::find(m_request.rows.begin(), m_request.rows.end(), row) != m_request.rows.end();
    }
    void Header();
    void Curves();
    void Rows();

    const ChartRequest& m_request;
    const ChartPlan& m_plan;
    std::string m_str;
    int m_nSurgeryDay = 0;
};

void CSampleText::Header() {
    m_str += "<!-- A made-up stay to try the template with; replace it with the ward's readings. -->\n";
    Reading(Word::kHospital, W(Word::kSampleHospital), 0);
    Reading(Word::kName, W(Word::kSampleName), 0);
    Reading(Word::kSex, W(Word::kSampleSex), 0);
    Reading(Word::kAge, W(Word::kSampleAge), 0);
    Reading(Word::kDepartment, W(Word::kSampleDepartment), 0);
    Reading(Word::kBed, "8", 0);
    Reading(Word::kAdmitted, Date(0), 0);
    Reading(Word::kRecord, "2024030408", 0);
    Reading(Word::kPage, "1", 0);
    m_nSurgeryDay = std::min(2, m_request.nDays - 1);
    for (int d = 0; d < m_request.nDays; ++d) {
        Reading(Word::kDate, Date(d), d);
        Reading(Word::kStay, std::to_string(d + 1), d);
        if (d >= m_nSurgeryDay) Reading(Word::kAfterSurgery, std::to_string(d - m_nSurgeryDay), d);
    }
}

void CSampleText::Curves() {
    const int nColumns = Columns();
    const int nTimes = Times();
    // The admission in the first column, the operation in the second of its day.
    const int nSurgery = m_nSurgeryDay * nTimes + std::min(1, nTimes - 1);
    if (nSurgery == 0) {
        Reading(Word::kEvents, std::string(W(Word::kAdmission)) + "|" + W(Word::kSurgery), 0);
    } else {
        Reading(Word::kEvents, W(Word::kAdmission), 0);
        Reading(Word::kEvents, W(Word::kSurgery), nSurgery);
    }

    // Columns kept for a mark: the first (a pulse on the temperature, ringed),
    // the warmest (cooled), the deficit's (heart rate above pulse).
    std::set<int> taken = {0};
    int nWarmest = 0;
    for (int c = 0; c < nColumns; ++c) nWarmest = Temperature(c) > Temperature(nWarmest) ? c : nWarmest;
    const bool bCooled = Temperature(nWarmest) >= 385;
    if (bCooled) taken.insert(nWarmest);
    const bool bPulse = m_request.pulse.has_value();
    const bool bHeart = m_request.heartRate.has_value();
    std::set<int> deficit;
    if (bPulse && bHeart) {
        const int nDay = std::min(3, m_request.nDays - 1);
        for (int j = 0; j < std::min(3, nTimes); ++j) deficit.insert(nDay * nTimes + j);
        taken.insert(deficit.begin(), deficit.end());
    }
    // A reading not taken, late on the fifth day (or the last), in a column of its own.
    int nOut = -1;
    const int nOutDay = std::min(4, m_request.nDays - 1);
    for (int c = (nOutDay + 1) * nTimes - 1; c >= nOutDay * nTimes && nOut < 0; --c) {
        if (taken.count(c) == 0) nOut = c;
    }

    for (int c = 0; c < nColumns; ++c) {
        if (c == nOut) {
            m_str += std::string("<d vitalsigns=\"") + W(Word::kTemperature) + "\" vitalsignsvalues=\"\" reason=\"" +
                     W(Word::kOut) + "\" cellindex=\"" + std::to_string(c) + "\"/>\n";
            continue;
        }
        // The second reading oral, the first of the second day rectal.
        const std::string strFlag = c == 1                 ? " specialSymbolFlag=\"1\""
                                    : c == nTimes && c > 1 ? " specialSymbolFlag=\"2\""
                                                           : "";
        Reading(Word::kTemperature, Tenths(Temperature(c)), c, strFlag);
    }
    if (bCooled) {
        Reading(Word::kCooling, Tenths(Temperature(nWarmest) - 10), nWarmest,
                " vitalsignsoriginalvalues=\"" + Tenths(Temperature(nWarmest)) + "\" originalCellIndex=\"-1\"");
    }
    if (!m_plan.bPulseScale) return;

    // Rates follow the temperature, ten beats a degree, a little above its
    // marks; in the first column the rate that lies on the temperature's mark.
    const ScaleRange rates = bPulse ? *m_request.pulse : *m_request.heartRate;
    auto rate = [&](int c) {
        const int nOnMark = m_plan.nPulseTop - (m_plan.nTopDegree * 10 - Temperature(c)) * m_plan.nBeatsPerDegree / 10;
        const int n = c == 0 ? nOnMark : 84 + (Temperature(c) - 366);
        return std::clamp(n, rates.nLow, deficit.count(c) != 0 ? std::max(rates.nLow, rates.nHigh - 20) : rates.nHigh);
    };
    for (int c = 0; c < nColumns; ++c) {
        if (c == nOut) continue;
        if (bPulse) {
            Reading(Word::kPulse, std::to_string(rate(c)), c);
            if (deficit.count(c) != 0)
                Reading(Word::kHeartRate, std::to_string(std::min(rate(c) + 20, rates.nHigh)), c);
        } else {
            Reading(Word::kHeartRate, std::to_string(rate(c)), c);
        }
    }
}

void CSampleText::Rows() {
    const int nDays = m_request.nDays;
    const int nTimes = Times();
    for (ChartRow row : m_request.rows) {
        const Word name = RowReadings(row);
        for (int d = 0; d < nDays; ++d) {
            switch (row) {
                case ChartRow::kRespiration:
                    for (int j = 0; j < nTimes; ++j)
                        Reading(name, std::to_string(18 + (d * nTimes + j) * 7 % 5), d * nTimes + j);
                    break;
                case ChartRow::kBloodPressure:
                    for (int k = 0; k < 2; ++k) {
                        Reading(name,
                                std::to_string(118 + (d + k) * 4 % 16) + "/" + std::to_string(82 - (d * 3 + k) % 8),
                                2 * d + k);
                    }
                    break;
                case ChartRow::kIntake:
                    Reading(name, std::to_string(1800 + d * 300 % 900), d);
                    break;
                case ChartRow::kOutput:
                    Reading(name, std::to_string(1500 + d * 250 % 700), d);
                    break;
                case ChartRow::kStools:
                    Reading(name, kStools[d % 7], d);
                    break;
                case ChartRow::kUrine:
                    Reading(name, std::to_string(1200 + d * 150 % 600), d);
                    break;
                case ChartRow::kWeight:
                    if (d == 0) Reading(name, "62.5", d);
                    if (d == m_nSurgeryDay && d > 0) Reading(name, W(Word::kBedridden), d);
                    if (d == nDays - 1 && d > m_nSurgeryDay) Reading(name, "61.8", d);
                    break;
                case ChartRow::kHeight:
                    if (d == 0) Reading(name, "168", d);
                    break;
                case ChartRow::kSkinTest:
                    if (d == 0) Reading(name, W(Word::kSampleSkinNegative), d);
                    if (d == std::min(1, nDays - 1)) {
                        Reading(Word::kSkinPositive, W(Word::kSampleSkinPositive), d);
                    }
                    break;
                case ChartRow::kPain:
                    Reading(name, std::to_string(kPain[d % 7]), d * nTimes + nTimes / 2);
                    break;
            }
        }
    }
}

void CSampleText::Write() {
    Header();
    Curves();
    Rows();
}

}  // namespace

std::string WriteSampleReadings(const ChartRequest& request, const ChartPlan& plan) {
    CSampleText text(request, plan);
    text.Write();
    return text.Text();
}

}  // namespace cli
}  // namespace vitalchart
