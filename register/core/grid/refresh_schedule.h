#pragma once
// When the grid is refreshed after changes in Doc that someone else made.
// The folder's change notifications come in bursts (a record replaced
// through its temporary file is three or four of them, a copy of many files
// hundreds): each burst becomes one refresh once the folder has been quiet
// for a moment, or after a short bound even if it never goes quiet. Where
// notifications are not to be had (some network shares, a Doc that does not
// exist yet) the folder is listed again at intervals instead, and, as a
// safety net against a server that accepts a watch but never reports,
// now and then even where they are. A refresh that costs much (a large
// register on a slow share) spaces the refreshes out, so the window is never
// kept busy by them, and the re-listings that find nothing most of the time
// further still.
#include <chrono>

namespace ombriel {

class RefreshSchedule {
  public:
    using Clock = std::chrono::steady_clock;
    using Ms = std::chrono::milliseconds;

    struct Timing {
        Ms quiet{150};          // the folder quiet this long ends a burst
        Ms longestBurst{500};   // a burst that never ends is refreshed after this
        Ms pollWatched{10000};  // re-listing while notifications work
        Ms pollUnwatched{1000}; // re-listing while they do not
        // Refreshes start at least this share of their cost apart: the window
        // keeps a third of its time under a stream of changes, and a change
        // just after a refresh of a large register (1 s here) waits little.
        int costPercent = 150;
        int pollCostFactor = 10; // re-listings with no change seen: further apart still
    };

    RefreshSchedule(Timing timing, Clock::time_point now) : timing_(timing), lastAsked_(now) {}

    // A change notification arrived.
    void Changed(Clock::time_point now);
    // Whether change notifications are armed on Doc.
    void SetWatching(bool watching) { watching_ = watching; }
    bool Watching() const { return watching_; }
    // How long the last refresh took the window.
    void SetRefreshCost(Ms cost) { cost_ = cost; }

    // Whether a change has been seen since the last refresh was asked for;
    // a refresh due without one is a re-listing.
    bool Pending() const { return pending_; }
    // Whether a refresh should be asked for now.
    bool Due(Clock::time_point now) const;
    // A refresh has been asked for: the changes so far are in it.
    void Asked(Clock::time_point now);
    // The window began a reading of Doc at `start` (a command's reload, or
    // a refresh): every change seen before then is in it.
    void ReadFrom(Clock::time_point start);
    // The window's last reading, begun at ReadFrom's start, ended at `end`.
    // A re-listing is never due while a reading runs (a first start of a
    // large register reads for longer than the interval), and the next one
    // counts from the reading's end. The spacing of refreshes for changes
    // still counts from their start.
    void ReadUntil(Clock::time_point end);
    // How long to wait for the next notification before Due may hold.
    Ms WaitFor(Clock::time_point now) const;

  private:
    Clock::time_point NextDue(Clock::time_point now) const;
    Ms Poll() const;

    Timing timing_;
    bool watching_ = false;
    Ms cost_{0};
    bool pending_ = false;
    Clock::time_point firstChange_{};
    Clock::time_point lastChange_{};
    Clock::time_point lastAsked_;
    Clock::time_point readStart_{};
    Clock::time_point readEnd_{};
};

} // namespace ombriel
