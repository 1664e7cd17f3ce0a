#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/code_page.h"
#include "render/chart_renderer.h"

namespace vitalchart {

namespace {

// One column where both curves have a point: its x and the two curves' y.
struct PairedColumn {
    int x;
    int yUpper;
    int yLower;
    // How far the upper curve lies above the lower one (y grows downwards).
    std::int64_t Gap() const { return std::int64_t{yLower} - yUpper; }
};

// a + (b - a) * n / d, rounded to the nearest integer, in 64 bits.
int Between(int a, int b, std::int64_t n, std::int64_t d) {
    const std::int64_t num = (std::int64_t{b} - a) * n;
    const std::int64_t q = (num >= 0) == (d >= 0) ? (num + d / 2) / d : (num - d / 2) / d;
    return static_cast<int>(a + q);
}

// Where the two curves cross between columns a and b (their gaps have
// opposite signs): in integer arithmetic, the same on every platform.
POINT Crossing(const PairedColumn& a, const PairedColumn& b) {
    const std::int64_t n = a.Gap();
    const std::int64_t d = a.Gap() - b.Gap();
    return {Between(a.x, b.x, n, d), Between(a.yUpper, b.yUpper, n, d)};
}

// The first point of each column of a curve's points; the columns where the
// curve broke for a reading go into rBreaks.
std::map<int, POINT> ByColumn(const std::vector<PlottedPoint>& points, std::map<int, bool>& rBreaks) {
    std::map<int, POINT> columns;
    for (const PlottedPoint& point : points) {
        if (point.bBreak) {
            rBreaks.emplace(point.nColumn, false);
        } else {
            columns.emplace(point.nColumn, point.pt);
        }
    }
    return columns;
}

}  // namespace

void CChartRenderer::DrawVitalHatch(const CElementAttributes& attributes) {
    if (m_pDC == nullptr) return;
    const std::string_view* pUpper = attributes.Find("upper");
    const std::string_view* pLower = attributes.Find("lower");
    if (pUpper == nullptr || pLower == nullptr) return;
    if (const std::string_view* pPenId = attributes.Find("pen-id")) SelectPenById(*pPenId);
    const int nSpacing = attributes.Find("spacing") != nullptr ? attributes.Position("spacing") : EvalPosition("1", 0);
    const BOOL bRising = attributes.IsWord("direction", "falling") ? 0 : 1;

    const UINT nCodePage = GetCodePage();
    // Every column either curve has a reading in, in order, marked whether
    // both have a point there. Only those take part; a column where just one
    // was measured, or a curve broke, ends a run: the curves are not compared
    // there.
    std::map<int, bool> everyColumn;
    const std::map<int, POINT> upper = ByColumn(m_plotted.Find(FoldCaseKey(nCodePage, *pUpper)), everyColumn);
    const std::map<int, POINT> lower = ByColumn(m_plotted.Find(FoldCaseKey(nCodePage, *pLower)), everyColumn);
    for (const auto& entry : upper) everyColumn.emplace(entry.first, lower.count(entry.first) != 0);
    for (const auto& entry : lower) everyColumn.emplace(entry.first, false);
    std::vector<PairedColumn> columns;
    std::vector<bool> follows;  // whether the column comes right after the previous one in the list
    bool bPreviousPaired = false;
    for (const auto& entry : everyColumn) {
        if (entry.second) {
            const POINT& ptUpper = upper.at(entry.first);
            columns.push_back({ptUpper.x, ptUpper.y, lower.at(entry.first).y});
            follows.push_back(bPreviousPaired);
        }
        bPreviousPaired = entry.second;
    }

    // Each run of columns where the upper curve lies above the lower one is
    // one polygon: along the upper curve, back along the lower one, closed
    // where the curves meet or cross on either side.
    std::size_t i = 0;
    while (i < columns.size()) {
        if (columns[i].Gap() <= 0) {
            ++i;
            continue;
        }
        std::vector<POINT> upperPath;
        std::vector<POINT> lowerPath;
        if (i > 0 && follows[i]) {
            const PairedColumn& before = columns[i - 1];
            upperPath.push_back(before.Gap() == 0 ? POINT{before.x, before.yUpper} : Crossing(before, columns[i]));
        }
        std::size_t j = i;
        for (; j < columns.size() && columns[j].Gap() > 0 && (j == i || follows[j]); ++j) {
            upperPath.push_back({columns[j].x, columns[j].yUpper});
            lowerPath.push_back({columns[j].x, columns[j].yLower});
        }
        if (j < columns.size() && follows[j] && columns[j].Gap() <= 0) {
            const PairedColumn& after = columns[j];
            upperPath.push_back(after.Gap() == 0 ? POINT{after.x, after.yUpper} : Crossing(columns[j - 1], after));
        }
        std::vector<POINT> polygon = upperPath;
        polygon.insert(polygon.end(), lowerPath.rbegin(), lowerPath.rend());
        i = j;
        if (polygon.size() == 2) {
            // A deficit in a lone column, with no neighbour measured on both
            // curves, encloses no area: one stroke from one curve to the other.
            if (!m_budget.SpendLine()) return;
            m_pDC->MoveTo(polygon[0].x, polygon[0].y);
            m_pDC->LineTo(polygon[1].x, polygon[1].y);
            continue;
        }
        // A picture surface pays for every stroke: one per spacing across the
        // polygon's extent.
        std::int64_t nLow = INT64_MAX;
        std::int64_t nHigh = INT64_MIN;
        for (const POINT& p : polygon) {
            const std::int64_t u = bRising ? std::int64_t{p.x} + p.y : std::int64_t{p.x} - p.y;
            nLow = std::min(nLow, u);
            nHigh = std::max(nHigh, u);
        }
        const std::int64_t nStrokes = nSpacing > 0 ? (nHigh - nLow) / nSpacing + 1 : 0;
        if (nSpacing > 0 && m_budget.Spend(CDrawingBudget::kLineWork * std::min<std::int64_t>(nStrokes, 1 << 20))) {
            m_pDC->HatchPolygon(polygon.data(), static_cast<int>(polygon.size()), nSpacing, bRising);
        }
    }
}

}  // namespace vitalchart
