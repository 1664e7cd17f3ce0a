// Writes the hostile fuzz inputs that are too large or too many to keep in the
// repository: lines cut at every offset, megabyte values, lines and element
// runs, quadratic template and data combinations, and the bundled chart in
// every header variant.
//
//   fuzz_make_corpus OUT_DIR EXAMPLES_DIR
//
// Creates OUT_DIR/<target>/ for every fuzz target; the layout of a drawing
// input is described in draw_case.h. No input exceeds 1 MiB, the most that
// libFuzzer reads whole.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/draw_case.h"
#include "tests/support/file_text.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxInput = 1u << 20;
// A megabyte input, with room for the header and a few lines around it.
constexpr std::size_t kMegabyte = 1000000;

std::string g_strOut;
int g_nWritten = 0;

void Write(const std::string& strTarget, const std::string& strName, const std::string& strBytes) {
    if (strBytes.size() > kMaxInput) {
        std::fprintf(stderr, "make_corpus: %s/%s is %zu bytes, above 1 MiB\n", strTarget.c_str(), strName.c_str(),
                     strBytes.size());
        std::exit(1);
    }
    fs::path dir = fs::path(g_strOut) / strTarget;
    std::ofstream out(dir / strName, std::ios::binary | std::ios::trunc);
    out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_corpus: cannot write %s\n", (dir / strName).c_str());
        std::exit(1);
    }
    ++g_nWritten;
}

std::string ReadFile(const fs::path& path) {
    std::string strBytes;
    if (!vitalchart::test::ReadFileBytes(path.string(), strBytes)) {
        std::fprintf(stderr, "make_corpus: cannot read %s\n", path.c_str());
        std::exit(2);
    }
    return strBytes;
}

// A drawing input: header bytes, the template, the separator and the data.
std::string DrawInput(const std::string& strTemplate, const std::string& strData,
                      std::vector<std::uint8_t> header = {}) {
    header.resize(vitalchart::fuzz::kHeaderSize, 0);
    std::string s(header.begin(), header.end());
    s += strTemplate;
    if (!strData.empty()) {
        s += vitalchart::fuzz::kDataSeparator;
        s += strData;
    }
    return s;
}

// The drawing targets get the same template and data.
void WriteDrawing(const std::string& strName, const std::string& strTemplate, const std::string& strData,
                  const std::vector<std::uint8_t>& header = {}, bool bCairo = true) {
    Write("template_walk", strName, DrawInput(strTemplate, strData, header));
    if (bCairo) Write("cairo", strName, DrawInput(strTemplate, strData, header));
}

// Repeats the line until the text would pass nBytes.
std::string RepeatLine(const std::string& strLine, std::size_t nBytes) {
    std::string s;
    while (s.size() + strLine.size() <= nBytes) s += strLine;
    return s;
}

const char kPens[] =
    "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\"/>\n"
    "<vitalfont id=\"f\" font-name=\"Sans\" font-size=\"12\" text-color=\"0,0,255\"/>\n";
const char kGoodLine[] = "<vitalline left=\"1\" top=\"2\" right=\"3\" bottom=\"4\" pen-id=\"p\"/>\n";
const char kCurve[] =
    "<vitallineout name=\"T\" x=\"10\" y=\"100\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" symbol=\"1\" "
    "pen-id=\"p\"/>\n";
const char kTextRow[] = "<vitaltextout name=\"T\" x=\"10\" y=\"120\" cx=\"3\" cy=\"5\" font-id=\"f\"/>\n";
const char kGoodReading[] = "<d vitalsigns=\"T\" vitalsignsvalues=\"37.5\" cellindex=\"2\"/>\n";

// Lines cut inside a tag, a name or a quoted value at every offset.
void WriteCuts() {
    const std::string lines[] = {
        "<vitalpen id=\"p\" pen-width=\"1\" color=\"255,0,0\" props=\"a:1;b:2;\"/>",
        "<vitaltext text=\"37&5\" left=\"+1\" top=\"+2\" right=\"10\" bottom=\"5\" times=\"3\" step=\"1\" "
        "align=\"vertical\" font-id=\"f\"/>",
        "<d vitalsigns=\"T\" vitalsignsvalues=\"37.5\" cellindex=\"2\" vitalsignsoriginalvalues=\"38\" "
        "originalCellIndex=\"1\" specialSymbolFlag=\"1\"/>",
        "<vitalsize width=\"167\" height=\"213\" print-color=\"false\"/>",
    };
    std::string strAllCuts;
    int nLine = 0;
    for (const std::string& line : lines) {
        for (std::size_t n = 0; n <= line.size(); ++n) {
            std::string strCut = line.substr(0, n);
            std::string strName = "cut-" + std::to_string(nLine) + "-" + std::to_string(n);
            // Cut at the end of the text, with no line feed after it.
            Write("line_walk", strName, strCut);
            Write("data_reader", strName, std::string(1, '\0') + strCut);
            Write("size_query", strName, strCut);
            Write("template_walk", strName, DrawInput(std::string(kPens) + kCurve + strCut, kGoodReading + strCut));
            // Cut at a line's end, a good line after it that must still be read.
            strAllCuts += strCut + "\n" + kGoodLine;
        }
        ++nLine;
    }
    Write("line_walk", "cuts-all", strAllCuts);
    Write("size_query", "cuts-all", strAllCuts);
    std::string strReadings;
    for (std::size_t n = 0; n <= lines[2].size(); ++n) strReadings += lines[2].substr(0, n) + "\n" + kGoodReading;
    Write("data_reader", "cuts-all", std::string(1, '\0') + strReadings);
    WriteDrawing("cuts-all", std::string(kPens) + strAllCuts + kCurve + kTextRow, strReadings);
}

// Megabyte values, lines and runs of elements.
void WriteLarge() {
    const std::string strMegaValue(kMegabyte, 'x');
    const std::string strMegaDigits(kMegabyte, '9');

    // One megabyte-long caption, drawn once, vertically, and as a numbered row.
    WriteDrawing("mega-caption",
                 std::string(kPens) + "<vitaltext text=\"" + strMegaValue +
                     "\" left=\"1\" top=\"1\" right=\"50\" bottom=\"5\" font-id=\"f\"/>\n",
                 "");
    WriteDrawing("mega-caption-vertical",
                 std::string(kPens) + "<vitaltext text=\"" + strMegaValue +
                     "\" left=\"1\" top=\"1\" right=\"5\" bottom=\"5\" spans=\"0.1\" align=\"vertical\"/>\n",
                 "");
    WriteDrawing("long-caption-repeated",
                 std::string(kPens) + "<vitaltext text=\"" + std::string(100000, 'x') +
                     "\" left=\"1\" top=\"1\" right=\"5\" bottom=\"5\" spans=\"1\" times=\"10000\" step=\"1\"/>\n",
                 "");
    // A megabyte reading written into a cell, across and down.
    WriteDrawing("mega-reading", std::string(kPens) + kTextRow,
                 "<d vitalsigns=\"T\" vitalsignsvalues=\"" + strMegaValue + "\"/>\n");
    WriteDrawing("mega-reading-vertical",
                 std::string(kPens) +
                     "<vitaltextout name=\"T\" x=\"1\" y=\"1\" cx=\"3\" cy=\"5\" spans=\"0.1\" align=\"vertical\"/>\n",
                 "<d vitalsigns=\"T\" vitalsignsvalues=\"" + strMegaValue + "\"/>\n");
    // Megabyte numbers in every numeric place.
    WriteDrawing("mega-number",
                 "<vitalpen id=\"p\" pen-width=\"" + strMegaDigits.substr(0, 400000) + "\"/>\n<vitalline left=\"" +
                     strMegaDigits.substr(0, 400000) + "\" top=\"1\" right=\"2\" bottom=\"3\" times=\"" +
                     std::string(1000, '9') + "\"/>\n",
                 "<d vitalsigns=\"T\" vitalsignsvalues=\"" + std::string(100000, '9') + "\" cellindex=\"" +
                     std::string(100000, '9') + "\"/>\n" + kCurve);
    // A megabyte line without a line feed, and one without any tag.
    Write("line_walk", "mega-line", "<d vitalsigns=\"" + strMegaValue + "\"");
    Write("line_walk", "mega-plain", strMegaValue);
    Write("size_query", "mega-line", "<vitalpen id=\"" + strMegaValue);
    Write("size_query", "mega-then-size", strMegaValue + "\n<vitalsize width=\"1\" height=\"2\"/>");
    Write("data_reader", "mega-line", std::string(1, '\0') + "<d vitalsigns=\"" + strMegaValue + "\"");
    // A props list that never closes, and one of a million pairs.
    Write("line_walk", "mega-props", "<vitalpen props=\"" + RepeatLine("a:1;", kMegabyte));
    Write("line_walk", "mega-props-open", "<vitalpen props=\"" + RepeatLine("key ", kMegabyte));
    // A tag of a hundred thousand distinct attributes: every one is stored
    // in the tag's map.
    std::string strAttributes;
    for (int i = 0; strAttributes.size() < kMegabyte - 100; ++i) strAttributes += "k" + std::to_string(i) + "=\"\" ";
    Write("line_walk", "many-attributes", "<d " + strAttributes + "/>");
    Write("data_reader", "many-attributes", std::string(1, '\0') + "<d " + strAttributes + "vitalsigns=\"T\"/>");
    Write("size_query", "many-attributes", "<vitalsize " + strAttributes + "width=\"1\"/>");
    const std::string strHalf = strAttributes.substr(0, strAttributes.find(' ', kMegabyte / 2) + 1);
    WriteDrawing("many-attributes", "<vitalpen " + strHalf + "id=\"p\" pen-width=\"1\"/>\n" + kGoodLine,
                 "<d " + strHalf.substr(0, strHalf.find(' ', kMegabyte / 4) + 1) + "vitalsigns=\"T\"/>");
    // Carriage returns alone, a megabyte of them, and of NUL bytes.
    Write("line_walk", "mega-cr", RepeatLine("<d a=\"1\"/>\r", kMegabyte));
    Write("data_reader", "mega-cr",
          std::string(1, '\0') + RepeatLine(kGoodReading, kMegabyte / 2) + RepeatLine("<d a=\"1\"/>\r", kMegabyte / 2));
    Write("line_walk", "mega-nul", std::string(kMegabyte, '\0'));
    Write("data_reader", "mega-tags", std::string(1, '\0') + RepeatLine("<d>", kMegabyte));
    Write("data_reader", "mega-lines", std::string(1, '\0') + RepeatLine("<d\n", kMegabyte));
    Write("data_reader", "mega-feeds", std::string(1, '\0') + std::string(kMegabyte, '\n'));

    // Runs of elements that each do the most they may: 10,000-line grid
    // families, 10,000-caption rows, symbols with huge pens.
    WriteDrawing("grid-families",
                 std::string(kPens) +
                     RepeatLine("<vitalline left=\"1\" top=\"1\" right=\"0.1\" bottom=\"50\" times=\"2147483647\" "
                                "pen-id=\"p\"/>\n",
                                kMegabyte),
                 "");
    WriteDrawing("caption-rows",
                 std::string(kPens) +
                     RepeatLine("<vitaltext text=\"1\" left=\"1\" top=\"1\" right=\"3\" bottom=\"3\" spans=\"1\" "
                                "times=\"2147483647\" step=\"1\" font-id=\"f\"/>\n",
                                kMegabyte),
                 "");
    // The same with a pen as wide as the page, and captions in a huge font
    // of ever new characters: a picture surface pays for every pixel.
    WriteDrawing("wide-pen-grid",
                 "<vitalpen id=\"w\" pen-width=\"1000\" color=\"255,0,0\"/>\n" +
                     RepeatLine("<vitalline left=\"0\" top=\"0\" right=\"0.1\" bottom=\"300\" times=\"2147483647\" "
                                "pen-id=\"w\"/>\n",
                                kMegabyte),
                 "");
    std::string strHugeFont = "<vitalfont id=\"f\" font-name=\"Sans\" font-size=\"100000\"/>\n";
    for (unsigned nChar = 0x4E00; strHugeFont.size() < kMegabyte - 200; nChar += 16) {
        strHugeFont += "<vitaltext text=\"";
        for (unsigned k = 0; k < 16; ++k) {
            unsigned c = nChar + k;  // three bytes of UTF-8 each
            strHugeFont += static_cast<char>(0xE0 | (c >> 12));
            strHugeFont += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            strHugeFont += static_cast<char>(0x80 | (c & 0x3F));
        }
        strHugeFont += "\" left=\"1\" top=\"1\" right=\"100\" bottom=\"100\" font-id=\"f\"/>\n";
    }
    WriteDrawing("huge-font-many-glyphs", strHugeFont, "");
    // Many curves over many readings: every element visits every reading.
    WriteDrawing("curves-by-readings", std::string(kPens) + RepeatLine(kCurve, kMegabyte / 2),
                 RepeatLine(kGoodReading, kMegabyte / 2));
    WriteDrawing("text-rows-by-readings", std::string(kPens) + RepeatLine(kTextRow, kMegabyte / 2),
                 RepeatLine(kGoodReading, kMegabyte / 2));
    // Thousands of pens and fonts, each selected by a later element: id
    // searches and the surface's pool of previous objects grow together.
    std::string strPensAndLines;
    std::string strFontsAndTexts;
    int nDeclared = 0;
    for (; strFontsAndTexts.size() < kMegabyte / 2; ++nDeclared) {
        std::string strId = std::to_string(nDeclared);
        strPensAndLines += "<vitalpen id=\"" + strId + "\" pen-width=\"" + std::to_string(nDeclared % 50) +
                           "\" color=\"" + std::to_string(nDeclared % 256) + "," +
                           std::to_string(nDeclared / 256 % 256) + ",0\"/>\n";
        strFontsAndTexts += "<vitalfont id=\"" + strId + "\" font-name=\"F" + strId + "\" font-size=\"" +
                            std::to_string(nDeclared % 40 + 1) + "\" text-color=\"0,0," +
                            std::to_string(nDeclared % 256) + "\"/>\n";
    }
    // The last declared first: every search runs the whole list.
    for (int i = nDeclared - 1; strFontsAndTexts.size() < kMegabyte; i = i > 0 ? i - 1 : nDeclared - 1) {
        strPensAndLines +=
            "<vitalline left=\"1\" top=\"2\" right=\"3\" bottom=\"4\" pen-id=\"" + std::to_string(i) + "\"/>\n";
        strFontsAndTexts += "<vitaltext text=\"a\" left=\"1\" top=\"2\" right=\"3\" bottom=\"4\" font-id=\"" +
                            std::to_string(i) + "\"/>\n";
    }
    WriteDrawing("pens-selected", strPensAndLines, "");
    WriteDrawing("fonts-selected", strFontsAndTexts, "");
    // Markers at a scale where one millimetre is a million units, with a pen
    // that wide: huge ellipses and polygons.
    WriteDrawing("huge-markers",
                 std::string(kPens) + RepeatLine(std::string(kCurve) + "<vitallineout name=\"T\" x=\"10\" y=\"100\" "
                                                                       "cx=\"3\" cy=\"10\" scale=\"1\" "
                                                                       "base-value=\"35\" symbol=\"8\"/>\n",
                                                 kMegabyte / 2),
                 RepeatLine("<d vitalsigns=\"T\" vitalsignsvalues=\"37\" cellindex=\"1\" specialSymbolFlag=\"1\"/>\n",
                            kMegabyte / 2),
                 {0, 0, 0, 0, 0, 0, 2, 0, 15});
}

// The bundled chart in every header variant: screen and print, fill,
// GBK, the data length one short, and hostile rectangles and scale pairs.
void WriteExampleVariants(const std::string& strTemplate, const std::string& strData) {
    const std::vector<std::vector<std::uint8_t>> headers = {
        {0},
        {1},
        {2},
        {3},
        {4},
        {8},
        {0x10},
        {0, 12, 13, 12, 13},
        {0, 0, 0, 0, 0, 3, 3, 3, 3},
        {0, 0, 0, 0, 0, 4, 4, 11, 11},
        {1, 0, 0, 0, 0, 12, 12, 11, 11},
        {0, 0, 0, 0, 0, 1, 1, 7, 7},
        {0, 0, 0, 0, 0, 2, 2, 15, 15},
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2},
    };
    int n = 0;
    for (const auto& header : headers) {
        WriteDrawing("example-" + std::to_string(n++), strTemplate, strData, header);
    }
    Write("size_query", "example", strTemplate);
    Write("line_walk", "example-template", strTemplate);
    Write("line_walk", "example-data", strData);
    Write("data_reader", "example", std::string(1, '\0') + strData);
    Write("data_reader", "example-short", std::string(1, '\2') + strData);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUT_DIR EXAMPLES_DIR\n", argv[0]);
        return 2;
    }
    g_strOut = argv[1];
    for (const char* pszTarget : {"line_walk", "data_reader", "template_walk", "size_query", "cairo"}) {
        std::error_code ec;
        fs::create_directories(fs::path(g_strOut) / pszTarget, ec);
        if (ec) {
            std::fprintf(stderr, "make_corpus: cannot create %s/%s\n", g_strOut.c_str(), pszTarget);
            return 1;
        }
    }
    WriteCuts();
    WriteLarge();
    WriteExampleVariants(ReadFile(fs::path(argv[2]) / "vitalsign.xml"), ReadFile(fs::path(argv[2]) / "week.data"));
    std::printf("make_corpus: %d inputs in %s\n", g_nWritten, g_strOut.c_str());
    return 0;
}
