#include "tools/command_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>
#include <utility>

#include "tools/option_adders.h"
#include "tools/template_checker.h"
#include "tools/verbs.h"
#include "vitalchart/surface/cairo_dc.h"

namespace vitalchart {
namespace cli {

namespace {

// A whole decimal int, nothing before or after it.
bool ParseWholeInt(const std::string& str, int& rValue) {
    const char* first = str.data();
    const char* last = str.data() + str.size();
    if (first != last && *first == '+') ++first;
    auto result = std::from_chars(first, last, rValue);
    return result.ec == std::errc() && result.ptr == last && first != last;
}

bool ParseRatio(const std::string& str, ScalePair& rPair) {
    std::size_t nSlash = str.find('/');
    if (nSlash == std::string::npos) return false;
    return ParseWholeInt(str.substr(0, nSlash), rPair.nNum) && ParseWholeInt(str.substr(nSlash + 1), rPair.nDen) &&
           rPair.nDen != 0;
}

bool ParseRect(const std::string& str, RECT& rRect) {
    int values[4];
    std::size_t nStart = 0;
    for (int i = 0; i < 4; ++i) {
        std::size_t nComma = i < 3 ? str.find(',', nStart) : str.size();
        if (nComma == std::string::npos) return false;
        if (!ParseWholeInt(str.substr(nStart, nComma - nStart), values[i])) return false;
        nStart = nComma + 1;
    }
    rRect = {values[0], values[1], values[2], values[3]};
    return true;
}

// An option naming a file or folder: an empty name is refused rather than
// read as the option left out.
void AddPath(CLI::App& app, const char* pszName, const char* pszValue, const char* pszHelp, std::string& rPath) {
    const std::string strName = std::string(pszName).substr(0, std::string(pszName).find(','));
    AddValue(app, pszName, pszValue, pszHelp, [&rPath, strName, pszValue](const std::string& strValue) {
        if (strValue.empty()) Refuse(strName + " wants " + pszValue + ", not an empty name");
        rPath = strValue;
    });
}

void AddScale(CLI::App& app, const char* pszName, const char* pszHelp, std::optional<ScalePair>& rScale) {
    const std::string strName = pszName;
    AddValue(app, pszName, "NUM/DEN", pszHelp, [&rScale, strName](const std::string& strValue) {
        ScalePair pair;
        if (!ParseRatio(strValue, pair)) {
            Refuse(strName + " wants NUM/DEN with a non-zero denominator, not '" + strValue + "'");
        }
        rScale = pair;
    });
}

}  // namespace

void ConfigureParser(CLI::App& app, const VerbEntry& verb, CommandLine& rLine) {
    app.set_help_flag();
    app.allow_extras();
    app.add_flag_callback("-h,--help", [] { throw CLI::CallForHelp(); })->trigger_on_parse();
    if (verb.pfnOptions != nullptr) verb.pfnOptions(app, rLine);
}

void AddDataOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--data", "FILE", "data text with the readings; each one is a page (none: the empty form)",
             [&rLine](const std::string& strValue) { rLine.dataFiles.push_back(strValue); });
}

void AddOutputOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "-o,--output", "FILE",
             "output file; '-' or absent: the trace on standard output\n"
             "several pages: chart-1.png, chart-2.png, ... (a PDF holds them all)",
             [&rLine](const std::string& strValue) { rLine.output = strValue; });
}

void AddDrawingFormatOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--format", "F", "png, pdf, svg or trace (default: from the -o extension)",
             [&rLine](const std::string& strValue) {
                 for (Format format : {Format::kTrace, Format::kPng, Format::kPdf, Format::kSvg}) {
                     if (strValue == FormatName(format)) {
                         rLine.format = format;
                         return;
                     }
                 }
                 Refuse("unknown format '" + strValue + "' (known: png, pdf, svg, trace)");
             });
}

void AddCheckFormatOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--format", "F", "text or json (default: text)", [&rLine](const std::string& strValue) {
        for (Format format : {Format::kText, Format::kJson}) {
            if (strValue == FormatName(format)) {
                rLine.format = format;
                return;
            }
        }
        Refuse("unknown format '" + strValue + "' for check (known: text, json)");
    });
}

void AddLayoutFormatOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--format", "F", "text, json, or svg: the chart with the elements' boxes (default: text)",
             [&rLine](const std::string& strValue) {
                 for (Format format : {Format::kText, Format::kJson, Format::kSvg}) {
                     if (strValue == FormatName(format)) {
                         rLine.format = format;
                         return;
                     }
                 }
                 Refuse("unknown format '" + strValue + "' for layout (known: text, json, svg)");
             });
}

void AddInitOptions(CLI::App& app, CommandLine& rLine) {
    using Parse = bool (*)(const std::string&, ChartRequest&, std::string&);
    auto add = [&app, &rLine](const char* pszName, const char* pszValue, const char* pszHelp, Parse pfnParse) {
        AddValue(app, pszName, pszValue, pszHelp, [&rLine, pfnParse](const std::string& strValue) {
            std::string strError;
            if (!pfnParse(strValue, rLine.chartRequest, strError)) Refuse(strError);
        });
    };
    AddValue(app, "-o,--output", "FILE", "the template to write; the sample data text goes beside it as FILE.data",
             [&rLine](const std::string& strValue) { rLine.output = strValue; });
    add("--paper", "P", "A4 (default), A3, B5 or WIDTHxHEIGHT in millimetres", ParsePaper);
    add("--days", "N", "days a page (default 7)", ParseDays);
    add("--times", "H,H,...", "hours of a day's time points (default 2,6,10,14,18,22)", ParseTimes);
    add("--scale", "NAME:LOW:HIGH",
        "temperature, pulse or heart-rate and its range; repeat for each\n"
        "(default temperature:35:42 and pulse:20:180)",
        ParseScale);
    add("--rows", "ROW,...",
        "rows under the grid: respiration, blood-pressure, intake, output, stools,\n"
        "urine, weight, height, skin-test, pain (default the first seven)",
        ParseRows);
    add("--lang", "L", "zh (default) or en", ParseLanguage);
}

void AddDrawingOptions(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--rect", "L,T,R,B", "chart rectangle in device units (default: the declared size)",
             [&rLine](const std::string& strValue) {
                 RECT rect;
                 if (!ParseRect(strValue, rect)) {
                     Refuse("--rect wants LEFT,TOP,RIGHT,BOTTOM as integers, not '" + strValue + "'");
                 }
                 rLine.rect = rect;
             });
    AddValue(app, "--dpi", "N",
             "device units per inch; both scale pairs become N/96\n"
             "(default 600 for pdf, else 96)",
             [&rLine](const std::string& strValue) {
                 int nDpi = 0;
                 if (!ParseWholeInt(strValue, nDpi) || nDpi <= 0) {
                     Refuse("--dpi wants a positive integer, not '" + strValue + "'");
                 }
                 rLine.dpi = nDpi;
             });
    AddScale(app, "--scale-x", "horizontal scale pair (wins over --dpi)", rLine.scaleX);
    AddScale(app, "--scale-y", "vertical scale pair (wins over --dpi)", rLine.scaleY);
    AddFlag(app, "--print", "draw as on a printer (default for pdf)", [&rLine] { rLine.print = true; });
    AddFlag(app, "--screen", "draw as on a screen (default for png, svg and trace)", [&rLine] { rLine.print = false; });
    AddFlag(app, "--fill", "ask the plug-in to fill the rectangle black first (screen only)",
            [&rLine] { rLine.bFill = true; });
}

void AddEncodingOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--encoding", "E",
             "code page of the template and data texts: auto (default: utf-8 when\n"
             "all are valid UTF-8, else gbk), utf-8 or gbk",
             [&rLine](const std::string& strValue) {
                 if (strValue == "auto") {
                     rLine.codePage.reset();
                 } else if (strValue == "utf-8" || strValue == "utf8" || strValue == "UTF-8") {
                     rLine.codePage = CP_UTF8;
                 } else if (strValue == "gbk" || strValue == "GBK") {
                     rLine.codePage = CP_GBK;
                 } else {
                     Refuse("unknown encoding '" + strValue + "' (known: auto, utf-8, gbk)");
                 }
             });
}

void AddPngCompressionOption(CLI::App& app, CommandLine& rLine) {
    const std::string strMax = std::to_string(CCairoDC::kMaxPngCompression);
    const std::string strHelp = "PNG compression from 0 (fastest, largest file) to " + strMax +
                                " (smallest, slowest);\nthe same picture at every level (default " +
                                std::to_string(CCairoDC::kDefaultPngCompression) + ")";
    AddValue(app, "--png-compression", "N", strHelp.c_str(), [&rLine, strMax](const std::string& strValue) {
        int nLevel = 0;
        if (!ParseWholeInt(strValue, nLevel) || nLevel < 0 || nLevel > CCairoDC::kMaxPngCompression) {
            Refuse("--png-compression wants a whole number from 0 to " + strMax + ", not '" + strValue + "'");
        }
        rLine.pngCompression = nLevel;
    });
}

void AddReadingsOption(CLI::App& app, CommandLine& rLine) {
    AddPath(app, "--readings", "FILE", "readings document (JSON) to lay out with --profile, one page a data text",
            rLine.strReadings);
}

void AddFhirOptions(CLI::App& app, CommandLine& rLine) {
    AddPath(app, "--fhir", "BUNDLE", "FHIR R4 bundle (JSON) to lay out with --profile, instead of a readings document",
            rLine.strFhir);
    AddPath(app, "--map", "MAP", "mapping table of FHIR codes (default: the shipped profiles/fhir-map.json)",
            rLine.strMap);
}

void AddProfileOption(CLI::App& app, CommandLine& rLine) {
    AddPath(app, "--profile", "PROFILE", "hospital profile (JSON): time slots, pages, rows and wording",
            rLine.strProfile);
}

void AddStrictOption(CLI::App& app, CommandLine& rLine) {
    AddFlag(app, "--strict",
            "a warning is an error: a reading the chart cannot take (outside the stay,\n"
            "an unknown code or unit, ...), or a finding of vitalchart check; exit 2,\n"
            "no output file",
            [&rLine] { rLine.bStrict = true; });
}

void AddPageFileOptions(CLI::App& app, CommandLine& rLine) {
    AddPath(app, "--out-dir", "DIR", "folder of page-1.data, page-2.data, ... (default: the current folder)",
            rLine.strOutDir);
    AddFlag(app, "--report", "list every input with the page and column it went to, or why it went nowhere",
            [&rLine] { rLine.bReport = true; });
}

void AddJobsOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--jobs", "N",
             "pages drawn at once, each on a core of its own (default: one a core;\n"
             "1 draws them one after the other)",
             [&rLine](const std::string& strValue) {
                 int nJobs = 0;
                 if (!ParseWholeInt(strValue, nJobs) || nJobs <= 0) {
                     Refuse("--jobs wants a positive integer, not '" + strValue + "'");
                 }
                 rLine.jobs = nJobs;
             });
}

void AddDisableOption(CLI::App& app, CommandLine& rLine) {
    AddValue(app, "--disable", "CHECK",
             "leave out the findings of a check (repeat it, or name several\n"
             "with commas: --disable column-range,same-column)",
             [&rLine](const std::string& strValue) {
                 std::size_t nStart = 0;
                 for (;;) {
                     const std::size_t nComma = strValue.find(',', nStart);
                     const std::string strName = strValue.substr(nStart, nComma - nStart);
                     const std::vector<std::string>& names = CTemplateChecker::CheckNames();
                     if (std::find(names.begin(), names.end(), strName) == names.end()) {
                         const std::string strNear = CTemplateChecker::SuggestName(CP_UTF8, strName, names);
                         Refuse("--disable: no check is named '" + strName + "'" +
                                (strNear.empty() ? std::string() : " (did you mean '" + strNear + "'?)"));
                     }
                     rLine.disabledChecks.push_back(strName);
                     if (nComma == std::string::npos) return;
                     nStart = nComma + 1;
                 }
             });
}

void AddWatchOption(CLI::App& app, CommandLine& rLine) {
    AddFlag(app, "--watch",
            "draw again whenever the template or an input file is written, until\n"
            "interrupted; each drawing replaces the output whole",
            [&rLine] { rLine.bWatch = true; });
}

}  // namespace cli
}  // namespace vitalchart
