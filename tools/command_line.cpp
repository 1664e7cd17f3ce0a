#include "tools/command_line.h"

#include <charconv>
#include <climits>

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

bool ParseRatio(const std::string& str, int& rNum, int& rDen) {
    std::size_t nSlash = str.find('/');
    if (nSlash == std::string::npos) return false;
    return ParseWholeInt(str.substr(0, nSlash), rNum) && ParseWholeInt(str.substr(nSlash + 1), rDen) && rDen != 0;
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

}  // namespace

const char* UsageText() {
    return "usage: vitalchart size TEMPLATE\n"
           "       vitalchart render TEMPLATE [--data FILE]... [-o FILE] [--format png|pdf|svg|trace]\n"
           "              [--rect LEFT,TOP,RIGHT,BOTTOM] [--dpi N] [--scale-x NUM/DEN] [--scale-y NUM/DEN]\n"
           "              [--print|--screen] [--fill] [--encoding auto|utf-8|gbk]\n"
           "       vitalchart check TEMPLATE [--data FILE]... [--format text|json] [--encoding auto|utf-8|gbk]\n"
           "       vitalchart --help | --version\n"
           "\n"
           "size     prints the width and height in millimetres that the template declares\n"
           "render   draws the template and the readings of the data file\n"
           "check    explains what the renderer skips or misreads in the template and the data files\n"
           "         (exit 0: no warnings, 1: warnings, 2: a file cannot be read)\n"
           "\n"
           "  --data FILE        data text with the readings; each one is a page (none: the empty form)\n"
           "  -o FILE            output file; '-' or absent: the trace on standard output\n"
           "                     several pages: chart-1.png, chart-2.png, ... (a PDF holds them all)\n"
           "  --format F         png, pdf, svg or trace (default: from the -o extension)\n"
           "  --rect L,T,R,B     chart rectangle in device units (default: the declared size)\n"
           "  --dpi N            device units per inch; both scale pairs become N/96\n"
           "                     (default 600 for pdf, else 96)\n"
           "  --scale-x NUM/DEN  horizontal scale pair (wins over --dpi)\n"
           "  --scale-y NUM/DEN  vertical scale pair (wins over --dpi)\n"
           "  --print, --screen  draw as on a printer or a screen (default: print for pdf)\n"
           "  --fill             ask the plug-in to fill the rectangle black first (screen only)\n"
           "  --encoding E       code page of the template and data texts: auto (default: utf-8 when\n"
           "                     all are valid UTF-8, else gbk), utf-8 or gbk\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& rLine, std::string& rError) {
    rLine = CommandLine();
    if (args.empty()) {
        rError = "no command given (try --help)";
        return false;
    }
    const std::string& strVerb = args[0];
    if (strVerb == "--help" || strVerb == "-h" || strVerb == "help") {
        rLine.verb = Verb::kHelp;
        return true;
    }
    if (strVerb == "--version") {
        rLine.verb = Verb::kVersion;
        return true;
    }
    if (strVerb == "size") {
        rLine.verb = Verb::kSize;
    } else if (strVerb == "render") {
        rLine.verb = Verb::kRender;
    } else if (strVerb == "check") {
        rLine.verb = Verb::kCheck;
    } else {
        rError = "unknown command '" + strVerb + "' (try --help)";
        return false;
    }

    bool bDpi = false;
    bool bScaleX = false;
    bool bScaleY = false;
    int nDpi = 96;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& rValue) {
            if (i + 1 >= args.size()) {
                rError = "option " + arg + " needs a value";
                return false;
            }
            rValue = args[++i];
            return true;
        };
        std::string strValue;
        if (arg == "--help" || arg == "-h") {
            rLine.verb = Verb::kHelp;
            return true;
        }
        if (rLine.verb == Verb::kSize || arg.empty() || arg[0] != '-' || arg == "-") {
            if (arg.size() > 1 && arg[0] == '-') {
                rError = "unknown option " + arg;
                return false;
            }
            if (!rLine.strTemplate.empty()) {
                rError = "more than one template given: " + arg;
                return false;
            }
            rLine.strTemplate = arg;
            continue;
        }
        if (arg == "--data") {
            if (!value(strValue)) return false;
            rLine.dataFiles.push_back(strValue);
        } else if (arg == "-o" || arg == "--output") {
            if (!value(rLine.strOutput)) return false;
        } else if (arg == "--format" && rLine.verb == Verb::kCheck) {
            if (!value(strValue)) return false;
            if (strValue != "text" && strValue != "json") {
                rError = "unknown format '" + strValue + "' for check (known: text, json)";
                return false;
            }
            rLine.strFormat = strValue;
        } else if (arg == "--format") {
            if (!value(strValue)) return false;
            if (strValue != "trace" && strValue != "png" && strValue != "pdf" && strValue != "svg") {
                rError = "unknown format '" + strValue + "' (known: png, pdf, svg, trace)";
                return false;
            }
            rLine.strFormat = strValue;
        } else if (arg == "--rect") {
            if (!value(strValue)) return false;
            if (!ParseRect(strValue, rLine.rect)) {
                rError = "--rect wants LEFT,TOP,RIGHT,BOTTOM as integers, not '" + strValue + "'";
                return false;
            }
            rLine.bRect = true;
        } else if (arg == "--dpi") {
            if (!value(strValue)) return false;
            if (!ParseWholeInt(strValue, nDpi) || nDpi <= 0) {
                rError = "--dpi wants a positive integer, not '" + strValue + "'";
                return false;
            }
            bDpi = true;
        } else if (arg == "--scale-x" || arg == "--scale-y") {
            if (!value(strValue)) return false;
            int nNum = 0;
            int nDen = 0;
            if (!ParseRatio(strValue, nNum, nDen)) {
                rError = arg + " wants NUM/DEN with a non-zero denominator, not '" + strValue + "'";
                return false;
            }
            if (arg == "--scale-x") {
                rLine.nNumX = nNum;
                rLine.nDenX = nDen;
                bScaleX = true;
            } else {
                rLine.nNumY = nNum;
                rLine.nDenY = nDen;
                bScaleY = true;
            }
        } else if (arg == "--print") {
            rLine.nPrint = 1;
        } else if (arg == "--screen") {
            rLine.nPrint = 0;
        } else if (arg == "--fill") {
            rLine.bFill = true;
        } else if (arg == "--encoding") {
            if (!value(strValue)) return false;
            if (strValue == "auto") {
                rLine.nCodePage = 0;
            } else if (strValue == "utf-8" || strValue == "utf8" || strValue == "UTF-8") {
                rLine.nCodePage = CP_UTF8;
            } else if (strValue == "gbk" || strValue == "GBK") {
                rLine.nCodePage = CP_GBK;
            } else {
                rError = "unknown encoding '" + strValue + "' (known: auto, utf-8, gbk)";
                return false;
            }
        } else {
            rError = "unknown option " + arg;
            return false;
        }
    }
    if (rLine.strTemplate.empty()) {
        rError = "no template given";
        return false;
    }
    rLine.bDpi = bDpi;
    rLine.nDpi = nDpi;
    rLine.bScaleX = bScaleX;
    rLine.bScaleY = bScaleY;
    // The checker draws nothing: drawing options would be ignored without a word.
    if (rLine.verb == Verb::kCheck &&
        (!rLine.strOutput.empty() || bDpi || bScaleX || bScaleY || rLine.bRect || rLine.nPrint >= 0 || rLine.bFill)) {
        rError = "check takes only --data, --format and --encoding";
        return false;
    }
    if (rLine.verb == Verb::kRender) {
        std::string strFormat = ResolveFormat(rLine, rError);
        if (strFormat.empty()) return false;
        if (strFormat != "trace" && (rLine.strOutput.empty() || rLine.strOutput == "-")) {
            rError = strFormat + " output needs -o FILE";
            return false;
        }
    }
    return true;
}

std::string ResolveFormat(const CommandLine& line, std::string& rError) {
    if (!line.strFormat.empty()) return line.strFormat;
    const std::string& strOut = line.strOutput;
    if (strOut.empty() || strOut == "-") return "trace";
    std::size_t nSlash = strOut.find_last_of('/');
    std::size_t nDot = strOut.find_last_of('.');
    std::string strExt;
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash)) strExt = strOut.substr(nDot + 1);
    for (char& c : strExt) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (strExt == "png" || strExt == "pdf" || strExt == "svg" || strExt == "trace") return strExt;
    rError = "cannot tell the format from '" + strOut + "'; use --format png|pdf|svg|trace";
    return std::string();
}

}  // namespace cli
}  // namespace vitalchart
