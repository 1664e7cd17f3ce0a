// Prints one line per saved fuzz input: a hash of the trace that the input
// draws on the recording surface, then the input's folder and name. The
// list, kept in the repository, shows that a change of the code left what
// every stored input draws as it was.
//
//   fuzz_trace_hashes EXAMPLES_FOLDER FOLDER...
//
// How an input is drawn follows the folder's name: a data_reader input is
// the data text of the bundled template; a line_walk or size_query input is a
// template drawn with the bundled week's readings; any other input is a whole
// drawing call (draw_case.h).

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/draw_case.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/file_text.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/recording_dc.h"

using namespace vitalchart;

namespace {

constexpr const char* kTemplateName = "chart.xml";

// 64-bit FNV-1a: enough to tell traces apart, and the same on every machine.
std::uint64_t HashBytes(const std::string& strBytes) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (unsigned char c : strBytes) {
        h ^= c;
        h *= 0x100000001b3ULL;
    }
    return h;
}

std::string ReadAll(const std::filesystem::path& path, bool& rOk) {
    std::string strBytes;
    rOk = test::ReadFileBytes(path.string(), strBytes) && rOk;
    return strBytes;
}

std::string TraceOf(const fuzz::DrawCase& c) {
    // A fixed relative name in the scratch folder, since a message on the
    // page may quote the template's path.
    {
        std::ofstream out(kTemplateName, std::ios::binary | std::ios::trunc);
        out << c.strTemplate;
        fuzz::Require(static_cast<bool>(out), "cannot write the scratch template");
    }
    CRecordingDC dc(c.nCodePage, c.bPrinting);
    fuzz::DrawCaseOn(c, dc, kTemplateName);
    return dc.GetTrace();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EXAMPLES_FOLDER FOLDER...\n", argv[0]);
        return 2;
    }
    bool bOk = true;
    const std::filesystem::path examples = std::filesystem::absolute(argv[1]);
    const std::string strExampleTemplate = ReadAll(examples / "vitalsign.xml", bOk);
    const std::string strExampleData = ReadAll(examples / "week.data", bOk);
    if (!bOk) {
        std::fprintf(stderr, "cannot read the bundled example in %s\n", argv[1]);
        return 2;
    }
    std::vector<std::filesystem::path> folders;
    for (int i = 2; i < argc; ++i) folders.push_back(std::filesystem::absolute(argv[i]));
    char szScratch[] = "/tmp/vitalchart-hashes-XXXXXX";
    if (::mkdtemp(szScratch) == nullptr) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        return 2;
    }
    std::filesystem::current_path(szScratch);
    struct Cleanup {
        std::string strDir;
        ~Cleanup() {
            std::error_code ec;
            std::filesystem::remove_all(strDir, ec);
        }
    } cleanup{szScratch};
    for (const std::filesystem::path& folder : folders) {
        // (A shell's FOLDER/* may name a file beside the folders: not an input folder.)
        if (!std::filesystem::is_directory(folder)) continue;
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            if (entry.is_regular_file(ec) && entry.path().filename() != "stamp") files.push_back(entry.path());
        }
        if (ec || files.empty()) {
            std::fprintf(stderr, "%s: no inputs\n", folder.c_str());
            return 2;
        }
        std::sort(files.begin(), files.end());
        for (const auto& path : files) {
            const std::string strInput = ReadAll(path, bOk);
            if (!bOk) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                return 2;
            }
            const std::string strKind = folder.filename().string();
            fuzz::DrawCase c;
            if (strKind == "data_reader") {
                c.strTemplate = strExampleTemplate;
                c.strData = strInput;
            } else if (strKind == "line_walk" || strKind == "size_query") {
                c.strTemplate = strInput;
                c.strData = strExampleData;
            } else {
                c = fuzz::DecodeDrawCase(reinterpret_cast<const std::uint8_t*>(strInput.data()), strInput.size());
            }
            const std::string strName =
                (folder.parent_path().filename() / folder.filename() / path.filename()).string();
            std::printf("%016llx  %s\n", static_cast<unsigned long long>(HashBytes(TraceOf(c))), strName.c_str());
        }
    }
    return 0;
}
