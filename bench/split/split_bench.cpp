// Times one split of the core engine, as the dialog would start it, and
// reports throughput, peak memory and the processor time it took on one line:
//   split_bench <source> <target folder> pieces|size <value> <crc 0|1>
// ("size" takes the value in MBs).
#include "../headless_ui.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace zelbrin;

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: split_bench <source> <target> pieces|size <value> <crc 0|1>\n");
        return 2;
    }
    bench::HeadlessUi ui;
    const std::string method = argv[3];
    ui.inputs.source = argv[1];
    ui.inputs.target = argv[2];
    ui.inputs.splitMode = method == "size" ? BySize : ByPieces;
    ui.inputs.unit = SizeUnit::MBs;
    ui.inputs.value = argv[4];
    ui.inputs.crcCheck = std::string(argv[5]) == "1";

    const auto size = std::filesystem::file_size(ui.inputs.source);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = bench::CpuSeconds();
    const SplitResult result = SplitFile(ui);
    const double cpu = bench::CpuSeconds() - cpuStart;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (ui.lastMessage != IDS_SPLIT_SUCCEEDED) {
        std::fprintf(stderr, "split ended with message %d\n", ui.lastMessage);
        return 1;
    }
    std::printf("%.3f s  %.2f GB/s  peak %.1f MB  (%llu pieces)  cpu %.3f s\n", seconds,
                static_cast<double>(size) / seconds / 1e9, bench::PeakMiB(),
                static_cast<unsigned long long>(result.piecesWritten), cpu);
    return 0;
}
