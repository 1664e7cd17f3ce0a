// Runs a fuzz target over saved inputs without libFuzzer, so that a corpus
// can be replayed by any compiler's build: every file named on the command
// line, and every file inside a folder named there, in name order.
//
//   fuzz_<target> [-max_seconds=N] FILE_OR_FOLDER...
//
// Exits 0 when every input ran, 2 when an input cannot be read or a folder
// is empty; an input that breaks a property aborts inside the target. With
// -max_seconds, an input that takes longer fails the replay (exit 1).

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/file_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize);
// Optional, as with libFuzzer: one-time set-up before the first input.
extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv) __attribute__((weak));

namespace {}  // namespace

int main(int argc, char** argv) {
    double dMaxSeconds = 0.0;
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string strArg = argv[i];
        const std::string kMax = "-max_seconds=";
        if (strArg.compare(0, kMax.size(), kMax) == 0) {
            dMaxSeconds = std::atof(strArg.c_str() + kMax.size());
            continue;
        }
        std::error_code ec;
        if (std::filesystem::is_directory(strArg, ec)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(strArg, ec)) {
                if (entry.is_regular_file(ec)) files.push_back(entry.path());
            }
            if (files.empty()) {
                std::fprintf(stderr, "replay: %s holds no inputs\n", strArg.c_str());
                return 2;
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else {
            inputs.emplace_back(strArg);
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s [-max_seconds=N] FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }

    if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
    double dSlowest = 0.0;
    std::string strSlowest;
    std::string strBytes;
    for (const auto& path : inputs) {
        if (!vitalchart::test::ReadFileBytes(path.string(), strBytes)) {
            std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
            return 2;
        }
        auto start = std::chrono::steady_clock::now();
        // The input in storage of its own size, as libFuzzer hands it over.
        static std::uint8_t s_empty = 0;
        std::vector<std::uint8_t> exact(strBytes.begin(), strBytes.end());
        LLVMFuzzerTestOneInput(exact.empty() ? &s_empty : exact.data(), exact.size());
        double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (dSeconds > dSlowest) {
            dSlowest = dSeconds;
            strSlowest = path.string();
        }
        if (dMaxSeconds > 0.0 && dSeconds > dMaxSeconds) {
            std::fprintf(stderr, "replay: %s took %.2f s, more than %.2f s\n", path.c_str(), dSeconds, dMaxSeconds);
            return 1;
        }
    }
    std::printf("replayed %zu inputs; slowest %.3f s (%s)\n", inputs.size(), dSlowest, strSlowest.c_str());
    return 0;
}
