#include "tools/serve/chart_query.h"

#include <charconv>
#include <set>

#include "tools/paper.h"

namespace vitalchart {
namespace cli {

namespace {

// A whole decimal number within [nMin, nMax], nothing before or after it.
bool ParseBounded(const std::string& str, int nMin, int nMax, int& rValue) {
    const char* first = str.data();
    const char* last = str.data() + str.size();
    int nValue = 0;
    const auto result = std::from_chars(first, last, nValue);
    if (result.ec != std::errc() || result.ptr != last || first == last) return false;
    if (nValue < nMin || nValue > nMax) return false;
    rValue = nValue;
    return true;
}

// A parameter's value as a message quotes it: short, and one line.
std::string Quoted(const std::string& str) {
    std::string strOut = "'";
    for (std::size_t i = 0; i < str.size() && i < 40; ++i) {
        const auto c = static_cast<unsigned char>(str[i]);
        strOut += c < 0x20 || c == 0x7F ? '?' : str[i];
    }
    return strOut + (str.size() > 40 ? "...'" : "'");
}

}  // namespace

bool ParseChartQuery(const FieldList& params, ChartQuery& rQuery, std::string& rError) {
    rQuery = ChartQuery();
    std::set<std::string> seen;
    bool bFormat = false;
    for (const auto& [strName, strValue] : params) {
        if (!seen.insert(strName).second) {
            rError = "the parameter " + Quoted(strName) + " is given more than once";
            return false;
        }
        int nValue = 0;
        if (strName == "template") {
            rQuery.strTemplate = strValue;
        } else if (strName == "profile") {
            rQuery.strProfile = strValue;
        } else if (strName == "format") {
            for (Format format : {Format::kPdf, Format::kPng, Format::kSvg, Format::kTrace}) {
                if (strValue == FormatName(format)) {
                    rQuery.format = format;
                    bFormat = true;
                }
            }
            if (!bFormat) {
                rError = "format " + Quoted(strValue) + " is none of pdf, png, svg and trace";
                return false;
            }
        } else if (strName == "page") {
            if (!ParseBounded(strValue, 1, 1 << 20, nValue)) {
                rError = "page " + Quoted(strValue) + " is not a page number from 1";
                return false;
            }
            rQuery.page = nValue;
        } else if (strName == "dpi") {
            if (!ParseBounded(strValue, kMinQueryDpi, kMaxQueryDpi, nValue)) {
                rError = "dpi " + Quoted(strValue) + " is not a whole number from " + std::to_string(kMinQueryDpi) +
                         " to " + std::to_string(kMaxQueryDpi);
                return false;
            }
            rQuery.dpi = nValue;
        } else if (strName == "print") {
            if (strValue != "0" && strValue != "1") {
                rError = "print " + Quoted(strValue) + " is neither 0 nor 1";
                return false;
            }
            rQuery.print = strValue == "1";
        } else if (strName == "paper") {
            if (FindPaper(strValue) == nullptr) {
                rError = "paper " + Quoted(strValue) + " is none of " + PaperNames();
                return false;
            }
            rQuery.strPaper = strValue;
        } else if (strName == "fit") {
            if (strValue != "0" && strValue != "1") {
                rError = "fit " + Quoted(strValue) + " is neither 0 nor 1";
                return false;
            }
            rQuery.bFit = strValue == "1";
        } else {
            rError = "unknown parameter " + Quoted(strName) +
                     " (known: template, format, page, dpi, print, profile, paper, fit)";
            return false;
        }
    }
    if (rQuery.strTemplate.empty()) {
        rError = "the parameter 'template' is missing";
        return false;
    }
    if (!bFormat) {
        rError = "the parameter 'format' is missing (pdf, png, svg or trace)";
        return false;
    }
    if (rQuery.bFit && rQuery.strPaper.empty()) {
        rError = "fit shrinks the chart onto a sheet of paper; give paper";
        return false;
    }
    return true;
}

}  // namespace cli
}  // namespace vitalchart
