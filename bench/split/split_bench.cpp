// Times one split of the core engine, as the dialog would start it, and
// reports throughput and peak memory on one line:
//   split_bench <source> <target folder> pieces|size <value> <crc 0|1>
// ("size" takes the value in MBs).
#include "core/crc32.h"
#include "core/message_ids.h"
#include "core/split_engine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace {
struct QuietUi : OperationUi {
    OperationInputs inputs;
    int lastMessage = 0;
    OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return false; }
    void SetBusy(bool) override {}
    void ShowMessage(int id) override { lastMessage = id; }
    bool Confirm(const std::string&) override { return true; }
    void SetProgressRange(uint64_t, uint64_t) override {}
    void SetProgressPos(uint64_t) override {}
    void MoveFocus(FocusTarget) override {}
};

double PeakMegabytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#endif
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: split_bench <source> <target> pieces|size <value> <crc 0|1>\n");
        return 2;
    }
    Crc32InitTable();
    QuietUi ui;
    const std::string method = argv[3];
    ui.inputs.source = argv[1];
    ui.inputs.target = argv[2];
    ui.inputs.splitMode = method == "size" ? BySize : ByPieces;
    ui.inputs.unit = SizeUnit::MBs;
    ui.inputs.value = argv[4];
    ui.inputs.crcCheck = std::string(argv[5]) == "1";

    const auto size = std::filesystem::file_size(ui.inputs.source);
    const auto start = std::chrono::steady_clock::now();
    SplitFile(ui);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (ui.lastMessage != MsgSplitSucceeded) {
        std::fprintf(stderr, "split ended with message %d\n", ui.lastMessage);
        return 1;
    }
    std::printf("%.3f s  %.2f GB/s  peak %.1f MB  (%llu pieces)\n", seconds,
                static_cast<double>(size) / seconds / 1e9, PeakMegabytes(),
                static_cast<unsigned long long>(PiecesWritten));
    return 0;
}
