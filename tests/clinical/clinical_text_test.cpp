// The texts a chart is made of: times as records write them, decimals as the
// profile rounds them, units converted, event times worded.

#include <gtest/gtest.h>

#include <string>

#include "clinical/clinical_time.h"
#include "clinical/decimal_text.h"
#include "clinical/event_wording.h"
#include "clinical/unit_converter.h"
#include "tests/clinical/clinical_test_support.h"

namespace vitalchart::clinical::test {
namespace {

TEST(ClinicalTime, RecordTimesOnTheHospitalClock) {
    // Local times at a hospital eight hours east of UTC; "" for text that is no time.
    const struct {
        const char* pszText;
        const char* pszLocal;
    } kRows[] = {
        {"2024-12-31T20:00:00Z", "2025-01-01 04:00:00"},
        {"2024-12-31T23:59:59+08:00", "2024-12-31 23:59:59"},
        {"2025-01-01T01:30:00+09:00", "2025-01-01 00:30:00"},
        {"2024-03-01T00:00:00-05:30", "2024-03-01 13:30:00"},
        {"2024-02-29T06:00:59.999", "2024-02-29 06:00:59"},
        {"2024-12-01T08:00", "2024-12-01 08:00:00"},
        {"1900-03-01", "1900-03-01 00:00:00"},
        {"2024-13-01T08:00", ""},
        {"2023-02-29", ""},
        {"1900-02-29", ""},
        {"2024-12-01T24:00:00", ""},
        {"2024-12-01T08:00:60", ""},
        {"2024-12-01T08:00:00+14:01", ""},
        {"2024-12-01 08:00:00", ""},
        {"2024-12-01T08:00:00.", ""},
        {"２０２４-12-01", ""},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszText);
        CClinicalTime time;
        std::string strWhy;
        const bool bRead = CClinicalTime::Parse(row.pszText, time, strWhy);
        EXPECT_EQ(bRead, *row.pszLocal != '\0') << strWhy;
        if (bRead) {
            EXPECT_EQ(FormatLocalTime(time.ToLocal(8 * 60)), row.pszLocal);
        }
    }
    // Day counts and dates agree across four centuries, leap days included.
    for (std::int64_t nDay = DaysFromCivil(1800, 1, 1); nDay < DaysFromCivil(2200, 1, 1); nDay += 7) {
        int y = 0;
        int m = 0;
        int d = 0;
        CivilFromDays(nDay, y, m, d);
        ASSERT_EQ(DaysFromCivil(y, m, d), nDay);
    }
}

TEST(DecimalText, ValuesAreRoundedOnTheirDigitsAndConvertedByUnit) {
    const struct {
        const char* pszValue;
        const char* pszFrom;
        const char* pszTo;
        int nDecimals;
        const char* pszOut;  // "" when it cannot be written
    } kRows[] = {
        {"36.25", "Cel", "Cel", 1, "36.25"},  // same unit: kept as written
        {"98.6", "[degF]", "Cel", 1, "37.0"}, {"100.4", "[degF]", "Cel", 1, "38.0"},
        {"150", "[lb_av]", "kg", 1, "68.0"},  {"61800", "g", "kg", 1, "61.8"},
        {"3.2", "kg", "g", 0, "3200"},        {"16", "kPa", "mm[Hg]", 0, "120"},
        {"1.6", "L", "mL", 0, "1600"},        {"88", "{beats}/min", "/min", 0, "88"},
        {"88", "1/min", "/min", 0, "88"},     {"6.1", "mmol/L", "Cel", 1, ""},
        {"38", "kg", "Cel", 1, ""},           {"999999999", "kg", "g", 0, ""},
        {"0.096", "g/L", "mg/dL", 1, "9.6"},  {"150", "umol/L", "mg/dL", 1, ""},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(std::string(row.pszValue) + " " + row.pszFrom);
        std::string strOut;
        EXPECT_EQ(CUnitConverter::Convert(row.pszValue, row.pszFrom, row.pszTo, row.nDecimals, strOut),
                  *row.pszOut != '\0');
        if (*row.pszOut != '\0') {
            EXPECT_EQ(strOut, row.pszOut);
        }
    }
    const struct {
        const char* pszText;
        int nDecimals;
        const char* pszOut;  // "" when the text is no plain decimal
    } kRounding[] = {
        {"36.25", 1, "36.3"}, {"36.24", 1, "36.2"},  {"9.96", 1, "10.0"}, {"-0.04", 1, "0.0"}, {"39", 1, "39.0"},
        {"104", 0, "104"},    {"3.75e1", 1, "37.5"}, {"1e9", 0, ""},      {"38,5", 1, ""},     {".5", 1, ""},
        {"5.", 1, ""},        {"nan", 1, ""},        {" 38", 1, ""},      {"1e-400", 1, ""},
    };
    for (const auto& row : kRounding) {
        SCOPED_TRACE(row.pszText);
        std::string strPlain;
        EXPECT_EQ(PlainDecimal(row.pszText, strPlain), *row.pszOut != '\0');
        if (*row.pszOut != '\0') {
            EXPECT_EQ(RoundDecimal(strPlain, row.nDecimals), row.pszOut);
        }
    }
}

TEST(EventWording, TimesAreWordedAsTheProfileSays) {
    const std::string strChinese =
        R"({"row": "事件", "numerals": "chinese", "separator": "｜", "zeroMinutes": "omit"})";
    const std::string strArabic = R"({"row": "事件", "numerals": "arabic", "separator": "于", "zeroMinutes": "write"})";
    const struct {
        const std::string* pWording;
        EEventKind nKind;
        int nHour;
        int nMinute;
        const char* pszText;
    } kRows[] = {
        {&strChinese, EEventKind::kAdmission, 10, 20, "入院｜十时二十分"},
        {&strChinese, EEventKind::kDischarge, 14, 0, "出院｜十四时"},
        {&strChinese, EEventKind::kTransfer, 0, 5, "转入｜零时零五分"},
        {&strChinese, EEventKind::kDeath, 23, 59, "死亡｜二十三时五十九分"},
        {&strChinese, EEventKind::kSurgery, 9, 30, "手术"},
        {&strArabic, EEventKind::kAdmission, 13, 59, "入院于13时59分"},
        {&strArabic, EEventKind::kDischarge, 9, 0, "出院于9时00分"},
        {&strArabic, EEventKind::kDelivery, 9, 0, "分娩"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.pszText);
        std::vector<CDiagnostic> arrDiagnostics;
        CJsonValue value;
        ASSERT_TRUE(CJsonValue::Parse(*row.pWording, "events.json", value, arrDiagnostics));
        CFieldReader reader("events.json", arrDiagnostics);
        CEventWording wording;
        ASSERT_TRUE(wording.Load(value, "/events", reader));
        EXPECT_EQ(wording.Format(row.nKind, LocalSeconds(DaysFromCivil(2024, 12, 1) * 86400 + row.nHour * 3600 +
                                                         row.nMinute * 60)),
                  row.pszText);
    }
}

}  // namespace
}  // namespace vitalchart::clinical::test
