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
#include <memory>
#include <thread>

namespace ombriel {

using support::UniqueChangeNotification;

class DocWatcher {
  public:
    // Looks at Doc: the system's error number, 0 when it is there.
    using ProbeFunction = uint32_t (*)(const std::filesystem::path& doc);

    DocWatcher() = default;
    // probe: a stand-in for the look at Doc, for tests.
    explicit DocWatcher(ProbeFunction probe) : probe_(probe) {}
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
    // Stops the thread; nothing is posted afterwards. Waits for it a moment
    // only: a thread held in a look at a share that dropped (the system's
    // whole network time-out) is let go to end by itself, so closing the
    // window never waits for the network.
    void Stop();

    // The window has taken the message: a new one may be posted.
    void Taken();
    // Asks for a message soon, with a fresh look at Doc: a refresh that had
    // to wait is due now.
    void Poke();
    // The system's error number of the last look at Doc; 0 when it was
    // there and could be reached.
    uint32_t LastProbe() const;
    // The window begins a reading of Doc now: the changes seen so far need
    // no refresh of their own.
    void ReadingStarts();
    // That reading has ended.
    void ReadingEnds();
    // How long the window's last refresh took, so costly ones are spaced out.
    void SetRefreshCost(std::chrono::milliseconds cost);

  private:
    // What the thread works with; the thread holds it as long as it runs,
    // which may be longer than the watcher lives.
    struct State;
    ProbeFunction probe_ = nullptr;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace ombriel
