#include "tools/init/chart_plan.h"

#include <algorithm>

#include "tools/init/exact_millimetres.h"

namespace vitalchart {
namespace cli {

namespace {

// Every place where lines meet is a multiple of this many reference units.
constexpr int kUnit = 4;
// Nothing narrower than this: a column, a grid row.
constexpr int kMinStep = 8;
constexpr int kMinMargin = 24;  // 6.4 mm all round at least
constexpr int kHospitalRow = 24;
constexpr int kTitleRow = 28;
constexpr int kPatientLine = 20;
constexpr int kGap = 4;
constexpr int kTextRow = 20;  // 5.3 mm
constexpr int kPainBand = 48;
constexpr int kMinLabelColumn = 80;  // 21.2 mm: two scale columns of 10.6 mm
constexpr int kMaxLabelColumn = 120;

int Down(int n, int nStep) {
    return n < 0 ? -((-n + nStep - 1) / nStep) * nStep : n / nStep * nStep;
}

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// Beats per degree for a rate scale over a temperature scale of nDegrees:
// a round figure, the largest that spreads the rates over at least the
// temperature's degrees when that adds at most two degrees below them (20
// for 20 to 180 over 35 to 42, as wards draw it), else the smallest that
// keeps the rates within the temperature's degrees.
int BeatsPerDegree(ScaleRange rates, int nDegrees) {
    static const int kRound[] = {1, 2, 4, 5, 10, 20, 25, 40, 50, 100};
    const int nSpan = rates.nHigh - rates.nLow;
    int nSpread = 0;
    int nWithin = 0;
    for (int nBeats : kRound) {
        if (nBeats * nDegrees <= nSpan) nSpread = nBeats;
        if (nBeats * nDegrees >= nSpan && nWithin == 0) nWithin = nBeats;
    }
    if (nSpread != 0 && CeilDiv(nSpan, nSpread) - nDegrees <= 2) return nSpread;
    return nWithin != 0 ? nWithin : kRound[sizeof kRound / sizeof kRound[0] - 1];
}

}  // namespace

bool PlanChart(const ChartRequest& request, ChartPlan& rPlan, std::string& rError) {
    ChartPlan plan{};
    plan.nPageWidth = ReferenceUnitsOf(TenthsFigure(request.nPaperWidthTenths));
    plan.nPageHeight = ReferenceUnitsOf(TenthsFigure(request.nPaperHeightTenths));

    // The scales: the rates share one scale, drawn from the top degree down.
    if (request.pulse && request.heartRate &&
        (request.pulse->nLow != request.heartRate->nLow || request.pulse->nHigh != request.heartRate->nHigh)) {
        rError = "pulse and heart rate share the grid's scale of rates: give them the same range";
        return false;
    }
    const int nTemperatureDegrees = request.temperature.nHigh - request.temperature.nLow;
    int nDegrees = nTemperatureDegrees;
    plan.bPulseScale = request.pulse || request.heartRate;
    if (plan.bPulseScale) {
        const ScaleRange rates = request.pulse ? *request.pulse : *request.heartRate;
        plan.nBeatsPerDegree = BeatsPerDegree(rates, nTemperatureDegrees);
        plan.nPulseTop = rates.nHigh;
        nDegrees = std::max(nDegrees, CeilDiv(rates.nHigh - rates.nLow, plan.nBeatsPerDegree));
    }
    plan.nTopDegree = request.temperature.nHigh;
    plan.nBottomDegree = plan.nTopDegree - nDegrees;

    // Down the page: the grid's rows as tall as the paper allows once the
    // rest has its fixed height; one degree more above the top degree holds
    // the scales' headings.
    plan.nTextRow = kTextRow;
    int nRowsHeight = 0;
    for (ChartRow row : request.rows) nRowsHeight += row == ChartRow::kPain ? kPainBand : kTextRow;
    const int nAbove = kHospitalRow + kTitleRow + 2 * kPatientLine + kGap + 4 * kTextRow;
    const int nBelow = nRowsHeight + kGap + kTextRow;
    const int nGridRows = (nDegrees + 1) * 5;
    const int nFree = plan.nPageHeight - 2 * kMinMargin - nAbove - nBelow;
    plan.nGridRow = nFree > 0 ? Down(nFree / nGridRows, kUnit) : 0;
    if (plan.nGridRow < kMinStep) {
        rError = "the paper is too short for " + std::to_string(nDegrees + 1) +
                 " degrees of grid and these rows: take a longer paper, narrower scales or fewer rows";
        return false;
    }
    plan.nDegree = 5 * plan.nGridRow;
    const int nHeight = nAbove + nGridRows * plan.nGridRow + nBelow;
    plan.yHospital = Down((plan.nPageHeight - nHeight) / 2, kUnit);
    plan.yTitle = plan.yHospital + kHospitalRow;
    plan.yPatient = plan.yTitle + kTitleRow;
    plan.yFrameTop = plan.yPatient + 2 * kPatientLine + kGap;
    plan.yTimes = plan.yFrameTop + 3 * kTextRow;
    plan.yGrid = plan.yFrameTop + 4 * kTextRow;
    plan.yGridBottom = plan.yGrid + nGridRows * plan.nGridRow;
    int y = plan.yGridBottom;
    for (ChartRow row : request.rows) {
        const int nRowHeight = row == ChartRow::kPain ? kPainBand : kTextRow;
        plan.rows.push_back({row, y, nRowHeight});
        y += nRowHeight;
    }
    plan.yFrameBottom = y;
    plan.yPage = y + kGap;

    // Across: the columns as wide as the paper allows beside the narrowest
    // label column; half days in steps of 4 as well when a day has an odd
    // number of time points and blood pressure is written per half day.
    const int nTimes = static_cast<int>(request.hours.size());
    plan.nColumns = request.nDays * nTimes;
    const bool bHalfDays =
        std::find(request.rows.begin(), request.rows.end(), ChartRow::kBloodPressure) != request.rows.end();
    const int nColumnStep = bHalfDays && nTimes % 2 != 0 ? 2 * kUnit : kUnit;
    const int nWidth = plan.nPageWidth - 2 * kMinMargin;
    plan.nColumn = Down((nWidth - kMinLabelColumn) / plan.nColumns, nColumnStep);
    if (plan.nColumn < kMinStep) {
        rError = "the paper is too narrow for " + std::to_string(plan.nColumns) +
                 " columns: take a wider paper, fewer days or fewer time points";
        return false;
    }
    plan.nDay = nTimes * plan.nColumn;
    plan.nHalfDay = plan.nDay / 2;
    const int nGridWidth = plan.nColumns * plan.nColumn;
    const int nLabelColumn = std::min(kMaxLabelColumn, Down(nWidth - nGridWidth, 2 * kUnit));
    plan.xLeft = Down((plan.nPageWidth - nLabelColumn - nGridWidth) / 2, kUnit);
    plan.xScaleSplit = plan.xLeft + nLabelColumn / 2;
    plan.xGrid = plan.xLeft + nLabelColumn;
    plan.xRight = plan.xGrid + nGridWidth;
    rPlan = plan;
    return true;
}

}  // namespace cli
}  // namespace vitalchart
