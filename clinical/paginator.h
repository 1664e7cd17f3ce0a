#pragma once

#include <string>
#include <vector>

#include "clinical/diagnostic.h"
#include "clinical/hospital_profile.h"
#include "clinical/readings_document.h"
#include "clinical/report.h"

namespace vitalchart::clinical {

// Longest stay paginated, in days (ten years and a little).
constexpr int kMaxStayDays = 3660;

// The pages of a stay and the account of where everything went.
struct CPagination {
    // One data text per page, UTF-8, the first page first.
    std::vector<std::string> m_arrPages;
    // Every event and reading of the document, and every skipped entry.
    std::vector<CReportRow> m_arrReport;
    // Warnings, and the errors that stopped pagination.
    std::vector<CDiagnostic> m_arrDiagnostics;
};

// Lays a stay out on the pages of a hospital's chart: pages of the profile's
// days counted from the admission day, each a data text with the header
// fields, the date, hospital-day and days-after-surgery rows, the events with
// their worded times and every reading in its column. Readings the chart
// cannot take (outside the stay, no row in the profile, a unit that does not
// convert, ...) are warnings and appear in the report with the reason. With
// bStrict every warning is an error. False, with no pages, on an error.
class CPaginator {
public:
    static bool Paginate(const CReadingsDocument& document, const CHospitalProfile& profile, bool bStrict,
                         CPagination& rOut);
};

}  // namespace vitalchart::clinical
