// Ombriel.exe started as a user starts it, on registers of growing size: the
// time from the process start until its window shows the filled grid, and the
// program's peak memory. Run under Wine beside ombriel_reload_bench's bare
// loop, in the same script.
//   ombriel_fill_bench <Ombriel.exe> <empty register> <register>...
#include "listview_driver.h"
#include "ui_driver.h"

#include <psapi.h>

#include <chrono>
#include <cstdio>

namespace {

struct Run {
    double ms = -1;
    int rows = -1;
    SIZE_T peakWorkingSet = 0;
    SIZE_T peakPrivate = 0;
};

Run StartAndWaitForGrid(const std::filesystem::path& exe, const std::filesystem::path& folder) {
    Run run;
    auto t0 = std::chrono::steady_clock::now();
    ui::Process p = ui::Process::Start(exe, L"", folder);
    HWND form = ui::WaitForWindow(p.Id(), L"OmbrielForm1", {}, 600000);
    if (!form) {
        return run;
    }
    HWND grid = ui::Child(form, 1000);
    // The window is shown only when start-up, and so the grid's fill, is done.
    run.rows = ui::ListViewItemCount(grid);
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                 .count();
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(p.Handle(), &pmc, sizeof pmc)) {
        run.peakWorkingSet = pmc.PeakWorkingSetSize;
        run.peakPrivate = pmc.PeakPagefileUsage;
    }
    PostMessageW(form, WM_CLOSE, 0, 0);
    p.WaitExit(10000);
    return run;
}

Run Best(const std::filesystem::path& exe, const std::filesystem::path& folder, int rounds) {
    Run best;
    for (int i = 0; i < rounds; ++i) {
        Run r = StartAndWaitForGrid(exe, folder);
        if (best.ms < 0 || (r.ms >= 0 && r.ms < best.ms)) {
            best = r;
        }
    }
    return best;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ombriel_fill_bench <Ombriel.exe> <empty register> <register>...\n");
        return 2;
    }
    std::filesystem::path exe = std::filesystem::absolute(argv[1]);
    Run empty = Best(exe, std::filesystem::absolute(argv[2]), 3);
    std::printf("%-20s %9s %10s %14s %14s %14s\n", "register", "rows", "start ms",
                "fill ms (net)", "peak WS MiB", "peak priv MiB");
    std::printf("%-20s %9d %10.1f %14s %14.1f %14.1f\n", "(empty)", empty.rows, empty.ms, "-",
                empty.peakWorkingSet / 1048576.0, empty.peakPrivate / 1048576.0);
    for (int i = 3; i < argc; ++i) {
        std::filesystem::path folder = std::filesystem::absolute(argv[i]);
        Run r = Best(exe, folder, 2);
        std::printf("%-20s %9d %10.1f %14.1f %14.1f %14.1f\n",
                    folder.filename().string().c_str(), r.rows, r.ms, r.ms - empty.ms,
                    r.peakWorkingSet / 1048576.0, r.peakPrivate / 1048576.0);
        std::fflush(stdout);
    }
    return 0;
}
