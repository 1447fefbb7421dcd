#pragma once
// Watches the Doc folder for changes made by anyone else (another PC on the
// share, Explorer) on a thread of its own, and tells the window with a
// posted message when the grid should be refreshed. The thread never touches
// the window beyond that message, nor the grid: the window looks at the
// result of the last look at Doc (LastProbe) when it takes the message.
//
// Change notifications on Doc (names, sizes, write times) go through a
// RefreshSchedule, so a burst becomes one message. The register folder is
// watched for folder names as well, so a Doc that is created, removed or
// renamed away is noticed and the watch on Doc is armed again on the path.
// Where no watch can be armed, the schedule lists Doc at intervals instead.
#include "core/grid/refresh_schedule.h"
#include "support/handles_win.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>

namespace ombriel {

using support::UniqueChangeNotification;

class DocWatcher {
  public:
    DocWatcher() = default;
    DocWatcher(const DocWatcher&) = delete;
    DocWatcher& operator=(const DocWatcher&) = delete;
    ~DocWatcher() { Stop(); }

    // Arms the watches, then starts the thread; message is posted to window
    // with no arguments. The watches are armed before Start returns, so a
    // reading of Doc made afterwards misses no change. False when the thread
    // cannot be started (the view then stays as the register's own commands
    // leave it).
    bool Start(HWND window, UINT message, const std::filesystem::path& doc,
               const std::filesystem::path& registerFolder);
    // Stops the thread and waits for it; nothing is posted afterwards.
    void Stop();

    // The window has taken the message: a new one may be posted.
    void Taken() { queued_ = false; }
    // Asks for a message soon, with a fresh look at Doc: a refresh that had
    // to wait is due now.
    void Poke();
    // The system's error number of the last look at Doc; 0 when it was
    // there and could be reached.
    uint32_t LastProbe() const { return probe_; }
    // The window begins a reading of Doc now: the changes seen so far need
    // no refresh of their own.
    void ReadingStarts();
    // How long the window's last refresh took, so costly ones are spaced out.
    void SetRefreshCost(std::chrono::milliseconds cost) { costMs_ = cost.count(); }

  private:
    void Run();
    void Arm();
    uint32_t Probe() const;
    // Looks at Doc and posts; a re-listing that finds Doc still missing or
    // out of reach, as the last look did, posts nothing: there is nothing
    // new for the window to read, nor to tell.
    void Post(bool relisting);

    std::thread thread_;
    support::UniqueHandle stop_; // manual-reset event: the thread ends
    support::UniqueHandle poke_; // auto-reset event: a message is wanted now
    // Used by the thread alone once it runs.
    UniqueChangeNotification docWatch_;
    UniqueChangeNotification folderWatch_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::filesystem::path doc_;
    std::filesystem::path folder_;
    std::atomic<bool> queued_{false};
    std::atomic<uint32_t> probe_{0};
    uint32_t lastPosted_ = 0; // the look at Doc of the last message (thread only)
    std::atomic<int64_t> costMs_{0};
    std::atomic<RefreshSchedule::Clock::rep> readFrom_{0}; // ticks of the schedule's clock
};

} // namespace ombriel
