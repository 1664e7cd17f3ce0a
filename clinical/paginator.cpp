#include "clinical/paginator.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <unordered_map>

#include "clinical/data_text_writer.h"
#include "clinical/decimal_text.h"
#include "clinical/unit_converter.h"

namespace vitalchart::clinical {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Decimals of a converted value when the profile names none.
constexpr int kConvertedDecimals = 1;

// A reading or event on its way to a page.
struct CPlacement {
    int m_nPage = 0;
    int m_nRow = 0;
    int m_nColumn = 0;
    LocalSeconds m_time{0};
    std::size_t m_nSource = 0;
    bool m_bWritten = true;
    CDataTag m_tag;
};

class CPageBuilder {
public:
    CPageBuilder(const CReadingsDocument& document, const CHospitalProfile& profile, bool bStrict, CPagination& rOut)
        : m_document(document), m_profile(profile), m_bStrict(bStrict), m_rOut(rOut) {}

    bool Run();

private:
    void Error(const std::string& strPointer, const std::string& strMessage) {
        m_rOut.m_arrDiagnostics.push_back(CDiagnostic{m_document.m_strFile, strPointer, strMessage, false});
        m_bFailed = true;
    }
    void Warn(const std::string& strPointer, const std::string& strMessage) {
        m_rOut.m_arrDiagnostics.push_back(CDiagnostic{m_document.m_strFile, strPointer, strMessage, !m_bStrict});
        if (m_bStrict) m_bFailed = true;
    }
    // Marks the report row of an input that went nowhere, with a warning
    // unless the profile chose to leave it out.
    void Nowhere(CReportRow& rRow, const std::string& strWhy, bool bWarn) {
        if (bWarn) Warn(rRow.m_strPointer, strWhy);
        rRow.m_nPage = 0;
        rRow.m_strNote = strWhy;
    }

    bool FindStay();
    void PlaceEvents();
    void PlaceReadings();
    bool PlaceReading(const CReading& reading, std::size_t nIndex, CReportRow& rRow);
    bool ValueText(const CReading& reading, const CSignRow& sign, std::string& rText, std::string& rWhy) const;
    void LinkCooling();
    void KeepPerCell();
    void Report();
    void WritePages();
    void WritePage(int nPage, CDataTextWriter& rWriter);
    std::string HeaderValue(EHeaderField nField, int nPage) const;
    std::string Age() const;
    int ColumnOf(ERowKind nKind, LocalSeconds t) const;
    void Write(CDataTextWriter& rWriter, const CDataTag& tag, const std::string& strPointer);
    std::string Describe(const CReading& reading) const;

    bool InStay(LocalSeconds t) const { return t >= m_admission && (!m_bEnded || t <= m_end); }
    bool DayInStay(std::int64_t nDay) const { return nDay >= m_nFirstDay && nDay <= m_nLastDay; }
    int PageOfDay(std::int64_t nDay) const { return static_cast<int>((nDay - m_nFirstDay) / m_profile.m_nDaysPerPage); }

    const CReadingsDocument& m_document;
    const CHospitalProfile& m_profile;
    bool m_bStrict;
    CPagination& m_rOut;
    bool m_bFailed = false;

    LocalSeconds m_admission{0};
    bool m_bEnded = false;
    LocalSeconds m_end{0};
    std::int64_t m_nFirstDay = 0;
    std::int64_t m_nLastDay = 0;
    int m_nPages = 0;

    // Events in time order (indices into the document), and those placed.
    std::vector<std::size_t> m_arrEventOrder;
    std::vector<CPlacement> m_arrEvents;
    std::vector<std::int64_t> m_arrOperationDays;
    std::vector<CReportRow> m_arrEventRows;
    // Readings placed, and the report rows of every reading in document order.
    std::vector<CPlacement> m_arrPlaced;
    std::vector<CReportRow> m_arrReadingRows;
    std::unordered_map<std::size_t, std::size_t> m_mapPlacedOf;
};

std::string CPageBuilder::Describe(const CReading& reading) const {
    std::string strWhat = reading.m_strSign;
    if (!reading.m_strSite.empty()) strWhat += " (" + reading.m_strSite + ")";
    if (!reading.m_strFollows.empty()) strWhat += " after cooling";
    const LocalSeconds t = reading.m_time.ToLocal(m_profile.m_nUtcOffsetMinutes);
    strWhat += " " + (reading.m_time.HasTime() ? FormatLocalTime(t) : FormatDay(DayOf(t)));
    return strWhat;
}

bool CPageBuilder::FindStay() {
    const int nOffset = m_profile.m_nUtcOffsetMinutes;
    m_admission = m_document.m_patient.m_admission.ToLocal(nOffset);
    m_nFirstDay = DayOf(m_admission);
    for (std::size_t i = 0; i < m_document.m_arrEvents.size(); ++i) m_arrEventOrder.push_back(i);
    std::stable_sort(m_arrEventOrder.begin(), m_arrEventOrder.end(), [&](std::size_t a, std::size_t b) {
        return m_document.m_arrEvents[a].m_time.ToLocal(nOffset) < m_document.m_arrEvents[b].m_time.ToLocal(nOffset);
    });
    const CStayEvent* pEnd = nullptr;
    for (std::size_t i : m_arrEventOrder) {
        const CStayEvent& event = m_document.m_arrEvents[i];
        const LocalSeconds t = event.m_time.ToLocal(nOffset);
        if (event.m_nKind == EEventKind::kAdmission && t != m_admission) {
            Error(ChildPointer(event.m_strPointer, "time"), "the admission event is at " + FormatLocalTime(t) +
                                                                ", the patient's admission at " +
                                                                FormatLocalTime(m_admission));
        }
        if (event.m_nKind != EEventKind::kDischarge && event.m_nKind != EEventKind::kDeath) continue;
        if (pEnd != nullptr) {
            Error(event.m_strPointer, "the stay already ended at " + pEnd->m_strPointer);
        } else if (t < m_admission) {
            Error(ChildPointer(event.m_strPointer, "time"),
                  "the stay ends before the admission at " + FormatLocalTime(m_admission));
        } else {
            pEnd = &event;
            m_bEnded = true;
            m_end = t;
        }
    }
    if (m_bFailed) return false;
    std::int64_t nLastDay = m_nFirstDay;
    if (m_bEnded) {
        nLastDay = DayOf(m_end);
        if (nLastDay - m_nFirstDay >= kMaxStayDays) {
            Error(pEnd->m_strPointer, "the stay is longer than " + std::to_string(kMaxStayDays) + " days");
            return false;
        }
    } else {
        // An open stay runs to its last event or reading.
        for (const CStayEvent& event : m_document.m_arrEvents) {
            nLastDay = std::max(nLastDay, DayOf(event.m_time.ToLocal(nOffset)));
        }
        for (const CReading& reading : m_document.m_arrReadings) {
            nLastDay = std::max(nLastDay, DayOf(reading.m_time.ToLocal(nOffset)));
        }
        nLastDay = std::min(nLastDay, m_nFirstDay + kMaxStayDays - 1);
        m_end = LocalSeconds((nLastDay + 1) * kSecondsPerDay - 1);
        m_bEnded = true;
    }
    m_nLastDay = nLastDay;
    const std::int64_t nDays = m_nLastDay - m_nFirstDay + 1;
    m_nPages = static_cast<int>((nDays + m_profile.m_nDaysPerPage - 1) / m_profile.m_nDaysPerPage);
    return true;
}

int CPageBuilder::ColumnOf(ERowKind nKind, LocalSeconds t) const {
    const std::int64_t nDayInPage = (DayOf(t) - m_nFirstDay) % m_profile.m_nDaysPerPage;
    const int nSecond = SecondOfDay(t);
    switch (nKind) {
        case ERowKind::kSlot:
            return static_cast<int>(nDayInPage * m_profile.m_slots.GetSlotCount() + m_profile.m_slots.SlotOf(nSecond));
        case ERowKind::kHalfDay:
            return static_cast<int>(nDayInPage * 2 + (nSecond >= m_profile.m_nAfternoonFrom ? 1 : 0));
        case ERowKind::kDay:
            return static_cast<int>(nDayInPage);
        case ERowKind::kHeader:
            return 0;
    }
    return 0;
}

void CPageBuilder::PlaceEvents() {
    const int nOffset = m_profile.m_nUtcOffsetMinutes;
    for (std::size_t i : m_arrEventOrder) {
        const CStayEvent& event = m_document.m_arrEvents[i];
        const LocalSeconds t = event.m_time.ToLocal(nOffset);
        CReportRow row;
        row.m_strFile = m_document.m_strFile;
        row.m_strPointer = event.m_strPointer;
        row.m_strWhat = std::string(EventKindName(event.m_nKind)) + " " + FormatLocalTime(t);
        if (!InStay(t)) {
            Nowhere(row, "outside the stay (" + FormatLocalTime(m_admission) + " to " + FormatLocalTime(m_end) + ")",
                    true);
            m_rOut.m_arrReport.push_back(row);
            continue;
        }
        if (event.m_nKind == EEventKind::kSurgery) m_arrOperationDays.push_back(DayOf(t));
        if (m_profile.m_strEventRow.empty()) {
            Nowhere(row, "the profile writes no events", false);
            m_rOut.m_arrReport.push_back(row);
            continue;
        }
        CPlacement placement;
        placement.m_nPage = PageOfDay(DayOf(t));
        placement.m_nColumn = ColumnOf(ERowKind::kSlot, t);
        placement.m_time = t;
        placement.m_nSource = i;
        placement.m_tag.m_strName = m_profile.m_strEventRow;
        placement.m_tag.m_strValue = m_profile.m_events.Format(event.m_nKind, t);
        placement.m_tag.m_nCell = placement.m_nColumn;
        row.m_nPage = placement.m_nPage + 1;
        row.m_nColumn = placement.m_nColumn;
        row.m_strRow = placement.m_tag.m_strName;
        row.m_strValue = placement.m_tag.m_strValue;
        m_arrEvents.push_back(placement);
        m_rOut.m_arrReport.push_back(row);
    }
}

bool CPageBuilder::ValueText(const CReading& reading, const CSignRow& sign, std::string& rText,
                             std::string& rWhy) const {
    const std::string strFrom = reading.m_strUnit.empty() ? sign.m_strUnit : reading.m_strUnit;
    const int nDecimals = sign.m_nDecimals >= 0 ? sign.m_nDecimals : kConvertedDecimals;
    // One number: checked, converted to the row's unit, given the row's decimals.
    auto number = [&](const std::string& strPart, std::string& rOut) {
        std::string strPlain;
        bool bTooLarge = false;
        if (!PlainDecimal(strPart, strPlain, &bTooLarge)) {
            rWhy = QuoteForMessage(strPart) + (bTooLarge ? " is out of range for a reading" : " is not a number");
            return false;
        }
        if (!sign.m_strUnit.empty() && !strFrom.empty()) {
            if (!CUnitConverter::Convert(strPlain, strFrom, sign.m_strUnit, nDecimals, strPlain)) {
                rWhy = "a value in " + QuoteForMessage(strFrom) + " cannot be written in " +
                       QuoteForMessage(sign.m_strUnit);
                return false;
            }
        }
        rOut = sign.m_nDecimals >= 0 ? RoundDecimal(strPlain, sign.m_nDecimals) : strPlain;
        return true;
    };
    const std::string& strValue = reading.m_strValue;
    if (sign.m_nValue == EValueKind::kText ||
        std::find(sign.m_arrWords.begin(), sign.m_arrWords.end(), strValue) != sign.m_arrWords.end()) {
        rText = strValue;
        return true;
    }
    if (sign.m_nValue == EValueKind::kNumber) return number(strValue, rText);
    const std::size_t nSlash = strValue.find('/');
    if (nSlash == std::string::npos) {
        rWhy = QuoteForMessage(strValue) + " is not systolic/diastolic";
        return false;
    }
    std::string strSystolic;
    std::string strDiastolic;
    if (!number(strValue.substr(0, nSlash), strSystolic) || !number(strValue.substr(nSlash + 1), strDiastolic)) {
        return false;
    }
    rText = strSystolic + "/" + strDiastolic;
    return true;
}

bool CPageBuilder::PlaceReading(const CReading& reading, std::size_t nIndex, CReportRow& rRow) {
    const bool bCooling = !reading.m_strFollows.empty();
    bool bSiteMatched = false;
    const CSignRow* pSign = m_profile.FindSign(reading.m_strSign, reading.m_strSite, bCooling, bSiteMatched);
    if (pSign == nullptr) {
        Nowhere(rRow,
                "the profile has no row for " + QuoteForMessage(reading.m_strSign) + (bCooling ? " after cooling" : ""),
                true);
        return false;
    }
    if (!bSiteMatched) {
        Warn(reading.m_strPointer, "the profile has no row for site " + QuoteForMessage(reading.m_strSite) +
                                       "; written with the general " + QuoteForMessage(reading.m_strSign) + " row");
    }
    const std::string& strRow = reading.m_strRow.empty() ? pSign->m_strRow : reading.m_strRow;
    const int nRow = m_profile.FindRow(strRow);
    if (nRow < 0) {
        Nowhere(rRow, "the profile has no row " + QuoteForMessage(strRow), true);
        return false;
    }
    const CChartRow& row = m_profile.m_arrRows[static_cast<std::size_t>(nRow)];
    const LocalSeconds t = reading.m_time.ToLocal(m_profile.m_nUtcOffsetMinutes);
    if (!reading.m_time.HasTime() && (row.m_nKind == ERowKind::kSlot || row.m_nKind == ERowKind::kHalfDay)) {
        Nowhere(rRow, "gives no time of day, and row " + QuoteForMessage(strRow) + " is filled by time", true);
        return false;
    }
    if (reading.m_time.HasTime() ? !InStay(t) : !DayInStay(DayOf(t))) {
        Nowhere(rRow, "outside the stay (" + FormatLocalTime(m_admission) + " to " + FormatLocalTime(m_end) + ")",
                true);
        return false;
    }
    CPlacement placement;
    placement.m_nPage = PageOfDay(DayOf(t));
    placement.m_nRow = nRow;
    placement.m_nColumn = ColumnOf(row.m_nKind, t);
    placement.m_time = t;
    placement.m_nSource = nIndex;
    CDataTag& tag = placement.m_tag;
    tag.m_strName = strRow;
    tag.m_nCell = placement.m_nColumn;
    tag.m_nFlag = reading.m_nFlag >= 0 ? reading.m_nFlag : pSign->m_nFlag;
    if (!reading.m_bHasValue) {
        auto it = m_profile.m_mapReasons.find(reading.m_strReason);
        if (it == m_profile.m_mapReasons.end()) {
            Warn(ChildPointer(reading.m_strPointer, "reason"), "the profile has no word for the reason " +
                                                                   QuoteForMessage(reading.m_strReason) +
                                                                   "; the cell is left empty");
        } else {
            tag.m_strReason = it->second;
        }
        rRow.m_strNote = "not taken: " + reading.m_strReason + (tag.m_strReason.empty() ? "" : " " + tag.m_strReason);
    } else {
        std::string strWhy;
        if (!ValueText(reading, *pSign, tag.m_strValue, strWhy)) {
            Nowhere(rRow, strWhy, true);
            return false;
        }
        if (!reading.m_strComparator.empty()) tag.m_strComparator = reading.m_strComparator.substr(0, 1);
        rRow.m_strValue = tag.m_strComparator + tag.m_strValue;
    }
    rRow.m_nPage = placement.m_nPage + 1;
    rRow.m_nColumn = placement.m_nColumn;
    rRow.m_strRow = strRow;
    m_mapPlacedOf[nIndex] = m_arrPlaced.size();
    m_arrPlaced.push_back(placement);
    return true;
}

void CPageBuilder::PlaceReadings() {
    m_arrReadingRows.resize(m_document.m_arrReadings.size());
    for (std::size_t i = 0; i < m_document.m_arrReadings.size(); ++i) {
        const CReading& reading = m_document.m_arrReadings[i];
        CReportRow& row = m_arrReadingRows[i];
        row.m_strFile = m_document.m_strFile;
        row.m_strPointer = reading.m_strPointer;
        row.m_strWhat = Describe(reading);
        PlaceReading(reading, i, row);
    }
}

void CPageBuilder::LinkCooling() {
    std::unordered_map<std::string, std::size_t> mapIds;
    for (std::size_t i = 0; i < m_document.m_arrReadings.size(); ++i) {
        const std::string& strId = m_document.m_arrReadings[i].m_strId;
        if (!strId.empty()) mapIds.emplace(strId, i);
    }
    for (CPlacement& placement : m_arrPlaced) {
        const CReading& reading = m_document.m_arrReadings[placement.m_nSource];
        if (reading.m_strFollows.empty() || !placement.m_bWritten) continue;
        auto itId = mapIds.find(reading.m_strFollows);
        const CPlacement* pOriginal = nullptr;
        if (itId != mapIds.end()) {
            auto itPlaced = m_mapPlacedOf.find(itId->second);
            if (itPlaced != m_mapPlacedOf.end()) pOriginal = &m_arrPlaced[itPlaced->second];
        }
        std::string strWhy;
        if (pOriginal == nullptr || !pOriginal->m_bWritten) {
            strWhy = "the reading it follows is not on the chart";
        } else if (pOriginal->m_nPage != placement.m_nPage) {
            strWhy = "the reading it follows is on another page";
        } else if (pOriginal->m_tag.m_strValue.empty()) {
            strWhy = "the reading it follows has no value";
        }
        if (!strWhy.empty()) {
            Warn(ChildPointer(reading.m_strPointer, "follows"), strWhy + "; drawn without the link");
            m_arrReadingRows[placement.m_nSource].m_strNote = strWhy + "; no link";
            continue;
        }
        placement.m_tag.m_bLinked = true;
        placement.m_tag.m_strOriginalValue = pOriginal->m_tag.m_strValue;
        placement.m_tag.m_nOriginalCell = pOriginal->m_nColumn == placement.m_nColumn ? -1 : pOriginal->m_nColumn;
    }
}

void CPageBuilder::KeepPerCell() {
    // Header rows: each page shows the latest reading up to its end.
    // Other rows: a cell keeps all, the first or the last, as the row says.
    std::vector<std::size_t> arrOrder(m_arrPlaced.size());
    for (std::size_t i = 0; i < arrOrder.size(); ++i) arrOrder[i] = i;
    std::stable_sort(arrOrder.begin(), arrOrder.end(), [&](std::size_t a, std::size_t b) {
        const CPlacement& x = m_arrPlaced[a];
        const CPlacement& y = m_arrPlaced[b];
        return std::tie(x.m_nRow, x.m_nPage, x.m_nColumn, x.m_time) <
               std::tie(y.m_nRow, y.m_nPage, y.m_nColumn, y.m_time);
    });
    for (std::size_t nStart = 0; nStart < arrOrder.size();) {
        std::size_t nEnd = nStart + 1;
        const CPlacement& first = m_arrPlaced[arrOrder[nStart]];
        while (nEnd < arrOrder.size() && m_arrPlaced[arrOrder[nEnd]].m_nRow == first.m_nRow &&
               m_arrPlaced[arrOrder[nEnd]].m_nPage == first.m_nPage &&
               m_arrPlaced[arrOrder[nEnd]].m_nColumn == first.m_nColumn) {
            ++nEnd;
        }
        const CChartRow& row = m_profile.m_arrRows[static_cast<std::size_t>(first.m_nRow)];
        ESameCell nKeep = row.m_nKind == ERowKind::kHeader ? ESameCell::kLast : row.m_nSameCell;
        if (nKeep != ESameCell::kAll && nEnd - nStart > 1) {
            const std::size_t nKept = arrOrder[nKeep == ESameCell::kFirst ? nStart : nEnd - 1];
            for (std::size_t k = nStart; k < nEnd; ++k) {
                if (arrOrder[k] == nKept) continue;
                CPlacement& dropped = m_arrPlaced[arrOrder[k]];
                dropped.m_bWritten = false;
                CReportRow& report = m_arrReadingRows[dropped.m_nSource];
                report.m_strNote = "row " + QuoteForMessage(row.m_strName) + " keeps the " +
                                   (nKeep == ESameCell::kFirst ? "earliest" : "latest") +
                                   " reading of its cell (page " + std::to_string(report.m_nPage) + ", column " +
                                   std::to_string(report.m_nColumn) + "), " +
                                   m_document.m_arrReadings[m_arrPlaced[nKept].m_nSource].m_strPointer;
                report.m_nPage = 0;
            }
        }
        if (row.m_nKind == ERowKind::kHeader) {
            m_arrReadingRows[m_arrPlaced[arrOrder[nEnd - 1]].m_nSource].m_strNote =
                "column 0 of this page and the later ones, until a newer reading";
        }
        nStart = nEnd;
    }
}

std::string CPageBuilder::Age() const {
    const CPatient& patient = m_document.m_patient;
    if (!patient.m_strAge.empty() || !patient.m_bHasBirthDate) return patient.m_strAge;
    int by = 0;
    int bm = 0;
    int bd = 0;
    int ay = 0;
    int am = 0;
    int ad = 0;
    CivilFromDays(patient.m_nBirthDay, by, bm, bd);
    CivilFromDays(m_nFirstDay, ay, am, ad);
    if (patient.m_nBirthDay > m_nFirstDay) return std::string();
    const int nMonths = (ay - by) * 12 + (am - bm) - (ad < bd ? 1 : 0);
    if (nMonths >= 12) return std::to_string(nMonths / 12) + m_profile.m_strYears;
    if (nMonths >= 1) return std::to_string(nMonths) + m_profile.m_strMonths;
    return std::to_string(m_nFirstDay - patient.m_nBirthDay) + m_profile.m_strDays;
}

std::string CPageBuilder::HeaderValue(EHeaderField nField, int nPage) const {
    const CPatient& patient = m_document.m_patient;
    switch (nField) {
        case EHeaderField::kName:
            return patient.m_strName;
        case EHeaderField::kSex: {
            auto it = m_profile.m_mapSexWords.find(patient.m_strSex);
            return it == m_profile.m_mapSexWords.end() ? std::string() : it->second;
        }
        case EHeaderField::kAge:
            return Age();
        case EHeaderField::kWard:
        case EHeaderField::kBed: {
            // The placement in force on the page: a transfer shows from its page on.
            std::string strWard = patient.m_strWard;
            std::string strBed = patient.m_strBed;
            const int nOffset = m_profile.m_nUtcOffsetMinutes;
            for (std::size_t i : m_arrEventOrder) {
                const CStayEvent& event = m_document.m_arrEvents[i];
                const LocalSeconds t = event.m_time.ToLocal(nOffset);
                if (event.m_nKind != EEventKind::kTransfer || !InStay(t) || PageOfDay(DayOf(t)) > nPage) continue;
                if (event.m_bHasWard) strWard = event.m_strWard;
                if (event.m_bHasBed) strBed = event.m_strBed;
            }
            return nField == EHeaderField::kWard ? strWard : strBed;
        }
        case EHeaderField::kInpatientNumber:
            return patient.m_strInpatientNumber;
        case EHeaderField::kAdmissionDate:
            return FormatDay(m_nFirstDay);
        case EHeaderField::kPage:
            return std::to_string(nPage + 1);
        case EHeaderField::kHospital:
            return m_profile.m_strHospital;
        case EHeaderField::kAgeInDays:
            // Counted on the admission day, like the age.
            if (!patient.m_bHasBirthDate || patient.m_nBirthDay > m_nFirstDay) return std::string();
            return std::to_string(m_nFirstDay - patient.m_nBirthDay) + m_profile.m_strDays;
    }
    return std::string();
}

void CPageBuilder::Write(CDataTextWriter& rWriter, const CDataTag& tag, const std::string& strPointer) {
    if (!rWriter.Write(tag)) Error(strPointer, "holds a text a data text cannot carry");
}

void CPageBuilder::WritePage(int nPage, CDataTextWriter& rWriter) {
    const std::int64_t nPageFirstDay = m_nFirstDay + static_cast<std::int64_t>(nPage) * m_profile.m_nDaysPerPage;
    const std::int64_t nPageLastDay = std::min(m_nLastDay, nPageFirstDay + m_profile.m_nDaysPerPage - 1);
    for (const CHeaderEntry& entry : m_profile.m_arrHeader) {
        CDataTag tag;
        tag.m_strName = entry.m_strRow;
        tag.m_strValue = HeaderValue(entry.m_nField, nPage);
        if (!tag.m_strValue.empty()) Write(rWriter, tag, "/patient");
    }
    // Header rows from readings: the latest reading up to this page.
    for (std::size_t nRow = 0; nRow < m_profile.m_arrRows.size(); ++nRow) {
        if (m_profile.m_arrRows[nRow].m_nKind != ERowKind::kHeader) continue;
        const CPlacement* pLatest = nullptr;
        for (const CPlacement& placement : m_arrPlaced) {
            if (placement.m_nRow != static_cast<int>(nRow) || !placement.m_bWritten || placement.m_nPage > nPage) {
                continue;
            }
            if (pLatest == nullptr || placement.m_time >= pLatest->m_time) pLatest = &placement;
        }
        if (pLatest != nullptr) {
            Write(rWriter, pLatest->m_tag, m_document.m_arrReadings[pLatest->m_nSource].m_strPointer);
        }
    }
    auto dayRow = [&](const std::string& strRow, auto text) {
        if (strRow.empty()) return;
        for (std::int64_t nDay = nPageFirstDay; nDay <= nPageLastDay; ++nDay) {
            CDataTag tag;
            tag.m_strName = strRow;
            tag.m_strValue = text(nDay);
            tag.m_nCell = static_cast<int>(nDay - nPageFirstDay);
            if (!tag.m_strValue.empty()) Write(rWriter, tag, "");
        }
    };
    dayRow(m_profile.m_strDateRow,
           [&](std::int64_t nDay) { return m_profile.m_dateFormat.Format(nDay, nDay == nPageFirstDay); });
    dayRow(m_profile.m_strHospitalDayRow, [&](std::int64_t nDay) { return std::to_string(nDay - m_nFirstDay + 1); });
    dayRow(m_profile.m_strSurgeryRow,
           [&](std::int64_t nDay) { return m_profile.m_surgery.TextFor(nDay, m_arrOperationDays); });
    dayRow(m_profile.m_strDayOfLifeRow, [&](std::int64_t nDay) {
        const CPatient& patient = m_document.m_patient;
        if (!patient.m_bHasBirthDate || nDay < patient.m_nBirthDay) return std::string();
        return std::to_string(nDay - patient.m_nBirthDay + m_profile.m_nDayOfLifeFrom);
    });
    for (const CPlacement& event : m_arrEvents) {
        if (event.m_nPage == nPage) Write(rWriter, event.m_tag, m_document.m_arrEvents[event.m_nSource].m_strPointer);
    }
    // Curves column by column, so each is drawn in time order; text rows row by row.
    std::vector<const CPlacement*> arrSlot;
    std::vector<const CPlacement*> arrOther;
    for (const CPlacement& placement : m_arrPlaced) {
        if (placement.m_nPage != nPage || !placement.m_bWritten) continue;
        const ERowKind nKind = m_profile.m_arrRows[static_cast<std::size_t>(placement.m_nRow)].m_nKind;
        if (nKind == ERowKind::kSlot) {
            arrSlot.push_back(&placement);
        } else if (nKind != ERowKind::kHeader) {
            arrOther.push_back(&placement);
        }
    }
    std::stable_sort(arrSlot.begin(), arrSlot.end(), [](const CPlacement* a, const CPlacement* b) {
        return std::tie(a->m_nColumn, a->m_nRow, a->m_time) < std::tie(b->m_nColumn, b->m_nRow, b->m_time);
    });
    std::stable_sort(arrOther.begin(), arrOther.end(), [](const CPlacement* a, const CPlacement* b) {
        return std::tie(a->m_nRow, a->m_nColumn, a->m_time) < std::tie(b->m_nRow, b->m_nColumn, b->m_time);
    });
    for (const auto* pList : {&arrSlot, &arrOther}) {
        for (const CPlacement* p : *pList) {
            Write(rWriter, p->m_tag, m_document.m_arrReadings[p->m_nSource].m_strPointer);
        }
    }
}

void CPageBuilder::WritePages() {
    for (int nPage = 0; nPage < m_nPages; ++nPage) {
        CDataTextWriter writer;
        WritePage(nPage, writer);
        m_rOut.m_arrPages.push_back(writer.GetText());
    }
}

void CPageBuilder::Report() {
    for (CReportRow& row : m_arrReadingRows) m_rOut.m_arrReport.push_back(std::move(row));
    for (const CSkippedEntry& skipped : m_document.m_arrSkipped) {
        CReportRow row;
        row.m_strFile = m_document.m_strFile;
        row.m_strPointer = skipped.m_strPointer;
        row.m_strWhat = skipped.m_strWhat;
        row.m_strNote = skipped.m_strWhy;
        if (skipped.m_bWarning) Warn(skipped.m_strPointer, skipped.m_strWhy);
        m_rOut.m_arrReport.push_back(std::move(row));
    }
}

bool CPageBuilder::Run() {
    if (m_profile.m_slots.GetSlotCount() == 0 || m_profile.m_nDaysPerPage < 1) {
        Error("", "the profile has no time slots or no days per page");
        return false;
    }
    if (!FindStay()) return false;
    const std::string& strSex = m_document.m_patient.m_strSex;
    for (const CHeaderEntry& entry : m_profile.m_arrHeader) {
        if (entry.m_nField == EHeaderField::kSex && !strSex.empty() && m_profile.m_mapSexWords.count(strSex) == 0) {
            Warn("/patient/sex", "the profile has no word for the sex " + QuoteForMessage(strSex));
        }
    }
    PlaceEvents();
    PlaceReadings();
    KeepPerCell();
    LinkCooling();
    Report();
    WritePages();
    return !m_bFailed;
}

}  // namespace

bool CPaginator::Paginate(const CReadingsDocument& document, const CHospitalProfile& profile, bool bStrict,
                          CPagination& rOut) {
    rOut = CPagination();
    CPageBuilder builder(document, profile, bStrict, rOut);
    const bool bOk = builder.Run();
    if (!bOk) rOut.m_arrPages.clear();
    return bOk;
}

}  // namespace vitalchart::clinical
