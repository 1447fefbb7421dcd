// Ombriel.exe started as a user starts it, on registers of growing size: the
// time from the process start until its window shows the filled grid, and the
// program's peak memory, at a first start (no cache of the register's
// records) and at a second one (the first one's cache). Run under Wine beside
// ombriel_reload_bench's bare loop, in the same script.
//   ombriel_fill_bench <Ombriel.exe> <ombriel_reload_bench.exe> <empty register> <register>...
#include "listview_driver.h"
#include "register_rounds.h"
#include "ui_driver.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

#include <chrono>
#include <cstdio>
#include <cstdlib>

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
    // The program waits for input only once start-up, and so the grid's fill,
    // is done. Waiting on that, rather than polling its windows, keeps the
    // measurement from loading the Wine server the program itself needs.
    WaitForInputIdle(p.Handle(), 600000);
    run.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    HWND form = ui::WaitForWindow(p.Id(), L"OmbrielForm1", {}, 10000);
    if (!form) {
        return run;
    }
    run.rows = ui::ListViewItemCount(ui::Child(form, 1000));
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(p.Handle(), &pmc, sizeof pmc)) {
        run.peakWorkingSet = pmc.PeakWorkingSetSize;
        // Wine reports the private bytes of the moment as their peak, so
        // under Wine this is what the filled grid holds; the working set's
        // peak is a true one.
        run.peakPrivate = pmc.PeakPagefileUsage;
    }
    PostMessageW(form, WM_CLOSE, 0, 0);
    p.WaitExit(10000);
    return run;
}

// The bare loop in a fresh process of its own: it pays the same process start
// and cold caches as the program does.
double BareProcessMs(const std::filesystem::path& benchExe, const std::filesystem::path& folder) {
    auto t0 = std::chrono::steady_clock::now();
    ui::Process p = ui::Process::Start(benchExe, L"--bare \"" + folder.wstring() + L"\"", folder);
    p.WaitExit(600000);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The user's cache of parsed records: removed, the next start is a first one.
void ForgetCaches() {
    wchar_t local[32768];
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", local, 32768);
    if (n > 0 && n < 32768) {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(local) / L"Ombriel" / L"Cache", ignored);
    }
}

// Another PC's add and delete on an open register (a second start): the time
// from the record file's appearance, then its removal, until the grid's row
// count shows it. The record is a copy of one already there, under a new name.
struct LiveDelays {
    double addMs = -1;
    double deleteMs = -1;
};

LiveDelays OtherPcChangeOnScreen(const std::filesystem::path& exe,
                                 const std::filesystem::path& folder) {
    LiveDelays delays;
    const std::filesystem::path doc = folder / L"Doc";
    std::filesystem::path model;
    for (const auto& entry : std::filesystem::directory_iterator(doc)) {
        if (entry.path().extension() == L".dat") {
            model = entry.path();
            break;
        }
    }
    if (model.empty())
        return delays;
    ui::Process p = ui::Process::Start(exe, L"", folder);
    WaitForInputIdle(p.Handle(), 600000);
    HWND form = ui::WaitForWindow(p.Id(), L"OmbrielForm1", {}, 10000);
    if (!form)
        return delays;
    HWND list = ui::Child(form, 1000);
    const int rows = ui::ListViewItemCount(list);
    const std::filesystem::path added = doc / L"Altro PC.pdf.dat";
    auto until = [&](int count) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!ui::WaitUntil([&] { return ui::ListViewItemCount(list) == count; }, 30000, 5))
            return -1.0;
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
            .count();
    };
    // Written beside, then renamed into place, as a writer on another PC does.
    const std::filesystem::path beside = doc / L"Altro PC.pdf.dat.tmp~";
    std::filesystem::copy_file(model, beside, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::rename(beside, added);
    delays.addMs = until(rows + 1);
    std::filesystem::remove(added);
    delays.deleteMs = until(rows);
    PostMessageW(form, WM_CLOSE, 0, 0);
    p.WaitExit(10000);
    return delays;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: ombriel_fill_bench <Ombriel.exe> <ombriel_reload_bench.exe> "
                             "<empty register> <register>...\n");
        return 2;
    }
    std::filesystem::path exe = std::filesystem::absolute(argv[1]);
    std::filesystem::path benchExe = std::filesystem::absolute(argv[2]);
    // Each time is the median of its rounds less the same process's start on
    // an empty register; each peak is the median of its rounds.
    auto median = [](std::vector<Run> runs) {
        std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
        return runs[runs.size() / 2];
    };
    auto starts = [&](const std::filesystem::path& folder, bool first, int rounds) {
        std::vector<Run> runs;
        for (int i = 0; i < rounds; ++i) {
            if (first)
                ForgetCaches();
            runs.push_back(StartAndWaitForGrid(exe, folder));
        }
        return median(runs);
    };
    const Run empty = starts(std::filesystem::absolute(argv[3]), true, 3);
    const double emptyBare = BareProcessMs(benchExe, std::filesystem::absolute(argv[3]));
    std::printf("%-12s %8s %-7s %11s %9s %9s %9s %6s %11s %11s\n", "register", "rows", "start",
                "program ms", "bare ms", "fill net", "bare net", "ratio", "peak WS MiB",
                "priv MiB");
    std::printf("%-12s %8d %-7s %11.1f %9.1f %9s %9s %6s %11.1f %11.1f\n", "(empty)", empty.rows,
                "-", empty.ms, emptyBare, "-", "-", "-", empty.peakWorkingSet / 1048576.0,
                empty.peakPrivate / 1048576.0);
    // Rounds per figure.
    const int rounds = bench::RoundsWanted();
    for (int i = 4; i < argc; ++i) {
        std::filesystem::path folder = std::filesystem::absolute(argv[i]);
        // The bare loop and the first start alternate, each pair in turns
        // one way round and the other, so a busy moment of the machine
        // falls on both alike; each pair gives its own ratio too.
        std::vector<double> bares;
        std::vector<Run> firsts;
        std::vector<double> pairRatios;
        for (int round = 0; round < rounds; ++round) {
            double bare = 0;
            Run first;
            if (round % 2 == 0)
                bare = BareProcessMs(benchExe, folder);
            ForgetCaches();
            first = StartAndWaitForGrid(exe, folder);
            if (round % 2 != 0)
                bare = BareProcessMs(benchExe, folder);
            bares.push_back(bare);
            firsts.push_back(first);
            pairRatios.push_back((first.ms - empty.ms) / (bare - emptyBare));
        }
        // The last first start's cache serves the second starts.
        std::vector<Run> seconds;
        for (int round = 0; round < rounds; ++round)
            seconds.push_back(StartAndWaitForGrid(exe, folder));
        const double bareNet = bench::Median(bares) - emptyBare;
        auto peaks = [](const std::vector<Run>& runs) {
            std::vector<SIZE_T> ws, priv;
            for (const Run& r : runs) {
                ws.push_back(r.peakWorkingSet);
                priv.push_back(r.peakPrivate);
            }
            return std::pair{bench::Median(ws), bench::Median(priv)};
        };
        for (const auto& [what, runs] :
             {std::pair<const char*, const std::vector<Run>&>{"first", firsts},
              std::pair<const char*, const std::vector<Run>&>{"second", seconds}}) {
            const Run r = median(runs);
            const double fill = r.ms - empty.ms;
            const auto [ws, priv] = peaks(runs);
            std::printf("%-12s %8d %-7s %11.1f %9.1f %9.1f %9.1f %6.2f %11.1f %11.1f\n",
                        folder.filename().string().c_str(), r.rows, what, r.ms,
                        bench::Median(bares), fill, bareNet, fill / bareNet, ws / 1048576.0,
                        priv / 1048576.0);
        }
        const LiveDelays live = OtherPcChangeOnScreen(exe, folder);
        std::printf("%-12s another PC's add on screen in %.0f ms, its delete in %.0f ms\n",
                    folder.filename().string().c_str(), live.addMs, live.deleteMs);
        std::printf("%-12s first/bare of each pair:", folder.filename().string().c_str());
        for (double ratio : pairRatios)
            std::printf(" %.2f", ratio);
        std::printf(" (median %.2f)\n", bench::Median(pairRatios));
        std::fflush(stdout);
    }
    return 0;
}
