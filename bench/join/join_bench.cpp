// Times the join engine over a prepared piece set, the way the dialog runs
// it (confirmation answered Yes, verification when the set has a .CRC), and
// reports GB/s (10^9 bytes per second) and the peak memory of the process.
//   join_bench <first piece> <target folder> [rounds]
// Prints one line: "join <seconds best> <GB/s> <message id> <peak MiB>".
#include "core/crc32.h"
#include "core/file_io.h"
#include "core/join_engine.h"

#ifdef _WIN32
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
class HeadlessUi : public OperationUi {
public:
    OperationInputs inputs;
    int lastMessage = 0;
    uint64_t bytes = 0;

    OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return false; }
    void SetBusy(bool) override {}
    void ShowMessage(int id) override { lastMessage = id; }
    bool Confirm(const std::string& text) override {
        const auto at = text.find("of size ");
        bytes = at == std::string::npos ? 0 : std::strtoull(text.c_str() + at + 8, nullptr, 10);
        return true;
    }
    void SetProgressRange(uint64_t, uint64_t) override {}
    void SetProgressPos(uint64_t) override {}
    void MoveFocus(FocusTarget) override {}
};

double PeakMiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize / 1048576.0;
#else
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024.0;
#endif
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: join_bench <first piece> <target folder> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    Crc32InitTable();
    HeadlessUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = PathFromUtf8(argv[1]);
    ui.inputs.target = PathFromUtf8(argv[2]);
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        JoinFiles(ui);
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (s < best)
            best = s;
    }
    std::printf("join %.3f %.2f %d %.1f\n", best, ui.bytes / best / 1e9, ui.lastMessage,
                PeakMiB());
    return ui.lastMessage == 24 || ui.lastMessage == 23 ? 0 : 1;
}
