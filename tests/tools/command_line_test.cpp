// How the command line is read: which verb, which values, and the one-line
// message of each mistake.

#include "tools/command_line.h"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "tools/verbs.h"

namespace vitalchart {
namespace cli {
namespace {

// The parsed line in a few words, so that a row of the table can say what it expects.
std::string Describe(const CommandLine& line) {
    std::string str = line.pVerb->names.front();
    if (!line.strTemplate.empty()) str += " " + line.strTemplate;
    for (const std::string& strData : line.dataFiles) str += " data=" + strData;
    if (line.output) str += " out=" + *line.output;
    if (line.format) str += std::string(" format=") + FormatName(*line.format);
    if (line.rect) {
        const RECT& r = *line.rect;
        str += " rect=" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    }
    if (line.dpi) str += " dpi=" + std::to_string(*line.dpi);
    if (line.scaleX) str += " x=" + std::to_string(line.scaleX->nNum) + "/" + std::to_string(line.scaleX->nDen);
    if (line.scaleY) str += " y=" + std::to_string(line.scaleY->nNum) + "/" + std::to_string(line.scaleY->nDen);
    if (line.print) str += *line.print ? " print" : " screen";
    if (line.bFill) str += " fill";
    if (line.codePage) str += " cp=" + std::to_string(*line.codePage);
    return str;
}

struct Row {
    std::vector<std::string> args;
    std::string strExpected;  // Describe() of the line, or the error message
};

TEST(CommandLine, ReadsVerbsOptionsAndOperands) {
    const Row rows[] = {
        {{"size", "t.xml"}, "size t.xml"},
        {{"render", "-o", "x.pdf", "t.xml", "--format", "svg"}, "render t.xml out=x.pdf format=svg"},
        {{"render", "t.xml", "--data", "a", "--data", "b", "-o", "-"}, "render t.xml data=a data=b out=-"},
        // Values are taken as they stand, even when they look like options or negative numbers.
        {{"render", "t.xml", "--data", "--fill"}, "render t.xml data=--fill"},
        {{"render", "t.xml", "--rect", "-5,0,+100,200", "--scale-x", "-3/2"}, "render t.xml rect=-5,0,100,200 x=-3/2"},
        {{"render", "-"}, "render -"},
        // The last of a repeated option or of --print and --screen counts.
        {{"render", "t.xml", "--print", "--screen"}, "render t.xml screen"},
        {{"render", "t.xml", "--screen", "--print", "--fill"}, "render t.xml print fill"},
        {{"render", "t.xml", "--dpi", "100", "--dpi", "+200", "--scale-y", "5/4"}, "render t.xml dpi=200 y=5/4"},
        {{"render", "t.xml", "--encoding", "gbk", "--encoding", "auto"}, "render t.xml"},
        {{"check", "t.xml", "--format", "json", "--encoding", "utf-8"}, "check t.xml format=json cp=65001"},
        {{"check", "t.xml", "--encoding", "GBK"}, "check t.xml cp=936"},
        // Help wins wherever it stands once the values before it are sound.
        {{"render", "t.xml", "--dpi", "300", "-h", "--frobnicate"}, "--help"},
        {{"size", "--help"}, "--help"},
        {{"help"}, "--help"},
        {{"--help", "render"}, "--help"},
        {{"--version", "extra"}, "--version"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        CommandLine line;
        std::string strError;
        ASSERT_TRUE(ParseCommandLine(row.args, line, strError)) << strError;
        EXPECT_EQ(Describe(line), row.strExpected);
    }
}

TEST(CommandLine, NamesEachMistakeInOneLine) {
    const Row rows[] = {
        {{}, "no command given (try --help)"},
        {{"paint", "t.xml"}, "unknown command 'paint' (try --help)"},
        {{"render"}, "no template given"},
        {{"render", "a.xml", "b.xml"}, "more than one template given: b.xml"},
        {{"render", "t.xml", "--frobnicate"}, "unknown option --frobnicate"},
        {{"render", "t.xml", "-5"}, "unknown option -5"},
        {{"size", "t.xml", "--data", "d"}, "unknown option --data"},
        {{"render", "t.xml", "-o"}, "option -o needs a value"},
        {{"check", "t.xml", "--format"}, "option --format needs a value"},
        {{"render", "t.xml", "--dpi", "0"}, "--dpi wants a positive integer, not '0'"},
        {{"render", "t.xml", "--dpi", "96dpi"}, "--dpi wants a positive integer, not '96dpi'"},
        {{"render", "t.xml", "--rect", "1,2,3"}, "--rect wants LEFT,TOP,RIGHT,BOTTOM as integers, not '1,2,3'"},
        {{"render", "t.xml", "--scale-y", "2/0"}, "--scale-y wants NUM/DEN with a non-zero denominator, not '2/0'"},
        {{"render", "t.xml", "--format", "bmp"}, "unknown format 'bmp' (known: png, pdf, svg, trace)"},
        {{"render", "t.xml", "--encoding", "latin1"}, "unknown encoding 'latin1' (known: auto, utf-8, gbk)"},
        {{"check", "t.xml", "--format", "png"}, "unknown format 'png' for check (known: text, json)"},
        // The checker draws nothing: drawing options would be ignored without a word.
        {{"check", "t.xml", "-o", "out.png"}, "check takes only --data, --format, --encoding and --disable"},
        {{"check", "t.xml", "--print"}, "check takes only --data, --format, --encoding and --disable"},
        // Readings come from one source, with a profile, and never beside data texts.
        {{"paginate", "--profile", "p.json"}, "no readings given: a readings document, or --fhir BUNDLE"},
        {{"paginate", "r.json", "--fhir", "b.json", "--profile", "p"},
         "give a readings document or --fhir BUNDLE, not both"},
        {{"paginate", "r.json"}, "readings need --profile PROFILE, the hospital's rules for laying them out"},
        {{"render", "t.xml", "--readings", "r", "--data", "d", "--profile", "p"},
         "--data and readings both give the pages; give one of them"},
        {{"render", "t.xml", "--readings", "r", "--map", "m", "--profile", "p"},
         "--map is the mapping table of a FHIR bundle; it needs --fhir BUNDLE"},
        {{"render", "t.xml", "--profile", "p"}, "--profile needs --readings or --fhir"},
        {{"render", "t.xml", "--readings", ""}, "--readings wants FILE, not an empty name"},
        // The first mistake on the line is the one reported.
        {{"render", "t.xml", "--dpi", "x", "--rect", "y"}, "--dpi wants a positive integer, not 'x'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        CommandLine line;
        std::string strError;
        EXPECT_FALSE(ParseCommandLine(row.args, line, strError));
        EXPECT_EQ(strError, row.strExpected);
    }
}

TEST(CommandLine, FormatComesFromTheOutputName) {
    const struct {
        const char* pszOutput;
        const char* pszFormat;  // null: no format
    } rows[] = {
        {"-", "trace"},       {"chart.PNG", "png"}, {"a.b/chart.pdf", "pdf"},   {"x.svg", "svg"},
        {"x.trace", "trace"}, {"x.bmp", nullptr},   {"dir.png/chart", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszOutput);
        CommandLine line;
        line.output = row.pszOutput;
        std::string strError;
        const std::optional<Format> format = ResolveFormat(line, strError);
        EXPECT_EQ(format ? FormatName(*format) : "", std::string(row.pszFormat ? row.pszFormat : ""));
        EXPECT_EQ(strError.empty(), row.pszFormat != nullptr) << strError;
    }
}

TEST(CommandLine, HelpListsEveryVerbAndOption) {
    const std::string strHelp = HelpText();
    for (const VerbEntry& verb : Verbs()) {
        EXPECT_NE(strHelp.find("vitalchart " + verb.names.front()), std::string::npos) << verb.names.front();
        if (verb.pfnOptions == nullptr) continue;
        CommandLine scratch;
        CLI::App app;
        verb.pfnOptions(app, scratch);
        for (const CLI::Option* pOption : app.get_options()) {
            for (const std::string& strName : pOption->get_lnames()) {
                EXPECT_NE(strHelp.find("--" + strName), std::string::npos) << strName;
            }
        }
    }
}

}  // namespace
}  // namespace cli
}  // namespace vitalchart
