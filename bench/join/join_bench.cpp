// Times the join engine over a prepared piece set, the way the dialog runs
// it (confirmation answered Yes, verification when the set has a .CRC), and
// reports GB/s (10^9 bytes per second) and the peak memory of the process.
//   join_bench <first piece> <target folder> [rounds]
// Prints one line: "join <seconds best> <GB/s> <message id> <peak MiB>
// <peak private MiB, -1 where unknown> <processor seconds of that round>".
#include "../headless_ui.h"
#include "core/join/join_engine.h"
#include "support/text.h"

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

using namespace zelbrin;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: join_bench <first piece> <target folder> [rounds]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    bench::HeadlessUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = support::PathFromUtf8(argv[1]);
    ui.inputs.target = support::PathFromUtf8(argv[2]);
    double best = 1e30;
    double bestCpu = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const double cpu0 = bench::CpuSeconds();
        JoinFiles(ui);
        const double cpu = bench::CpuSeconds() - cpu0;
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (s < best) {
            best = s;
            bestCpu = cpu;
        }
    }
    std::printf("join %.3f %.2f %d %.1f %.1f %.3f\n", best, ui.bytes / best / 1e9, ui.lastMessage,
                bench::PeakMiB(), bench::PeakPrivateMiB(), bestCpu);
    return ui.lastMessage == 24 || ui.lastMessage == 23 ? 0 : 1;
}
