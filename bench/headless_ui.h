#pragma once
// What the split and join benchmarks share: a dialog that answers Yes and
// shows nothing, and the process's peak memory.
#include "core/operation_ui.h"

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <string>

namespace bench {

class HeadlessUi : public zelbrin::OperationUi {
  public:
    zelbrin::OperationInputs inputs;
    int lastMessage = 0;
    uint64_t bytes = 0; // the size a join's question names

    zelbrin::OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return false; }
    std::string Text(int) override { return {}; }
    void SetBusy(bool) override {}
    void ShowMessage(int id) override { lastMessage = id; }
    void ShowFailure(int id, const std::filesystem::path&, int) override { lastMessage = id; }
    bool Confirm(const std::string& text) override {
        const auto at = text.find("of size ");
        bytes = at == std::string::npos ? 0 : std::strtoull(text.c_str() + at + 8, nullptr, 10);
        return true;
    }
    void SetProgressRange(uint64_t, uint64_t) override {}
    void SetProgressPos(uint64_t) override {}
    void MoveFocus(zelbrin::FocusTarget) override {}
    bool StopRequested() override { return false; }
};

// The most memory the process has had in sight (its working set or resident
// set), the pages of the files it maps included.
inline double PeakMiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#endif
}

// The most memory the process has had for itself alone (Windows' commit
// charge), without the cache pages of a mapped file, which the system can
// take back at any time; -1 where the system keeps no such peak.
inline double PeakPrivateMiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.PeakPagefileUsage) / 1048576.0;
#else
    return -1;
#endif
}

// The processor time the process has used so far, in the system and in its
// own code: unlike the time on the clock it hardly moves when other programs
// share the processors.
inline double CpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#endif
}

} // namespace bench
