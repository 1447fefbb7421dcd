// Replays the checked-in inputs of every harness of one program: each file of
// corpus/<harness>/ and regressions/<harness>/ (below the folder given, or the
// working directory) goes to the harness once. A wrong result stops the run
// with the check that failed; a harness without any input fails the replay,
// so a misnamed folder cannot pass unnoticed.
#include "replay.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::vector<fs::path> InputsIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file() && entry.path().filename() != "README")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
} // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::current_path();
    int failed = 0;
    for (size_t h = 0; h < kFuzzHarnessCount; ++h) {
        const FuzzHarness& harness = kFuzzHarnesses[h];
        size_t count = 0;
        for (const char* set : {"corpus", "regressions"}) {
            for (const fs::path& file : InputsIn(root / set / harness.name)) {
                const std::string bytes = ReadAll(file);
                harness.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
                ++count;
            }
        }
        std::printf("%s: %zu inputs replayed\n", harness.name, count);
        if (count == 0) {
            std::printf("%s: no inputs found below %s\n", harness.name, root.string().c_str());
            failed = 1;
        }
    }
    return failed;
}
