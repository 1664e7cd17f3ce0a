#include "clinical/date_row_format.h"

#include <cstdio>

#include "clinical/clinical_time.h"

namespace vitalchart::clinical {

bool CDateRowFormat::Load(const CJsonValue& v, const std::string& strPointer, CFieldReader& rReader) {
    if (!rReader.ExpectObject(v, strPointer, {"row", "pageStart", "yearChange", "monthChange", "otherDays"})) {
        return false;
    }
    rReader.ReadChartText(v, strPointer, "pageStart", m_strPageStart);
    rReader.ReadChartText(v, strPointer, "yearChange", m_strYearChange);
    rReader.ReadChartText(v, strPointer, "monthChange", m_strMonthChange);
    rReader.ReadChartText(v, strPointer, "otherDays", m_strOtherDays);
    return true;
}

std::string CDateRowFormat::Apply(const std::string& strPattern, std::int64_t nDay) {
    int y = 0;
    int m = 0;
    int d = 0;
    CivilFromDays(nDay, y, m, d);
    std::string strOut;
    char sz[40];
    for (std::size_t i = 0; i < strPattern.size();) {
        const std::string_view rest = std::string_view(strPattern).substr(i);
        if (rest.compare(0, 4, "yyyy") == 0) {
            std::snprintf(sz, sizeof sz, "%04d", y);
            i += 4;
        } else if (rest.compare(0, 2, "yy") == 0) {
            std::snprintf(sz, sizeof sz, "%02d", y % 100);
            i += 2;
        } else if (rest.compare(0, 2, "mm") == 0) {
            std::snprintf(sz, sizeof sz, "%02d", m);
            i += 2;
        } else if (rest.compare(0, 2, "dd") == 0) {
            std::snprintf(sz, sizeof sz, "%02d", d);
            i += 2;
        } else if (rest[0] == 'm') {
            std::snprintf(sz, sizeof sz, "%d", m);
            i += 1;
        } else if (rest[0] == 'd') {
            std::snprintf(sz, sizeof sz, "%d", d);
            i += 1;
        } else {
            sz[0] = rest[0];
            sz[1] = '\0';
            i += 1;
        }
        strOut += sz;
    }
    return strOut;
}

std::string CDateRowFormat::Format(std::int64_t nDay, bool bPageStart) const {
    if (bPageStart) return Apply(m_strPageStart, nDay);
    int y0 = 0;
    int m0 = 0;
    int d0 = 0;
    int y1 = 0;
    int m1 = 0;
    int d1 = 0;
    CivilFromDays(nDay - 1, y0, m0, d0);
    CivilFromDays(nDay, y1, m1, d1);
    if (y1 != y0) return Apply(m_strYearChange, nDay);
    if (m1 != m0) return Apply(m_strMonthChange, nDay);
    return Apply(m_strOtherDays, nDay);
}

}  // namespace vitalchart::clinical
