#include "tools/verbs.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <utility>

#include "tools/archive_options.h"
#include "tools/batch_command.h"
#include "tools/check_command.h"
#include "tools/command_options.h"
#include "tools/init_command.h"
#include "tools/layout_command.h"
#include "tools/paginate_command.h"
#include "tools/render_command.h"
#include "tools/serve/serve_options.h"
#include "tools/serve_program.h"
#include "tools/size_command.h"

namespace vitalchart {
namespace cli {

namespace {

constexpr int kExitOk = 0;

void RenderOptions(CLI::App& app, CommandLine& rLine) {
    AddDataOption(app, rLine);
    AddReadingsOption(app, rLine);
    AddFhirOptions(app, rLine);
    AddProfileOption(app, rLine);
    AddStrictOption(app, rLine);
    AddOutputOption(app, rLine);
    AddDrawingFormatOption(app, rLine);
    AddDrawingOptions(app, rLine);
    AddEncodingOption(app, rLine);
    AddPngCompressionOption(app, rLine);
    AddJobsOption(app, rLine);
    AddDisableOption(app, rLine);
    AddPaperOptions(app, rLine);
    AddPdfFinishOptions(app, rLine);
    AddWatchOption(app, rLine);
}

void CheckOptions(CLI::App& app, CommandLine& rLine) {
    AddDataOption(app, rLine);
    AddCheckFormatOption(app, rLine);
    AddEncodingOption(app, rLine);
    AddDisableOption(app, rLine);
}

void LayoutOptions(CLI::App& app, CommandLine& rLine) {
    AddDataOption(app, rLine);
    AddOutputOption(app, rLine);
    AddLayoutFormatOption(app, rLine);
    AddDrawingOptions(app, rLine);
    AddEncodingOption(app, rLine);
}

void InitOptions(CLI::App& app, CommandLine& rLine) {
    AddInitOptions(app, rLine);
    AddEncodingOption(app, rLine);
}

void PaginateOptions(CLI::App& app, CommandLine& rLine) {
    AddFhirOptions(app, rLine);
    AddProfileOption(app, rLine);
    AddPageFileOptions(app, rLine);
    AddStrictOption(app, rLine);
}

void BatchOptions(CLI::App& app, CommandLine& rLine) {
    AddBatchOptions(app, rLine);
    AddPaperOptions(app, rLine);
    AddPdfFinishOptions(app, rLine);
    AddStrictOption(app, rLine);
}

void NoOptions(CLI::App&, CommandLine&) {}

int RunHelp(const CommandLine&) {
    std::cout << HelpText() << std::flush;
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}

int RunVersion(const CommandLine&) {
    std::cout << "vitalchart " << VITALCHART_VERSION << "\n" << std::flush;
    return std::cout ? kExitOk : Fail("cannot write to standard output");
}

// "-o, --output FILE": how an option is written, for the help text.
std::string OptionSynopsis(const CLI::Option& option) {
    std::string str;
    for (const std::string& strShort : option.get_snames()) str += (str.empty() ? "-" : ", -") + strShort;
    for (const std::string& strLong : option.get_lnames()) str += (str.empty() ? "--" : ", --") + strLong;
    if (option.get_type_size() != 0) str += " " + option.get_type_name();
    return str;
}

// Lines after the first indented to nIndent.
std::string Indented(const std::string& strText, std::size_t nIndent) {
    std::string str;
    for (char c : strText) {
        str += c;
        if (c == '\n') str.append(nIndent, ' ');
    }
    return str;
}

}  // namespace

const std::vector<VerbEntry>& Verbs() {
    static const std::vector<VerbEntry> verbs = {
        {{"size"},
         "TEMPLATE",
         "prints the width and height in millimetres that the template declares\n"
         "(exit 1: it declares none)",
         EOperand::kTemplate,
         NoOptions,
         RunSize},
        {{"render"},
         "TEMPLATE [--data FILE]... [-o FILE] [--format png|pdf|svg|trace]\n"
         "       [--readings FILE | --fhir BUNDLE [--map MAP]] [--profile PROFILE] [--strict]\n"
         "       [--rect LEFT,TOP,RIGHT,BOTTOM] [--dpi N] [--scale-x NUM/DEN] [--scale-y NUM/DEN]\n"
         "       [--print|--screen] [--fill] [--encoding auto|utf-8|gbk] [--png-compression N]\n"
         "       [--jobs N] [--disable CHECK]... [--watch] [--paper A4|A3|B5|16K|letter [--fit]]\n"
         "       [--pdfa 2b] [--title TEXT] [--subject TEXT] [--author TEXT]",
         "draws the template and the readings of the data files, or of the readings\n"
         "laid out by the profile (a page a data text, as paginate writes them)",
         EOperand::kTemplate,
         RenderOptions,
         RunRender},
        {{"check"},
         "TEMPLATE [--data FILE]... [--format text|json] [--encoding auto|utf-8|gbk]\n"
         "       [--disable CHECK]...",
         "explains what the renderer skips or misreads in the template and the data files\n"
         "(exit 0: no warnings, 1: warnings, 2: a file cannot be read)",
         EOperand::kTemplate,
         CheckOptions,
         RunCheck},
        {{"layout"},
         "TEMPLATE [--data FILE]... [--format text|json|svg] [-o FILE]\n"
         "       [--rect LEFT,TOP,RIGHT,BOTTOM] [--dpi N] [--scale-x NUM/DEN] [--scale-y NUM/DEN]\n"
         "       [--print|--screen] [--fill] [--encoding auto|utf-8|gbk]",
         "lists what each element of the template drew, by line: its box in device units\n"
         "and millimetres, its pen and font, its lines, markers and texts; svg draws the\n"
         "chart with every element's box over it, labelled with its line",
         EOperand::kTemplate,
         LayoutOptions,
         RunLayout},
        {{"init"},
         "-o FILE [--paper A4|A3|B5|WxH] [--days N] [--times H,H,...]\n"
         "       [--scale temperature|pulse|heart-rate:LOW:HIGH]... [--rows ROW,...] [--lang zh|en]\n"
         "       [--encoding utf-8|gbk]",
         "writes a new, commented chart template whose lines meet on whole device units\n"
         "at 96 and 600 dpi, and a sample data text beside it",
         EOperand::kNone,
         InitOptions,
         RunInit},
        {{"paginate"},
         "(READINGS | --fhir BUNDLE [--map MAP]) --profile PROFILE [--out-dir DIR]\n"
         "       [--report] [--strict]",
         "lays a readings document or a FHIR bundle out by a hospital profile into\n"
         "page-1.data, page-2.data, ... (exit 2: an input is wrong, nothing written)",
         EOperand::kReadings,
         PaginateOptions,
         RunPaginate},
        {{"batch"},
         "MANIFEST -o DIR [--jobs N] [--combined FILE.pdf] [--shard K/N|/N|auto]\n"
         "       [--paper A4|A3|B5|16K|letter [--fit]] [--pdfa 2b] [--title TEXT] [--subject TEXT]\n"
         "       [--author TEXT] [--strict]",
         "draws the chart of each line of the manifest (JSON lines) as a PDF in DIR; a\n"
         "chart whose PDF is there already is not drawn again (exit 1: a chart failed)",
         EOperand::kManifest,
         BatchOptions,
         RunBatch},
        {{"serve"},
         "--templates DIR [--profiles DIR] [--listen HOST:PORT] [--workers N] [--queue N]\n"
         "       [--max-body BYTES] [--time-limit MS]",
         "serves charts over HTTP: POST /v1/charts, GET /v1/templates, /healthz, /metrics\n"
         "and a web page at / (ends on SIGTERM once the requests in flight are answered)",
         EOperand::kNone,
         AddServeOptions,
         RunServeProgram},
        {{"--help", "-h", "help"}, "", "prints this text", EOperand::kNone, nullptr, RunHelp},
        {{"--version"}, "", "prints the version", EOperand::kNone, nullptr, RunVersion},
    };
    return verbs;
}

const VerbEntry* FindVerb(const std::string& strName) {
    for (const VerbEntry& verb : Verbs()) {
        if (std::find(verb.names.begin(), verb.names.end(), strName) != verb.names.end()) return &verb;
    }
    return nullptr;
}

const VerbEntry& HelpVerb() {
    return *FindVerb("--help");
}

std::string HelpText() {
    // Each verb's options as the parser declares them, so that none is missed.
    std::vector<std::vector<std::pair<std::string, std::string>>> options;
    std::size_t nNameWidth = 0;
    std::size_t nOptionWidth = 0;
    for (const VerbEntry& verb : Verbs()) {
        nNameWidth = std::max(nNameWidth, verb.names.front().size());
        options.emplace_back();
        if (verb.pfnOptions == nullptr) continue;
        CommandLine scratch;
        CLI::App app;
        ConfigureParser(app, verb, scratch);
        for (const CLI::Option* pOption : app.get_options()) {
            // (The help flag has no description.)
            if (pOption->get_description().empty()) continue;
            options.back().emplace_back(OptionSynopsis(*pOption), pOption->get_description());
            nOptionWidth = std::max(nOptionWidth, options.back().back().first.size());
        }
    }
    nNameWidth += 2;
    nOptionWidth += 4;

    std::string strText = "usage:";
    for (const VerbEntry& verb : Verbs()) {
        std::string strUsage = "vitalchart " + verb.names.front() + (*verb.pszUsage ? " " : "") + verb.pszUsage;
        strText += (&verb == &Verbs().front() ? " " : "       ") + Indented(strUsage, 7) + "\n";
    }
    // An option is described under the first verb that takes it.
    std::vector<std::pair<std::string, std::string>> described;
    for (std::size_t i = 0; i < Verbs().size(); ++i) {
        const VerbEntry& verb = Verbs()[i];
        std::string strName = verb.names.front();
        strName.resize(nNameWidth, ' ');
        // A blank line around each verb that lists options.
        if (i == 0 || !options[i].empty() || !options[i - 1].empty()) strText += "\n";
        strText += strName + Indented(verb.pszSummary, nNameWidth) + "\n";
        for (const auto& option : options[i]) {
            if (std::find(described.begin(), described.end(), option) != described.end()) continue;
            described.push_back(option);
            std::string strSynopsis = "  " + option.first;
            strSynopsis.resize(nOptionWidth, ' ');
            strText += strSynopsis + Indented(option.second, nOptionWidth) + "\n";
        }
    }
    return strText;
}

}  // namespace cli
}  // namespace vitalchart
