#include "tools/check/chart_ruling.h"

#include <algorithm>
#include <cmath>

#include "platform/code_page.h"
#include "platform/crt_number.h"
#include "platform/int_math.h"
#include "render/chart_renderer.h"

namespace vitalchart {
namespace cli {

void CChartRuling::SetChartSize(double fWidthMm, double fHeightMm) {
    m_fChartWidthMm = fWidthMm;
    m_fChartHeightMm = fHeightMm;
}

double CChartRuling::PositionMm(const std::string* pValue) const {
    if (pValue == nullptr) return 0.0;
    const std::string& s = *pValue;
    // The chart's own rectangle is the frame of reference: its left and top are 0.
    if (EqualsNoCase(m_nCodePage, s, "left") || EqualsNoCase(m_nCodePage, s, "top")) return 0.0;
    if (EqualsNoCase(m_nCodePage, s, "right")) return m_fChartWidthMm;
    if (EqualsNoCase(m_nCodePage, s, "bottom")) return m_fChartHeightMm;
    return DoubleToFloat(crt::atof(s.c_str() + (!s.empty() && s[0] == '+' ? 1 : 0)));
}

void CChartRuling::Compute(const std::vector<TagSeen>& elements) {
    bool bAny = false;
    double fLow = 0.0;
    double fHigh = 0.0;
    auto take = [&](double x) {
        if (!std::isfinite(x)) return;
        fLow = bAny ? std::min(fLow, x) : x;
        fHigh = bAny ? std::max(fHigh, x) : x;
        bAny = true;
    };
    for (const TagSeen& tag : elements) {
        if (tag.nCode != kElementLine || tag.bClosing) continue;
        const double fLeft = PositionMm(tag.Find("left"));
        const double fRight = PositionMm(tag.Find("right"));
        const std::string* pTimes = tag.Find("times");
        const std::string* pMultiple = tag.Find("multiple");
        const std::string* pDirection = tag.Find("direction");
        const int nTimes = pTimes == nullptr ? 0 : crt::atoi(pTimes->c_str());
        const int nMultiple = pMultiple == nullptr ? 1 : crt::atoi(pMultiple->c_str());
        if (nTimes == 1) continue;
        if (nTimes <= 0 || (pDirection != nullptr && EqualsNoCase(m_nCodePage, *pDirection, "y"))) {
            take(fLeft);
            take(fRight);
            continue;
        }
        const int nLines = std::min(nTimes - 1, kMaxRepeat);
        take(fLeft);
        take(fLeft + static_cast<double>(nLines) * fRight * nMultiple);
    }
    if (!bAny) {
        fLow = 0.0;
        fHigh = m_fChartWidthMm;
    }
    m_fLeftMm = fLow;
    m_fRightMm = fHigh;
}

}  // namespace cli
}  // namespace vitalchart
