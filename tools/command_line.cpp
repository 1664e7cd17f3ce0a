#include "tools/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "tools/command_options.h"
#include "tools/message_capture.h"
#include "tools/verbs.h"

namespace vitalchart {
namespace cli {

namespace {

bool IsOptionLike(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

// The long names of the verb's options but help, as "--a, --b and --c".
std::string OptionList(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::Option* pOption : app.get_options()) {
        if (pOption->check_lname("help") || pOption->get_lnames().empty()) continue;
        names.push_back("--" + pOption->get_lnames().front());
    }
    std::string strList;
    for (std::size_t i = 0; i < names.size(); ++i) {
        strList += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return strList;
}

// An option this verb does not know; when another verb knows it, the message
// says what this verb takes instead.
std::string UnknownOption(const VerbEntry& verb, const CLI::App& app, const std::string& arg) {
    const std::string strList = OptionList(app);
    if (strList.empty()) return "unknown option " + arg;
    const std::string strName = arg.substr(0, arg.find('='));
    for (const VerbEntry& other : Verbs()) {
        if (&other == &verb) continue;
        CommandLine scratch;
        CLI::App otherApp;
        ConfigureParser(otherApp, other, scratch);
        if (otherApp.get_option_no_throw(strName) != nullptr) {
            return verb.names.front() + " takes only " + strList;
        }
    }
    return "unknown option " + arg;
}

// The arguments no option took, in order: the operand, or a mistake.
bool SettleOperands(const VerbEntry& verb, const CLI::App& app, CommandLine& rLine, std::string& rError) {
    const bool bManifest = verb.nOperand == EOperand::kManifest;
    const char* pszWhat = verb.nOperand == EOperand::kTemplate ? "template"
                          : bManifest                          ? "manifest"
                                                               : "readings document";
    std::string& rOperand = verb.nOperand == EOperand::kTemplate ? rLine.strTemplate
                            : bManifest                          ? rLine.archive.strManifest
                                                                 : rLine.strReadings;
    for (const std::string& arg : app.remaining()) {
        if (IsOptionLike(arg)) {
            rError = UnknownOption(verb, app, arg);
            return false;
        }
        if (verb.nOperand == EOperand::kNone) {
            rError = "unexpected argument '" + arg + "'";
            return false;
        }
        if (!rOperand.empty()) {
            rError = std::string("more than one ") + pszWhat + " given: " + arg;
            return false;
        }
        rOperand = arg;
    }
    if (verb.nOperand == EOperand::kTemplate && rLine.strTemplate.empty()) {
        rError = "no template given";
        return false;
    }
    if (bManifest && rOperand.empty()) {
        rError = "no manifest given";
        return false;
    }
    return true;
}

// The readings' options go together: one source of readings, a profile to
// lay them out, and no data texts beside them.
bool SettleReadings(const VerbEntry& verb, const CommandLine& line, std::string& rError) {
    if (!line.strReadings.empty() && !line.strFhir.empty()) {
        rError = verb.nOperand == EOperand::kReadings ? "give a readings document or --fhir BUNDLE, not both"
                                                      : "give --readings or --fhir, not both";
    } else if (verb.nOperand == EOperand::kReadings && !line.HasReadings()) {
        rError = "no readings given: a readings document, or --fhir BUNDLE";
    } else if (line.HasReadings() && !line.dataFiles.empty()) {
        rError = "--data and readings both give the pages; give one of them";
    } else if (line.HasReadings() && line.strProfile.empty()) {
        rError = "readings need --profile PROFILE, the hospital's rules for laying them out";
    } else if (!line.strMap.empty() && line.strFhir.empty()) {
        rError = "--map is the mapping table of a FHIR bundle; it needs --fhir BUNDLE";
    } else if (!line.HasReadings() && !line.strProfile.empty()) {
        rError = "--profile needs --readings or --fhir";
    }
    return rError.empty();
}
}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& rLine, std::string& rError) {
    rLine = CommandLine();
    if (args.empty()) {
        rError = "no command given (try --help)";
        return false;
    }
    const VerbEntry* pVerb = FindVerb(args[0]);
    if (pVerb == nullptr) {
        rError = "unknown command '" + args[0] + "' (try --help)";
        return false;
    }
    rLine.pVerb = pVerb;
    rLine.args = args;
    if (pVerb->pfnOptions == nullptr) return true;

    CLI::App app;
    ConfigureParser(app, *pVerb, rLine);
    // The parser takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend() - 1);
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        rLine = CommandLine();
        rLine.pVerb = &HelpVerb();
        return true;
    } catch (const CCommandLineError& error) {
        rError = error.what();
        return false;
    } catch (const CLI::ArgumentMismatch& error) {
        // Only an option at the very end runs out of values.
        const std::string& strLast = args.back();
        rError = IsOptionLike(strLast) && strLast.find('=') == std::string::npos
                     ? "option " + strLast + " needs a value"
                     : std::string(error.what());
        return false;
    } catch (const CLI::Error& error) {
        rError = error.what();
        return false;
    }
    return SettleOperands(*pVerb, app, rLine, rError) && SettleReadings(*pVerb, rLine, rError);
}

const char* FormatName(Format format) {
    switch (format) {
        case Format::kTrace:
            return "trace";
        case Format::kPng:
            return "png";
        case Format::kPdf:
            return "pdf";
        case Format::kSvg:
            return "svg";
        case Format::kText:
            return "text";
        case Format::kJson:
            return "json";
    }
    return "";
}

std::optional<Format> ResolveFormat(const CommandLine& line, std::string& rError) {
    if (line.format) return line.format;
    if (line.OutputIsStdout()) return Format::kTrace;
    const std::string& strOut = *line.output;
    std::size_t nSlash = strOut.find_last_of('/');
    std::size_t nDot = strOut.find_last_of('.');
    std::string strExt;
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash)) strExt = strOut.substr(nDot + 1);
    for (char& c : strExt) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (Format format : {Format::kTrace, Format::kPng, Format::kPdf, Format::kSvg}) {
        if (strExt == FormatName(format)) return format;
    }
    rError = "cannot tell the format from '" + strOut + "'; use --format png|pdf|svg|trace";
    return std::nullopt;
}

void Note(const std::string& strMessage) {
    if (!CMessageCapture::Capture(strMessage)) std::cerr << "vitalchart: " << strMessage << "\n";
}

int Fail(const std::string& strMessage) {
    if (!CMessageCapture::Capture(strMessage)) std::cerr << "vitalchart: " << strMessage << "\n";
    return 2;
}

}  // namespace cli
}  // namespace vitalchart
